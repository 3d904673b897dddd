// The filtered entry search and its keys, the account search, the month
// listing and the company list.
#include <filesystem>
#include <tuple>

#include "busca_fixture.h"
#include "contract/busca_codigos.h"
#include "lancamento/buscas/busca_comum.h"
#include "platform/bstr.h"
#include "platform/file_faults.h"
#include "platform/registry.h"
#include "storage/folders/folders.h"

namespace qx {
namespace {

constexpr int32_t kSentinela = 0x5A5A5A5A;

int32_t Deslocamento(int32_t chave) {
  return static_cast<int8_t>(static_cast<uint32_t>(chave) >> 24);
}
int32_t Posicao(int32_t chave) { return chave & 0xFFFFFF; }

TEST(BuscaMeses, KeepToTheMonthsTheFileNamesTellApart) {
  auto conta = [](CQXMesAno primeiro, CQXMesAno ultimo) {
    int meses = 0;
    for (CQXMesAno mes : Meses(primeiro, ultimo)) {
      EXPECT_FALSE(mes.IsEmpty());
      ++meses;
    }
    return meses;
  };
  EXPECT_EQ(conta(CQXMesAno(), CQXMesAno::Make(3, 1984)), 3);
  EXPECT_EQ(conta(CQXMesAno::Make(1, 1900), CQXMesAno::Make(2, 1984)), 2);
  EXPECT_EQ(conta(CQXMesAno::Make(11, 2083), CQXMesAno::Make(5, 2090)), 2);
  EXPECT_EQ(conta(Mes(3), Mes(2)), 0);
  EXPECT_EQ(conta(Mes(3), CQXMesAno()), 0);
}

TEST_F(BuscaTest, SearchKeysCountMonthsFromTheBaseMonth) {
  Acrescenta(Mes(1), {Registro(5, 4, 11, 100), Registro(6, 4, 11, 200, /*filial=*/3)});
  Acrescenta(Mes(3), {Registro(2, 5, 11, 300), Registro(9, 5, 11, 400)});
  EntryRecord excluido = Registro(3, 5, 11, 500);
  excluido.cStatus = kEntryDeleted;
  Acrescenta(Mes(3), {excluido});

  // Based in March, the filter's date reaching back to January.
  ASSERT_EQ(objeto_.SetDataInicial(Dia(1, 1)), S_OK);
  int32_t quantidade = Quantos(Dia(1, 3), Dia(31, 3));
  ASSERT_EQ(quantidade, 3) << "the inactive branch and the deleted entry are left out";
  const std::vector<int32_t> chaves = Chaves(quantidade);
  EXPECT_EQ(std::tuple(Deslocamento(chaves[0]), Posicao(chaves[0]), chaves[1], chaves[2]),
            std::tuple(-2, 1, 1, 2));

  // The list was emptied by the fetch.
  Lancamentos lista[2] = {{kSentinela, {}}, {kSentinela, {}}};
  EXPECT_EQ(objeto_.BuscaLancamentos(2, lista), S_OK);
  EXPECT_EQ(lista[0].Indlan, kSentinela);
}

// A key holds its month as a signed 8-bit offset from the base month: longer
// ranges are refused before any file is touched, with one error log line.
TEST_F(BuscaTest, RangesBeyondTheKeysMonthOffsetAreRefusedBeforeAnyFile) {
  auto data = [](int dia, int mes, int ano) { return CQXData::Make(dia, mes, ano).Value(); };
  // Base date, the filter's initial date (0 none), final date, accepted.
  const std::tuple<uint32_t, uint32_t, uint32_t, bool> buscas[] = {
      {data(1, 1, 2016), 0, data(28, 2, 2027), false},
      {data(1, 1, 2016), 0, data(30, 9, 2026), false},  // 128 months after
      {data(1, 1, 2016), 0, data(31, 8, 2026), true},   // 127 after
      {data(1, 3, 2024), data(1, 6, 2013), data(31, 3, 2024), false},  // 129 before
      {data(1, 3, 2024), data(1, 7, 2013), data(31, 3, 2024), true},   // 128 before
      {0, 0, data(31, 12, 2024), false},  // based in month 0
  };
  for (const auto& [base, inicial, final, aceita] : buscas) {
    std::filesystem::remove_all(company_.CnFolder());
    std::filesystem::create_directory(company_.CnFolder());
    ASSERT_EQ(objeto_.SetDataInicial(inicial), S_OK);
    const int linhas = company_.ErrorLines();
    int32_t quantidade = -1;
    EXPECT_EQ(objeto_.BuscaQtdLancamentos(base, final, &quantidade),
              aceita ? S_OK : kHrPeriodoBuscaLongo)
        << base;
    EXPECT_EQ(quantidade, 0);
    EXPECT_EQ(company_.ErrorLines(), linhas + (aceita ? 0 : 1)) << base;
    EXPECT_EQ(std::filesystem::is_empty(company_.CnFolder()), !aceita) << base;
  }

  // The account search is based at its first month.
  ASSERT_EQ(objeto_.SetDataInicial(0), S_OK);
  for (const auto& [final, aceita] : {std::pair(data(31, 8, 2026), true),
                                      std::pair(data(30, 9, 2026), false)}) {
    std::filesystem::remove_all(company_.CnFolder());
    std::filesystem::create_directory(company_.CnFolder());
    REGLAN_CONTAPS conta{4, data(1, 1, 2016), final, 0};
    int32_t quantidade = -1;
    EXPECT_EQ(objeto_.BuscaQtdLancamentosConta(conta, &quantidade),
              aceita ? S_OK : kHrPeriodoBuscaLongo);
    EXPECT_EQ(quantidade, 0);
    EXPECT_EQ(std::filesystem::is_empty(company_.CnFolder()), !aceita);
  }
}

TEST_F(BuscaTest, FetchingFewerKeysDropsTheRestAndNeverWritesBeyondTheCount) {
  std::vector<EntryRecord> registros;
  for (int dia = 1; dia <= 5; ++dia) registros.push_back(Registro(dia, 4, 11, dia));
  Acrescenta(Mes(2), registros);
  int32_t quantidade = Quantos(Dia(1, 2), Dia(29, 2));
  ASSERT_EQ(quantidade, 5);
  Lancamentos lista[3] = {{0, {}}, {0, {}}, {kSentinela, {}}};
  EXPECT_EQ(objeto_.BuscaLancamentos(2, lista), S_OK);
  EXPECT_EQ(std::tuple(lista[0].Indlan, lista[1].Indlan, lista[2].Indlan),
            std::tuple(1, 2, kSentinela));
  EXPECT_EQ(objeto_.BuscaLancamentos(5, lista), S_OK);
  EXPECT_EQ(lista[2].Indlan, kSentinela) << "the other three keys were dropped";

  // A count above the list writes only what the list holds; below 1 nothing.
  quantidade = Quantos(Dia(1, 2), Dia(2, 2));
  ASSERT_EQ(quantidade, 2);
  EXPECT_EQ(objeto_.BuscaLancamentos(0, nullptr), S_OK);
  EXPECT_EQ(objeto_.BuscaLancamentos(3, lista), S_OK);
  EXPECT_EQ(lista[2].Indlan, kSentinela) << "the list was emptied by the call with count 0";
}

// A month that cannot be read is no empty month: the searches end with what
// they found before it and its code, and the listing and the counts of the
// month give that code too.
TEST_F(BuscaTest, UnreadableMonthsGiveTheirCodeNotAnEmptyMonth) {
  enum Dano { kSumiu, kPasta, kLeituraFalha, kComplementoAlem };
  struct Caso {
    const char* nome;
    Dano dano;   // done to February
    int status;  // what reading February gives
  };
  const Caso casos[] = {
      {"vanished", kSumiu, ARQ_NAO_ENCONTRADO},
      {"a folder", kPasta, ARQ_ACESSO_NEGADO},
      {"a read fails", kLeituraFalha, ARQ_ERRO_DE_LEITURA_GRAVACAO},
      {"a complement past the end of CNLH", kComplementoAlem, ARQ_FIM_DE_ARQUIVO},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.nome);
    FileFaultsGuard guard;
    std::filesystem::remove_all(company_.CnFolder());
    std::filesystem::create_directory(company_.CnFolder());
    EntryRecord comTexto = Registro(5, 4, 11, 100);
    for (int mes = 1; mes <= 3; ++mes) {
      comTexto.Complemento = AcrescentaComplemento(Mes(mes), "texto");
      Acrescenta(Mes(mes), {comTexto});
    }
    const std::string fevereiro = Caminho(kPrefixoLancamentos, Mes(2));
    if (caso.dano == kSumiu || caso.dano == kPasta) std::filesystem::remove(fevereiro);
    if (caso.dano == kPasta) std::filesystem::create_directory(fevereiro);
    if (caso.dano == kLeituraFalha) {
      FileFaults::Arm(FileOp::Read, 1, CFileException::hardIO, "CNLC0224", 99);
    }
    if (caso.dano == kComplementoAlem) {
      comTexto.Complemento = 9999;
      Acrescenta(Mes(2), {comTexto});
    }
    // Only the complement filter reads the texts.
    UniqueBstr texto(BstrFromCp1252(caso.dano == kComplementoAlem ? "texto" : ""));
    ASSERT_EQ(objeto_.SetComplementoFiltro(texto.get()), S_OK);
    int32_t quantidade = -1;
    EXPECT_EQ(objeto_.BuscaQtdLancamentos(Dia(1, 1), Dia(31, 3), &quantidade),
              QXHresultDoStatus(caso.status));
    EXPECT_EQ(quantidade, caso.dano == kComplementoAlem ? 2 : 1) << "found before it";
    if (caso.dano == kComplementoAlem) continue;
    REGLAN_CONTAPS conta{4, Dia(1, 1), Dia(31, 3), 0};
    EXPECT_EQ(objeto_.BuscaQtdLancamentosConta(conta, &quantidade), caso.status);
    REG_DADOS_LANCAMENTOS lista[4] = {};
    EXPECT_EQ(objeto_.LeLancamentosMes(Mes(2).Value(), 4, lista), caso.status);
    int32_t lancamentos = 0, excluidos = 0, gerenciais = 0, importados = 0;
    EXPECT_EQ(objeto_.PegaQuantidadeRegistros(Mes(2).Value(), &lancamentos, &excluidos,
                                              &gerenciais, &importados),
              caso.status);
  }
}

// Nor is a suite database that fails under the search (the user's branches cannot be
// read): the filtered search gives that failure, as the other searches do.
TEST_F(BuscaTest, BranchesThatCannotBeReadAreNoEmptyResult) {
  Acrescenta(Mes(1), {Registro(5, 4, 11, 100)});
  EXPECT_EQ(Quantos(Dia(1, 1), Dia(31, 1)), 1);
  const std::shared_ptr<SuiteDatabase> db = TestCompany::Database();
  ASSERT_EQ(db->Write([&] { return db->Execute("DROP TABLE filiais_ativas"); }), S_OK);
  int32_t quantidade = -1;
  EXPECT_TRUE(FAILED(objeto_.BuscaQtdLancamentos(Dia(1, 1), Dia(31, 1), &quantidade)));
  EXPECT_EQ(quantidade, 0);
}

TEST_F(BuscaTest, UserAndComplementFiltersReadTheirSources) {
  // The test session (number 3 x 4096) is the user's only session in the
  // change log: its entries carry the session key 3.
  EntryRecord daSessao = Registro(5, 4, 11, 100);
  daSessao.Secao = 3;
  daSessao.Complemento = AcrescentaComplemento(Mes(3),
                                               "A\xC7\xC3O DE COBRAN\xC7"
                                               "A");
  EntryRecord outra = Registro(6, 4, 11, 200);
  outra.Secao = 5;
  outra.Complemento = AcrescentaComplemento(Mes(3), "acao de cobranca");
  Acrescenta(Mes(3), {daSessao, outra, Registro(7, 4, 11, 300)});
  ASSERT_EQ(objeto_.SetUsuarioFiltro(1), S_OK);
  EXPECT_EQ(Chaves(Quantos(Dia(1, 3), Dia(31, 3))), std::vector<int32_t>{1});
  ASSERT_EQ(objeto_.SetUsuarioFiltro(77), S_OK);
  EXPECT_EQ(Quantos(Dia(1, 3), Dia(31, 3)), 0) << "a user without sessions admits nothing";

  ASSERT_EQ(objeto_.LimpaFiltro(), S_OK);
  UniqueBstr texto(
      BstrFromCp1252("cobran\xE7"
                     "a"));
  ASSERT_EQ(objeto_.SetComplementoFiltro(texto.get()), S_OK);
  EXPECT_EQ(Chaves(Quantos(Dia(1, 3), Dia(31, 3))), (std::vector<int32_t>{1, 2}));
}

TEST_F(BuscaTest, AccountSearchOrdersByDateThenPositionAndAppends) {
  Acrescenta(Mes(3), {Registro(10, 4, 11, 1), Registro(2, 11, 4, 2), Registro(2, 4, 12, 3),
                      Registro(2, 5, 12, 4), Registro(3, 4, 11, 5, /*filial=*/3)});
  Acrescenta(Mes(4), {Registro(1, 21, 4, 6)});
  REGLAN_CONTAPS conta{4, Dia(1, 3), Dia(30, 4), 0};
  int32_t quantidade = -1;
  ASSERT_EQ(objeto_.BuscaQtdLancamentosConta(conta, &quantidade), S_OK);
  ASSERT_EQ(quantidade, 4);
  EXPECT_EQ(Chaves(4), (std::vector<int32_t>{2, 3, 1, (1 << 24) + 1}));

  // With a branch given, that branch's entries come too; the keys are added
  // to what the list already holds.
  conta.lFilial = 3;
  conta.iDataFinal = Dia(3, 3);
  ASSERT_EQ(objeto_.BuscaQtdLancamentosConta(conta, &quantidade), S_OK);
  EXPECT_EQ(quantidade, 1);
  conta.iDataInicial = Dia(10, 3);
  conta.iDataFinal = Dia(10, 3);
  conta.lFilial = 0;
  ASSERT_EQ(objeto_.BuscaQtdLancamentosConta(conta, &quantidade), S_OK);
  EXPECT_EQ(quantidade, 1);
  EXPECT_EQ(Chaves(3), (std::vector<int32_t>{5, 1, 0}));

  // Dates upside down: nothing.
  conta = {4, Dia(1, 4), Dia(1, 3), 0};
  ASSERT_EQ(objeto_.BuscaQtdLancamentosConta(conta, &quantidade), S_OK);
  EXPECT_EQ(quantidade, 0);
}

TEST_F(BuscaTest, MonthListingFillsOneElementPerPositionWithinTheCallersRoom) {
  EntryRecord importado = Registro(7, 4, 11, 100);
  importado.lChaveModulo = MakeChaveModulo(42, kImportModule);
  importado.iData = Mes(6).Value();
  importado.Secao = 0x12345;
  importado.cStatusIFRS = 2;
  EntryRecord excluido = Registro(8, 5, 11, 200);
  excluido.cStatus = kEntryDeleted;
  Acrescenta(Mes(6), {importado, Registro(9, 4, 11, 300, /*filial=*/3), excluido});

  REG_DADOS_LANCAMENTOS dados[4];
  std::memset(dados, 0x5A, sizeof(dados));
  EXPECT_EQ(objeto_.LeLancamentosMes(Mes(6).Value(), 3, dados), S_OK);
  EXPECT_EQ(std::tuple(dados[0].wChaveOrigem.lChaveModulo, dados[0].wChaveOrigem.iData,
                       dados[0].Valor.int64, dados[0].ValorMoeda.int64, dados[0].DataLancamento,
                       dados[0].Secao, dados[0].cStatusIFRS, dados[0].bExcluido),
            std::tuple(+importado.lChaveModulo, Mes(6).Value(), 100, 0, Dia(7, 6), 0x2345, 2, 0));
  EXPECT_EQ(dados[0].lFiller, 0x5A5A5A5Au) << "not written";
  EXPECT_EQ(dados[1].Debito, 0x5A5A5A5A) << "an inactive branch's element is left as it was";
  EXPECT_EQ(std::tuple(dados[2].bExcluido, dados[2].Valor.int64), std::tuple(1, 200));
  EXPECT_EQ(dados[3].Debito, 0x5A5A5A5A);

  std::memset(dados, 0x5A, sizeof(dados));
  EXPECT_EQ(objeto_.LeLancamentosMes(Mes(6).Value(), 2, dados), kHrMaisRegistrosQueEspaco);
  EXPECT_EQ(dados[0].Valor.int64, 100);
  EXPECT_EQ(dados[2].Debito, 0x5A5A5A5A) << "nothing beyond the given count";
  EXPECT_EQ(objeto_.LeLancamentosMes(Mes(6).Value(), -1, dados), kHrMaisRegistrosQueEspaco);
  EXPECT_EQ(objeto_.LeLancamentosMes(Mes(7).Value(), 0, nullptr), S_OK) << "an empty month";
}

TEST_F(BuscaTest, CompanyListIsHandedOutOnce) {
  ULONG quantidade = 0;
  ASSERT_EQ(objeto_.GetQuantidadeEmpresas(&quantidade), S_OK);
  ASSERT_EQ(quantidade, 1u);
  EmpresasLancamento lista[3];
  std::memset(lista, 0x5A, sizeof(lista));
  EXPECT_EQ(objeto_.GetEmpresas(3, lista), S_OK);
  EXPECT_STREQ(lista[0].NomeEmpresa, TestCompany::kCodigo);
  EXPECT_EQ(lista[1].NomeEmpresa[0], 0x5A) << "only the names the list holds are written";
  EXPECT_EQ(objeto_.GetEmpresas(1, lista), kHrSemListaEmpresas);

  // A company without its "DF" folder value is not listed.
  Registry store = TestCompany::Store();
  ASSERT_EQ(store.SetString(std::string(kCompaniesKey) + "\\SEM_DF", "CN", "/tmp/x"), 0);
  ASSERT_EQ(objeto_.GetQuantidadeEmpresas(&quantidade), S_OK);
  EXPECT_EQ(quantidade, 1u);
}

}  // namespace
}  // namespace qx
