// Creation of the missing months of a period.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "entries/lancamento_base.h"
#include "storage/arq_status.h"
#include "storage/month_name.h"
#include "storage/qx_arq_ex.h"
#include "test_company.h"
#include "values/qx_mes_ano.h"

namespace qx {
namespace {

class MesesFaltantes : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(objeto_.Inicializa(RegistroInicializacao()), S_OK); }

  std::string Path(const char* prefixo, uint16_t mes) const {
    return NomeArquivoMes(company_.CnFolder(), prefixo, mes);
  }
  // Whether the month's three main files are there with only their zero record.
  void ExpectCreated(uint16_t mes) const {
    EXPECT_EQ(std::filesystem::file_size(Path(kPrefixoLancamentos, mes)), 50u) << mes;
    EXPECT_EQ(std::filesystem::file_size(Path(kPrefixoGerencial, mes)), 20u) << mes;
    EXPECT_EQ(TestCompany::ReadAll(Path(kPrefixoComplementos, mes)), std::string(1, '\0')) << mes;
  }
  bool AnyMonthFile() const {
    for (const auto& entry : std::filesystem::directory_iterator(company_.CnFolder())) {
      if (entry.path().filename().string().rfind("CNL", 0) == 0) return true;
    }
    return false;
  }

  static constexpr uint16_t kMes = CQXMesAno::Make(3, 2023).Value();
  TestCompany company_;
  CLancamentoBase objeto_;
};

TEST_F(MesesFaltantes, MakesOnlyTheMissingFilesAndLeavesExistingOnesAlone) {
  ASSERT_EQ(objeto_.CriaArquivoMes(kMes), S_OK);
  std::ofstream(Path(kPrefixoComplementos, kMes), std::ios::binary | std::ios::app) << "texto\r";
  std::filesystem::remove(Path(kPrefixoGerencial, kMes));
  const std::string complementos = TestCompany::ReadAll(Path(kPrefixoComplementos, kMes));

  ASSERT_EQ(objeto_.CriaArquivosPeriodoAnterior(kMes - 1, kMes + 1), S_OK);
  ExpectCreated(kMes - 1);
  ExpectCreated(kMes + 1);
  EXPECT_EQ(std::filesystem::file_size(Path(kPrefixoLancamentos, kMes)), 50u);
  EXPECT_EQ(std::filesystem::file_size(Path(kPrefixoGerencial, kMes)), 20u);
  EXPECT_EQ(TestCompany::ReadAll(Path(kPrefixoComplementos, kMes)), complementos)
      << "an existing complement heap keeps its space and texts";
  EXPECT_FALSE(std::filesystem::exists(Path(kPrefixoMoeda, kMes - 1)));
  EXPECT_FALSE(std::filesystem::exists(Path(kPrefixoQuantidades, kMes - 1)));

  // Running it again changes nothing.
  ASSERT_EQ(objeto_.CriaArquivosPeriodoAnterior(kMes - 1, kMes + 1), S_OK);
  EXPECT_EQ(TestCompany::ReadAll(Path(kPrefixoComplementos, kMes)), complementos);
}

TEST_F(MesesFaltantes, MonthRemovedAfterControlledCreationIsMadeAgain) {
  ASSERT_EQ(objeto_.CriaArquivosPeriodoAnterior(kMes, kMes), S_OK);
  ASSERT_EQ(objeto_.ApagaArquivoMes(kMes), S_OK);
  CQXArqEx arq;
  EXPECT_EQ(arq.Abre(Path(kPrefixoLancamentos, kMes).c_str(), 'G', 50, true, true),
            ARQ_NAO_ENCONTRADO)
      << "the control file remembers the month";
  arq.Fecha();

  ASSERT_EQ(objeto_.CriaArquivosPeriodoAnterior(kMes, kMes), S_OK);
  ExpectCreated(kMes);
}

TEST_F(MesesFaltantes, EmptyRangesAndBadBoundsMakeNothing) {
  EXPECT_EQ(objeto_.CriaArquivosPeriodoAnterior(kMes, kMes - 1), S_OK);
  EXPECT_EQ(objeto_.CriaArquivosPeriodoAnterior(CQXMesAno::kLast + 1, CQXMesAno::kLast), S_OK);
  EXPECT_EQ(objeto_.CriaArquivosPeriodoAnterior(0, kMes), E_INVALIDARG);
  EXPECT_EQ(objeto_.CriaArquivosPeriodoAnterior(CQXMesAno::kLast, CQXMesAno::kLast + 1),
            E_INVALIDARG);
  EXPECT_EQ(objeto_.CriaArquivosPeriodoAnterior(1, 0xFFFF), E_INVALIDARG);
  EXPECT_FALSE(AnyMonthFile());
}

TEST_F(MesesFaltantes, FailureStopsAtTheFailingFileAndKeepsEarlierMonths) {
  // The entry file of the second month cannot be made: its name leads nowhere.
  std::filesystem::create_symlink(company_.root() + "/missing/CNLC.DAT",
                                  Path(kPrefixoLancamentos, kMes + 1));
  const int antes = company_.ErrorLines();
  const HRESULT hr = objeto_.CriaArquivosPeriodoAnterior(kMes, kMes + 2);
  EXPECT_LT(hr, 0);
  EXPECT_EQ(static_cast<uint32_t>(hr) & 0xFFFF0000u, 0x80040000u);
  EXPECT_EQ(company_.ErrorLines(), antes + 2) << "the failing call and the failing step";
  ExpectCreated(kMes);
  EXPECT_FALSE(std::filesystem::exists(Path(kPrefixoGerencial, kMes + 1)));
  EXPECT_FALSE(std::filesystem::exists(Path(kPrefixoLancamentos, kMes + 2)));
}

}  // namespace
}  // namespace qx
