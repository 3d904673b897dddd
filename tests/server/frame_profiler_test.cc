// What the frame writes to the profiler: entry pairs by parameter type.
#include <gtest/gtest.h>

#include <sstream>

#include "test_business.h"

namespace qx {
namespace {

using FrameProfiler = FrameTest;

// The entry lines ("ENTROU") of a frame.
std::vector<std::string> Entradas(const std::string& log, const std::string& frame) {
  std::vector<std::string> linhas;
  std::istringstream in(log);
  for (std::string linha; std::getline(in, linha);) {
    if (linha.find("\t" + frame + "\t") != std::string::npos &&
        linha.find("\tENTROU\t") != std::string::npos) {
      linhas.push_back(linha);
    }
  }
  return linhas;
}

TEST_F(FrameProfiler, EntryRecordsCarryTheLoggedPairs) {
  company_.WriteLogIni("Entrada=1\r\n");
  Lancamento objeto = Inicializado();
  objeto->GravaConferido(123, 45, 'S');
  RegDados dados{};
  int32_t indlan = 77;
  objeto->GravaDados(&dados, &indlan);
  objeto->GravaDados(&dados, nullptr);
  objeto->SetValor(CURRENCY{-1234567});
  objeto->Inicializa_Padrao(RegistroInicializacao());

  const std::string log = TestCompany::ReadAll(ProfilerLog());
  auto conferido = Entradas(log, "CQXCN_Lancamento::GravaConferido");
  ASSERT_EQ(conferido.size(), 1u) << log;
  EXPECT_NE(conferido[0].find("\tMesAno = 123\tIndLan = 45\tcConferido = S\t"), std::string::npos)
      << conferido[0];

  auto gravaDados = Entradas(log, "CQXCN_Lancamento::GravaDados");
  ASSERT_EQ(gravaDados.size(), 2u);
  EXPECT_NE(gravaDados[0].find("\t*IndLan = 77\t"), std::string::npos) << gravaDados[0];
  EXPECT_EQ(gravaDados[1].find("IndLan"), std::string::npos) << "nothing to show for null";

  auto setValor = Entradas(log, "CQXCN_Lancamento::SetValor");
  ASSERT_EQ(setValor.size(), 1u);
  EXPECT_NE(setValor[0].find("\tValor = -1234567\t"), std::string::npos);

  const std::string frame = "T_QXUnknown<struct IQXCN_Lancamento,class CLancamentoBase>::";
  EXPECT_EQ(Entradas(log, frame + "Inicializa_Padrao").size(), 2u);
  EXPECT_EQ(Entradas(log, frame + "T_QXUnknown").size(), 1u);
}

}  // namespace
}  // namespace qx
