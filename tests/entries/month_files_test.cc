// The operations on whole months: names, emptying, counts, removal, and the
// creation of the missing months of a period.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <tuple>
#include <vector>

#include "lancamento/lancamento_base.h"
#include "mes_gravado.h"
#include "platform/file_exception.h"
#include "storage/qx_arq_ex.h"
#include "test_company.h"
#include "values/qx_dmcps.h"
#include "values/qx_mes_ano.h"

namespace qx {
namespace {

class MonthFiles : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(objeto_.Inicializa(RegistroInicializacao()), S_OK); }

  std::string Path(const char* prefixo) const { return mes_.Nome(prefixo); }
  template <class Record>
  void WriteFile(const char* prefixo, const std::vector<Record>& records) const {
    mes_.Recria(prefixo, records);
  }

  static EntryRecord Entry(int32_t gerencial, uint8_t status, int32_t chaveModulo = 0) {
    EntryRecord record{};
    record.Debito = 1;
    record.Gerencial = gerencial;
    record.cStatus = status;
    record.lChaveModulo = chaveModulo;
    return record;
  }

  static REGLAN_GER Split(uint32_t owner) {
    REGLAN_GER line{};
    line.Indlan = owner;
    line.Valor.int64 = 10000;
    return line;
  }

  struct Counts {
    int32_t lancamentos = -1, excluidos = -1, gerenciais = -1, importados = -1;
    auto Tuple() const { return std::tuple(lancamentos, excluidos, gerenciais, importados); }
  };
  HRESULT Count(Counts* counts) {
    return objeto_.PegaQuantidadeRegistros(kMes, &counts->lancamentos, &counts->excluidos,
                                           &counts->gerenciais, &counts->importados);
  }

  static constexpr uint16_t kMes = CQXMesAno::Make(3, 2024).Value();
  TestCompany company_;
  CLancamentoBase objeto_;
  MesGravado mes_{company_.CnFolder(), kMes};
};

TEST_F(MonthFiles, CreationEmptiesEntrySplitAndComplementFilesOnly) {
  ASSERT_EQ(objeto_.CriaArquivoMes(0), S_OK);
  const std::string folder = company_.CnFolder();
  EXPECT_EQ(std::filesystem::file_size(folder + "CNLC0000.DAT"), 50u);
  EXPECT_EQ(std::filesystem::file_size(folder + "CNLG0000.DAT"), 20u);
  EXPECT_EQ(TestCompany::ReadAll(folder + "CNLH0000.DAT"), " ");

  WriteFile(kPrefixoLancamentos, std::vector<EntryRecord>{Entry(1, 0), Entry(0, 0)});
  WriteFile(kPrefixoGerencial, std::vector<REGLAN_GER>{Split(1), Split(1)});
  std::ofstream(Path(kPrefixoComplementos), std::ios::binary) << " complemento\r";
  WriteFile(kPrefixoMoeda, std::vector<CurrencyRecord>{CurrencyRecord{{123}, {}}});
  WriteFile(kPrefixoQuantidades, std::vector<REGQTD_GER>{REGQTD_GER{{5}}, REGQTD_GER{{6}}});
  const std::string moeda = TestCompany::ReadAll(Path(kPrefixoMoeda));
  const std::string quantidades = TestCompany::ReadAll(Path(kPrefixoQuantidades));

  ASSERT_EQ(objeto_.CriaArquivoMes(kMes), S_OK);
  EXPECT_EQ(TestCompany::ReadAll(Path(kPrefixoLancamentos)), std::string(50, '\0'));
  EXPECT_EQ(TestCompany::ReadAll(Path(kPrefixoGerencial)), std::string(20, '\0'));
  EXPECT_EQ(TestCompany::ReadAll(Path(kPrefixoComplementos)), " ");
  EXPECT_EQ(TestCompany::ReadAll(Path(kPrefixoMoeda)), moeda);
  EXPECT_EQ(TestCompany::ReadAll(Path(kPrefixoQuantidades)), quantidades);
}

TEST_F(MonthFiles, FailedCreationReturnsTheStatus) {
  std::filesystem::remove_all(company_.CnFolder());
  const HRESULT hr = objeto_.CriaArquivoMes(kMes);
  EXPECT_EQ(static_cast<uint32_t>(hr) & 0xFFFF0000u, 0x80040000u);
  EXPECT_NE(hr & 0xFFFF, 0);
  EXPECT_GE(company_.ErrorLines(), 1) << "the failing step is logged";
}

TEST_F(MonthFiles, CountsFollowTheEntriesAndTheirSplitChains) {
  ASSERT_EQ(objeto_.CriaArquivoMes(kMes), S_OK);
  Counts counts;
  ASSERT_EQ(Count(&counts), S_OK);
  EXPECT_EQ(counts.Tuple(), std::tuple(0, 0, 0, 0));

  // Entry 1 owns lines 1 to 3, entry 2 line 4; entry 3 is an import.
  const int32_t importacao = MakeChaveModulo(77, kImportModule);
  WriteFile(kPrefixoLancamentos,
            std::vector<EntryRecord>{Entry(1, 0), Entry(4, 0), Entry(0, 0, importacao)});
  WriteFile(kPrefixoGerencial,
            std::vector<REGLAN_GER>{Split(0x10000001), Split(0x20000001), Split(1), Split(2)});
  ASSERT_EQ(Count(&counts), S_OK);
  EXPECT_EQ(counts.Tuple(), std::tuple(3, 0, 4, 1));

  // Deleted entries still count as entries and imports, not their lines.
  WriteFile(kPrefixoLancamentos, std::vector<EntryRecord>{Entry(1, kEntryDeleted), Entry(4, 0),
                                                          Entry(0, kEntryDeleted, importacao)});
  ASSERT_EQ(Count(&counts), S_OK);
  EXPECT_EQ(counts.Tuple(), std::tuple(3, 2, 1, 1));

  EXPECT_EQ(objeto_.PegaQuantidadeRegistros(kMes, nullptr, nullptr, nullptr, nullptr), E_POINTER);
}

TEST_F(MonthFiles, RemovedMonthIsNotMadeAgainByAWrite) {
  for (const char* prefixo : {kPrefixoLancamentos, kPrefixoGerencial, kPrefixoComplementos}) {
    CQXarq arq;  // controlled creation lists the file in the control file
    ASSERT_EQ(arq.Abre(Path(prefixo).c_str(), 'G', 1, true), ARQ_OK);
  }
  WriteFile(kPrefixoMoeda, std::vector<CurrencyRecord>{});
  ASSERT_EQ(objeto_.ApagaArquivoMes(kMes), S_OK);
  EXPECT_FALSE(std::filesystem::exists(Path(kPrefixoLancamentos)));
  EXPECT_FALSE(std::filesystem::exists(Path(kPrefixoComplementos)));
  EXPECT_TRUE(std::filesystem::exists(Path(kPrefixoMoeda)));

  CQXarq arq;
  EXPECT_EQ(arq.Abre(Path(kPrefixoLancamentos).c_str(), 'G', kEntryRecordSize, true),
            ARQ_NAO_ENCONTRADO);
  Counts counts;
  EXPECT_EQ(Count(&counts), ARQ_NAO_ENCONTRADO) << "the status as it is";

  // Removing what is gone is the platform's file failure, for the frame.
  try {
    objeto_.ApagaArquivoMes(kMes);
    ADD_FAILURE() << "no failure";
  } catch (CFileException* e) {
    EXPECT_EQ(e->m_cause, CFileException::fileNotFound);
    e->Delete();
  }

  ASSERT_EQ(objeto_.CriaArquivoMes(kMes), S_OK);
  EXPECT_EQ(arq.Abre(Path(kPrefixoLancamentos).c_str(), 'G', kEntryRecordSize, true), ARQ_OK);
  arq.Fecha();
}

// Creation of the missing months of a period.
class MesesFaltantes : public MonthFiles {
 protected:
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
