// An entry saved through the interface, read back whole and removed: the
// results a client sees, and no error line for the expected messages.
#include <gtest/gtest.h>

#include <string>

#include "platform/bstr.h"
#include "service_fixture.h"
#include "values/qx_data.h"
#include "values/qx_mes_ano.h"

namespace qx {
namespace {

const uint16_t kMarco = CQXMesAno::Make(3, 2024).Value();

class LeituraExclusao : public ServiceTest {};

struct Contagem {
  int32_t lancamentos = -1, excluidos = -1, gerenciais = -1, importados = -1;
};
Contagem Conta(IQXCN_Lancamento* s) {
  Contagem c;
  EXPECT_EQ(s->PegaQuantidadeRegistros(kMarco, &c.lancamentos, &c.excluidos, &c.gerenciais,
                                       &c.importados),
            S_OK);
  return c;
}

TEST_P(LeituraExclusao, SavedEntryReadsBackAndItsRemovalIsFinal) {
  Servico servico = Inicializado();
  IQXCN_Lancamento* s = servico.get();
  const CQXData data = CQXData::Make(15, 3, 2024);
  ASSERT_EQ(s->SetDebito(1101), S_OK);
  ASSERT_EQ(s->SetCredito(2101), S_OK);
  ASSERT_EQ(s->SetDocumento(77), S_OK);
  ASSERT_EQ(s->SetValor(CURRENCY{1234500}), S_OK);
  ASSERT_EQ(s->SetFilial(1), S_OK);
  ASSERT_EQ(s->SetData(data.Value()), S_OK);
  UniqueBstr longo(BstrFromCp1252(std::string(600, 'x')));
  ASSERT_EQ(s->SetComplemento(longo.get()), S_OK);
  RegLan_Ger linhas[2] = {};
  linhas[0].Valor.int64 = 1000000;
  linhas[0].ContaGerencial = 500;
  linhas[1].Valor.int64 = 234500;
  linhas[1].ContaGerencial = 501;
  ASSERT_EQ(s->SetLancamentoGerencial(2, linhas), S_OK);
  int32_t indlan = 0;
  ASSERT_EQ(s->Grava(&indlan), S_OK);
  ASSERT_EQ(indlan, 1);

  const std::string esperado = std::string(499, 'x') + "\r";
  RegDadosComplemento dados{};
  ASSERT_EQ(s->LeDadosComplemento(indlan, kMarco, &dados), S_OK);
  EXPECT_EQ(dados.RegLan.Documento, 77);
  EXPECT_EQ(dados.RegLan.DataLancamento, data.Value());
  EXPECT_EQ(dados.RegLan.Valor.int64, 1234500);
  EXPECT_GT(dados.RegLan.Gerencial, 0);
  EXPECT_EQ(std::string(dados.cComplemento), esperado);
  BSTR texto = nullptr;
  ASSERT_EQ(s->GetComplemento(&texto, kMarco, indlan), S_OK);
  EXPECT_EQ(BstrToCp1252(texto), esperado);
  SysFreeString(texto);
  const Contagem antes = Conta(s);
  EXPECT_EQ(antes.lancamentos, 1);
  EXPECT_EQ(antes.gerenciais, 2);

  const int linhasDeErro = company_.ErrorLines();
  ASSERT_EQ(s->Exclui(indlan, kMarco), S_OK);
  EXPECT_EQ(s->Le(indlan, kMarco), static_cast<HRESULT>(0x000405F7u));
  RegDados lido{};
  EXPECT_EQ(s->LeDados(indlan, kMarco, &lido), static_cast<HRESULT>(0x800405F7u));
  EXPECT_EQ(s->LeLancamentoExcluido(indlan, kMarco, &lido), static_cast<HRESULT>(0x000405F7u));
  EXPECT_EQ(lido.Documento, 77);
  EXPECT_EQ(s->Exclui(indlan, kMarco), S_OK);
  EXPECT_EQ(s->Exclui(indlan + 1, kMarco), static_cast<HRESULT>(0x000405F8u));
  EXPECT_EQ(company_.ErrorLines(), linhasDeErro) << "expected messages are not failures";
  const Contagem depois = Conta(s);
  EXPECT_EQ(depois.lancamentos, 1);
  EXPECT_EQ(depois.excluidos, 1);
  EXPECT_EQ(depois.gerenciais, 0);
}

QX_SERVICE_SUITE(LeituraExclusao);

}  // namespace
}  // namespace qx
