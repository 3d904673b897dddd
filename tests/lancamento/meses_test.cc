// The object's initialisation; the operations on whole months (emptying,
// counts, removal, the missing months of a period); the debit/credit
// difference file: keys by the grouping options, free slots, lookup, listing.
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <tuple>

#include "lancamento/meses/diferenca_arquivo.h"
#include "lancamento_fixture.h"
#include "outside/database/outside_codes.h"
#include "outside/database/suite_database.h"
#include "platform/file_exception.h"
#include "storage/arq_status.h"

namespace qx {
namespace {

TEST(LancamentoBaseInit, UnusableDatabaseOrServicesFail) {
  TestCompany company;
  const std::string db = company.DfFolder() + kSuiteDatabaseName;
  // Held by another writer beyond the waiting budget (the suite database's
  // other refusals are the routines' own, tested with them).
  SetSuiteBusyTimeoutForTesting(20);
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(db.c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
  CLancamentoBase objeto;
  EXPECT_EQ(objeto.Inicializa(RegistroInicializacao()), E_QXDF_BANCO_OCUPADO);
  EXPECT_FALSE(objeto.EstaInicializado());
  sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(other);
  SetSuiteBusyTimeoutForTesting(0);

  // Without a company connection there is no accounting master: a failure,
  // with the status in its low word, and the object stays uninitialised.
  CLancamentoBase semConexao;
  semConexao.SetUsaConexaoDefault();
  EXPECT_EQ(semConexao.Inicializa(RegistroInicializacao()),
            static_cast<HRESULT>(0x80040000u | kStatusSemMestre));
  EXPECT_FALSE(semConexao.EstaInicializado());
}

EntryRecord Entry(int32_t gerencial, uint8_t status, int32_t chaveModulo = 0) {
  EntryRecord record = Registro(1);
  record.Gerencial = gerencial;
  record.cStatus = status;
  record.lChaveModulo = chaveModulo;
  return record;
}

REGLAN_GER Split(uint32_t owner) { return Line(owner, 0, 0, 10000); }

using MonthFiles = LancamentoTest;

TEST_F(MonthFiles, CreationEmptiesEntrySplitAndComplementFilesOnlyCountsFollowThem) {
  Write(kPrefixoLancamentos, std::vector<EntryRecord>{Entry(1, 0), Entry(0, 0)});
  Write(kPrefixoGerencial, std::vector<REGLAN_GER>{Split(1), Split(1)});
  std::ofstream(Caminho(kPrefixoComplementos), std::ios::binary) << " complemento\r";
  Write(kPrefixoMoeda, std::vector<CurrencyRecord>{CurrencyRecord{{123}, {}}});
  Write(kPrefixoQuantidades, std::vector<REGQTD_GER>{REGQTD_GER{{5}}, REGQTD_GER{{6}}});
  const std::string moeda = Bytes(kPrefixoMoeda);
  const std::string quantidades = Bytes(kPrefixoQuantidades);

  ASSERT_EQ(objeto_.CriaArquivoMes(kMarco), S_OK);
  EXPECT_EQ(Bytes(kPrefixoLancamentos), std::string(50, '\0'));
  EXPECT_EQ(Bytes(kPrefixoGerencial), std::string(20, '\0'));
  EXPECT_EQ(Bytes(kPrefixoComplementos), " ");
  EXPECT_EQ(Bytes(kPrefixoMoeda), moeda);
  EXPECT_EQ(Bytes(kPrefixoQuantidades), quantidades);

  // The counts follow the entries and their split chains.
  EXPECT_EQ(Contagem(), std::tuple(0, 0, 0, 0));

  // Entry 1 owns lines 1 to 3, entry 2 line 4; entry 3 is an import.
  const int32_t importacao = MakeChaveModulo(77, kImportModule);
  Write(kPrefixoLancamentos,
        std::vector<EntryRecord>{Entry(1, 0), Entry(4, 0), Entry(0, 0, importacao)});
  Write(kPrefixoGerencial,
        std::vector<REGLAN_GER>{Split(0x10000001), Split(0x20000001), Split(1), Split(2)});
  EXPECT_EQ(Contagem(), std::tuple(3, 0, 4, 1));

  // Deleted entries still count as entries and imports, not their lines.
  Write(kPrefixoLancamentos, std::vector<EntryRecord>{Entry(1, kEntryDeleted), Entry(4, 0),
                                                      Entry(0, kEntryDeleted, importacao)});
  EXPECT_EQ(Contagem(), std::tuple(3, 2, 1, 1));

  std::filesystem::remove_all(company_.CnFolder());
  const HRESULT hr = objeto_.CriaArquivoMes(kMarco);
  EXPECT_EQ(static_cast<uint32_t>(hr) & 0xFFFF0000u, 0x80040000u);
  EXPECT_NE(hr & 0xFFFF, 0);
  EXPECT_GE(company_.ErrorLines(), 1) << "the failing step is logged";
}

TEST_F(MonthFiles, RemovedMonthIsNotMadeAgainByAWrite) {
  for (const char* prefixo : {kPrefixoLancamentos, kPrefixoGerencial, kPrefixoComplementos}) {
    CQXarq arq;  // controlled creation lists the file in the control file
    ASSERT_EQ(arq.Abre(Caminho(prefixo).c_str(), 'G', 1, true), ARQ_OK);
  }
  Write(kPrefixoMoeda, std::vector<CurrencyRecord>{});
  ASSERT_EQ(objeto_.ApagaArquivoMes(kMarco), S_OK);
  EXPECT_FALSE(std::filesystem::exists(Caminho(kPrefixoLancamentos)));
  EXPECT_FALSE(std::filesystem::exists(Caminho(kPrefixoComplementos)));
  EXPECT_TRUE(std::filesystem::exists(Caminho(kPrefixoMoeda)));

  CQXarq arq;
  EXPECT_EQ(arq.Abre(Caminho(kPrefixoLancamentos).c_str(), 'G', kEntryRecordSize, true),
            ARQ_NAO_ENCONTRADO);
  Contagem(kMarco, ARQ_NAO_ENCONTRADO);  // the status as it is

  // Removing what is gone is the platform's file failure, for the frame.
  try {
    objeto_.ApagaArquivoMes(kMarco);
    ADD_FAILURE() << "no failure";
  } catch (CFileException* e) {
    EXPECT_EQ(e->m_cause, CFileException::fileNotFound);
    e->Delete();
  }

  ASSERT_EQ(objeto_.CriaArquivoMes(kMarco), S_OK);
  EXPECT_EQ(arq.Abre(Caminho(kPrefixoLancamentos).c_str(), 'G', kEntryRecordSize, true), ARQ_OK);
  arq.Fecha();
}

// Creation of the missing months of a period.
class MesesFaltantes : public LancamentoTest {
 protected:
  // Whether the month's three main files are there with only their zero record.
  void ExpectCreated(uint16_t mes) const {
    EXPECT_EQ(std::filesystem::file_size(Caminho(kPrefixoLancamentos, mes)), 50u) << mes;
    EXPECT_EQ(std::filesystem::file_size(Caminho(kPrefixoGerencial, mes)), 20u) << mes;
    EXPECT_EQ(Bytes(kPrefixoComplementos, mes), std::string(1, '\0')) << mes;
  }

  static constexpr uint16_t kMes = CQXMesAno::Make(3, 2023).Value();
};

TEST_F(MesesFaltantes, MakesOnlyTheMissingFilesLeavesExistingOnesAloneStopsAtAFailure) {
  // Empty ranges and bad bounds make nothing.
  EXPECT_EQ(objeto_.CriaArquivosPeriodoAnterior(kMes, kMes - 1), S_OK);
  EXPECT_EQ(objeto_.CriaArquivosPeriodoAnterior(CQXMesAno::kLast + 1, CQXMesAno::kLast), S_OK);
  EXPECT_EQ(objeto_.CriaArquivosPeriodoAnterior(0, kMes), E_INVALIDARG);
  EXPECT_EQ(objeto_.CriaArquivosPeriodoAnterior(CQXMesAno::kLast, CQXMesAno::kLast + 1),
            E_INVALIDARG);
  EXPECT_EQ(objeto_.CriaArquivosPeriodoAnterior(1, 0xFFFF), E_INVALIDARG);
  for (const auto& entry : std::filesystem::directory_iterator(company_.CnFolder())) {
    EXPECT_NE(entry.path().filename().string().rfind("CNL", 0), 0u) << entry.path();
  }

  ASSERT_EQ(objeto_.CriaArquivoMes(kMes), S_OK);
  std::ofstream(Caminho(kPrefixoComplementos, kMes), std::ios::binary | std::ios::app) << "texto\r";
  std::filesystem::remove(Caminho(kPrefixoGerencial, kMes));
  const std::string complementos = Bytes(kPrefixoComplementos, kMes);
  for (int vez = 0; vez < 2; ++vez) {  // running it again changes nothing
    ASSERT_EQ(objeto_.CriaArquivosPeriodoAnterior(kMes - 1, kMes + 1), S_OK);
    ExpectCreated(kMes - 1);
    ExpectCreated(kMes + 1);
    EXPECT_EQ(std::filesystem::file_size(Caminho(kPrefixoGerencial, kMes)), 20u);
    EXPECT_EQ(Bytes(kPrefixoComplementos, kMes), complementos)
        << "an existing complement heap keeps its space and texts";
  }

  // A month removed after its controlled creation is made again.
  ASSERT_EQ(objeto_.ApagaArquivoMes(kMes - 1), S_OK);
  ASSERT_EQ(objeto_.CriaArquivosPeriodoAnterior(kMes - 1, kMes - 1), S_OK);
  ExpectCreated(kMes - 1);

  // The entry file of the second month cannot be made: its name leads nowhere.
  std::filesystem::create_symlink(company_.root() + "/missing/CNLC.DAT",
                                  Caminho(kPrefixoLancamentos, kMes + 3));
  const int antes = company_.ErrorLines();
  const HRESULT hr = objeto_.CriaArquivosPeriodoAnterior(kMes + 2, kMes + 4);
  EXPECT_EQ(static_cast<uint32_t>(hr) & 0xFFFF0000u, 0x80040000u);
  EXPECT_EQ(company_.ErrorLines(), antes + 2) << "the failing call and the failing step";
  ExpectCreated(kMes + 2);
  EXPECT_FALSE(std::filesystem::exists(Caminho(kPrefixoGerencial, kMes + 3)));
  EXPECT_FALSE(std::filesystem::exists(Caminho(kPrefixoLancamentos, kMes + 4)));
}

class DiferencaDC : public LancamentoTest {
 protected:
  void SetUp() override {}
  void Inicia(uint16_t modo, bool porFilial) {
    company_.SetConfig("difference-mode", modo);
    company_.SetConfig("difference-per-branch", porFilial ? 1 : 0);
    Inicializa();
  }

  static CURRENCY Money(int64_t units) { return CURRENCY{units * 10000}; }

  // The total the update leaves for the key.
  int64_t Soma(CQXData data, uint16_t filial, uint16_t usuario, int64_t units) {
    CURRENCY total{-1};
    EXPECT_EQ(objeto_.AtualizaDiferenca(data, filial, usuario, Money(units), &total), ARQ_OK);
    return total.int64 / 10000;
  }
  // An update for an entry's accounts; the status.
  int Entrada(int32_t debito, int32_t credito, int64_t units, int sinal) {
    return objeto_.AtualizaDiferencaLancamento(debito, credito, Money(units), kDia, 1, 1, sinal);
  }

  // The key's total (units) and whether the file holds any.
  std::tuple<int64_t, int32_t> Procura(CQXData data, uint16_t filial, uint16_t usuario) {
    CURRENCY diferenca{-1};
    int32_t tem = -1;
    EXPECT_EQ(objeto_.BuscaDiferencaDC(data.Value(), filial, usuario, &diferenca, &tem), S_OK);
    return {diferenca.int64 / 10000, tem};
  }
  int64_t Total(CQXData data, uint16_t filial = 1, uint16_t usuario = 1) {
    return std::get<0>(Procura(data, filial, usuario));
  }

  uintmax_t Registros() const {
    return std::filesystem::file_size(CaminhoDiferenca(company_.CnFolder())) /
           kDifferenceRecordSize;
  }

  static constexpr CQXData kDia = CQXData::Make(10, 3, 2024);
};

TEST_F(DiferencaDC, OneSidedEntryAddsAndRemovalFreesTheSlotForTheNextKey) {
  Inicia(kDiferencaPorDataUsuario, true);
  EXPECT_TRUE(Diferencas(objeto_).empty());
  EXPECT_EQ(Registros(), 1u) << "a new file holds only its zero record";

  // Debit account only: +100; the same entry removed: -100.
  ASSERT_EQ(Entrada(11, 0, 100, +1), ARQ_OK);
  EXPECT_EQ(Total(kDia), 100);
  ASSERT_EQ(Entrada(0, 12, 40, +1), ARQ_OK);
  EXPECT_EQ(Total(kDia), 60) << "credit account only subtracts";
  ASSERT_EQ(Entrada(11, 0, 100, -1), ARQ_OK);
  ASSERT_EQ(Entrada(0, 12, 40, -1), ARQ_OK);
  EXPECT_TRUE(Diferencas(objeto_).empty());
  EXPECT_EQ(Registros(), 2u);

  // Both accounts, or neither, leave every total alone.
  ASSERT_EQ(Entrada(11, 12, 7, +1), ARQ_OK);
  ASSERT_EQ(Entrada(0, 0, 7, +1), ARQ_OK);
  EXPECT_TRUE(Diferencas(objeto_).empty());

  // The freed record is taken by the next new key; a further key appends.
  EXPECT_EQ(Soma(CQXData::Make(11, 3, 2024), 1, 1, 5), 5);
  EXPECT_EQ(Registros(), 2u);
  EXPECT_EQ(Soma(kDia, 1, 2, 3), 3) << "another user is another key";
  EXPECT_EQ(Registros(), 3u);
  const std::vector<Reg_Dif> lista = Diferencas(objeto_);
  ASSERT_EQ(lista.size(), 2u);
  EXPECT_EQ(std::tuple(lista[0].Data, lista[1].Usuario, lista[1].Filial),
            std::tuple(Dia(11, 3), 2, 1));
}

TEST_F(DiferencaDC, MonthGroupingAccumulatesAcrossYearsAndIgnoresUsers) {
  Inicia(kDiferencaPorMes, true);
  EXPECT_EQ(Soma(CQXData::Make(10, 3, 2023), 1, 1, 10), 10);
  EXPECT_EQ(Soma(CQXData::Make(25, 3, 2024), 1, 2, 15), 25);
  EXPECT_EQ(Soma(CQXData::Make(25, 4, 2024), 1, 1, 1), 1);
  EXPECT_EQ(Soma(CQXData::Make(5, 3, 2024), 2, 1, 4), 4) << "another branch is another key";
  EXPECT_EQ(Total(CQXData::Make(1, 3, 2030), 1, 9), 25);

  const std::vector<Reg_Dif> lista = Diferencas(objeto_);
  ASSERT_EQ(lista.size(), 3u);
  // The last date written; users are not kept by month alone.
  EXPECT_EQ(std::tuple(lista[0].Data, lista[0].Usuario, lista[2].Filial),
            std::tuple(Dia(25, 3), 0, 2));
}

TEST_F(DiferencaDC, WithoutPerBranchOptionBranchesShareOneTotal) {
  Inicia(kDiferencaPorData, false);
  EXPECT_EQ(Soma(kDia, 1, 1, 10), 10);
  EXPECT_EQ(Soma(kDia, 2, 3, 5), 15);
  EXPECT_EQ(Total(kDia, 7, 9), 15);
  const std::vector<Reg_Dif> lista = Diferencas(objeto_);
  ASSERT_EQ(lista.size(), 1u);
  EXPECT_EQ(std::tuple(lista[0].Filial, lista[0].Usuario, lista[0].Valor.int64),
            std::tuple(0, 0, 150000));
}

TEST_F(DiferencaDC, LookupReportsOtherOpenDifferencesWhenTheKeyHasNone) {
  Inicia(kDiferencaPorMesUsuario, true);
  EXPECT_EQ(std::get<1>(Procura(kDia, 1, 1)), 0) << "empty file";
  EXPECT_EQ(Soma(kDia, 1, 1, 8), 8);
  EXPECT_EQ(Procura(CQXData::Make(30, 3, 2024), 1, 1), std::tuple(8, 1));
  EXPECT_EQ(Procura(kDia, 1, 2), std::tuple(0, 1)) << "another key holds a total";
  EXPECT_EQ(std::get<1>(Procura(kDia, 2, 1)), 0) << "the other branch's record is passed over";
}

TEST_F(DiferencaDC, VanishedFileIsMadeAgainBadAmountsAreRefusedListingIsBounded) {
  Inicia(kDiferencaPorData, true);
  EXPECT_EQ(Soma(kDia, 1, 1, 10), 10);
  std::filesystem::remove(CaminhoDiferenca(company_.CnFolder()));
  EXPECT_EQ(Soma(kDia, 1, 1, 4), 4);
  EXPECT_EQ(Registros(), 2u);

  CURRENCY total;
  EXPECT_EQ(objeto_.AtualizaDiferenca(CQXData(), 1, 1, Money(1), &total), ARQ_PARAMETRO_INVALIDO);
  EXPECT_EQ(objeto_.AtualizaDiferenca(kDia, 1, 1, CURRENCY{INT64_MAX}, &total),
            ARQ_PARAMETRO_INVALIDO);
  EXPECT_EQ(objeto_.AtualizaDiferencaLancamento(0, 1, CURRENCY{INT64_MIN}, kDia, 1, 1, -1),
            ARQ_PARAMETRO_INVALIDO);
  EXPECT_EQ(Total(kDia), 4) << "refused updates leave the total alone";
  EXPECT_EQ(Registros(), 2u);
  // A listing never writes beyond the caller's count.
  for (uint16_t filial = 1; filial <= 3; ++filial) Soma(kDia, filial, 1, filial);
  std::vector<Reg_Dif> lista(3, Reg_Dif{{-1}, 7, 7, 7});
  EXPECT_EQ(objeto_.GetDiferenca(2, lista.data()), S_OK);
  EXPECT_EQ(std::tuple(lista[0].Filial, lista[1].Filial), std::tuple(1, 2));
  EXPECT_EQ(lista[2].Valor.int64, -1) << "the element past the count is untouched";
  EXPECT_EQ(objeto_.GetDiferenca(0, nullptr), S_OK);
}

}  // namespace
}  // namespace qx
