// The searches: the acceptance test of a record (bounds, field tests, origin
// selection, complement, managerial account), the filtered search and its
// keys, the account search, and the months a search reads.
#include <cstring>
#include <filesystem>
#include <tuple>
#include <utility>
#include <vector>

#include "contract/busca_codigos.h"
#include "lancamento/buscas/busca_comum.h"
#include "lancamento/buscas/filtro_aceita.h"
#include "lancamento_fixture.h"
#include "platform/file_faults.h"

namespace qx {
namespace {

const uint32_t kPrimeiro = Dia(1, 3);
const uint32_t kUltimo = Dia(31, 3);

using Busca = LancamentoTest;

class Aceitacao : public MesesTest {
 protected:
  Aceitacao() { filiais_.Define(1, {1, 2}); }

  // Whether the filter accepts the record at `posicao` of `mes`, searched
  // over March 2024.
  bool Aceita(const EntryRecord& r, int32_t posicao = 1, uint16_t mes = kMarco) {
    AceitacaoFiltro aceitacao(filtro_, kPrimeiro, kUltimo, filiais_, sessoes_);
    aceitacao.IniciaMes(mes, nullptr, nullptr);
    bool aceito = false;
    EXPECT_EQ(aceitacao.Aceita(r, posicao, &aceito), ARQ_OK);
    return aceito;
  }
  EntryRecord ComOrigem(uint32_t modulo, uint32_t chave = 7) {
    EntryRecord r = Registro(5);
    r.lChaveModulo = MakeChaveModulo(chave, modulo);
    return r;
  }

  // The accepted positions of the records, read as March's with its
  // complement heap and split lines.
  std::vector<uint32_t> Aceitos(const std::vector<EntryRecord>& registros) {
    AceitacaoFiltro aceitacao(filtro_, kPrimeiro, kUltimo, filiais_, sessoes_);
    CQXarq heap;
    CQXarq gerencial;
    EXPECT_EQ(
        heap.Abre(marco_.Nome(kPrefixoComplementos).c_str(), 'L', kTamanhoLeituraComplemento, true),
        ARQ_OK);
    EXPECT_EQ(gerencial.Abre(marco_.Nome(kPrefixoGerencial).c_str(), 'L', kSplitRecordSize, true),
              ARQ_OK);
    aceitacao.IniciaMes(kMarco, &heap, &gerencial);
    std::vector<uint32_t> aceitos;
    for (size_t i = 0; i < registros.size(); ++i) {
      bool aceito = false;
      EXPECT_EQ(aceitacao.Aceita(registros[i], static_cast<int32_t>(i + 1), &aceito), ARQ_OK);
      if (aceito) aceitos.push_back(static_cast<uint32_t>(i + 1));
    }
    return aceitos;
  }
  EntryRecord ComComplemento(const std::string& texto) {
    EntryRecord r = Registro(5);
    r.Complemento = marco_.Complemento(texto);
    return r;
  }

  FiltroLancamento filtro_;
  CQXDadosDF_FiliaisAtivas filiais_;
  std::vector<int32_t> sessoes_;
};

// A fresh filter takes the live entries of active branches within the bounds;
// then each field test, the position bounds, sessions and checked marks.
TEST_F(Aceitacao, BoundsFieldsPositionsSessionsAndCheckedMarks) {
  EntryRecord excluido = Registro(5);
  excluido.cStatus = kEntryDeleted;
  EntryRecord comMoeda = Registro(5);
  comMoeda.cStatus = kEntryLiveWithCurrency;
  // Branch 3 is not active for the user; day 40 is cut to the month's end,
  // day 0 has no date, below every bound.
  EXPECT_EQ(Aceitos({Registro(1), Registro(31), Registro(5, 4, 11, 1, 2), Registro(5, 4, 11, 1, 3),
                     excluido, comMoeda, Registro(40), Registro(0)}),
            (std::vector<uint32_t>{1, 2, 3, 6, 7}));
  // The filter's dates replace the search's bounds.
  filtro_.DataInicial = Dia(10, 3);
  filtro_.DataFinal = Dia(20, 3);
  EXPECT_EQ(Aceitos({Registro(9), Registro(10), Registro(20), Registro(21)}),
            (std::vector<uint32_t>{2, 3}));
  // Records of April are outside March's bounds.
  EXPECT_FALSE(Aceita(Registro(15), 1, kMarco + 1));

  // (Branch, account, history and IFRS are among the end-to-end search cases.)
  filtro_ = FiltroLancamento{};
  filtro_.ValorInicial.int64 = 1000000;  // 100.00 with ValorFinal 0: nothing passes
  EXPECT_FALSE(Aceita(Registro(5)));
  filtro_.ValorFinal.int64 = 1000000;
  EXPECT_EQ(Aceitos({Registro(5), Registro(5, 4, 11, 999999)}), std::vector<uint32_t>{1});
  filtro_.ValorInicial.int64 = -5;
  filtro_.ValorFinal.int64 = 0;
  EXPECT_TRUE(Aceita(Registro(5, 4, 11, -5)));

  // Documents are 100 + the day.
  filtro_ = FiltroLancamento{};
  filtro_.DocumentoFinal = 120;  // without DocumentoInicial: no document test
  EXPECT_TRUE(Aceita(Registro(30)));
  filtro_.DocumentoInicial = 105;
  EXPECT_EQ(Aceitos({Registro(4), Registro(5), Registro(20), Registro(30)}),
            (std::vector<uint32_t>{2, 3}));

  // Position bounds (10 and 20) cut only the first and the last month: first
  // and last month (0: no bound), position, accepted.
  const int m = kMarco;
  const std::tuple<int, int, int32_t, bool> posicoes[] = {
      {0, 0, 1, true},         {m, 0, 9, false},         {m, 0, 10, true},
      {m, 0, 30, true},        {m, m, 21, false},        {m, m, 20, true},
      {m - 1, m + 1, 1, true}, {m - 1, m + 1, 50, true}, {m - 1, m - 1, 15, false},
  };
  for (const auto& [mesInicial, mesFinal, posicao, aceito] : posicoes) {
    filtro_ = FiltroLancamento{};
    filtro_.ChaveInicial = 10;
    filtro_.ChaveFinal = 20;
    std::tie(filtro_.MesInicial, filtro_.MesFinal) = std::tuple(mesInicial, mesFinal);
    EXPECT_EQ(Aceita(Registro(5), posicao), aceito)
        << mesInicial << " " << mesFinal << " " << posicao;
  }
  EntryRecord r = Registro(5);

  // The session key.
  filtro_ = FiltroLancamento{};
  filtro_.Sessao = 4;
  EXPECT_FALSE(Aceita(r));
  filtro_.Sessao = 3;
  EXPECT_TRUE(Aceita(r));

  // The user's sessions: an empty table admits nothing.
  filtro_ = FiltroLancamento{};
  filtro_.iUsuario = 1;
  EXPECT_FALSE(Aceita(r));
  sessoes_ = {9, 3, 1};
  EXPECT_TRUE(Aceita(r));
  r.Secao = 2;
  EXPECT_FALSE(Aceita(r));

  // Checked marks: one flag tests, both or neither do not.
  EntryRecord conferido = Registro(5);
  conferido.cConferido = 1;
  const std::tuple<int, int, std::vector<uint32_t>> marcas[] = {
      {1, 0, {1}}, {1, 1, {1, 2}}, {0, 1, {2}}, {0, 0, {1, 2}}};
  for (const auto& [conferidos, naoConferidos, aceitos] : marcas) {
    filtro_ = FiltroLancamento{};
    std::tie(filtro_.Origem.bConferidos, filtro_.Origem.bNaoConferidos) =
        std::tuple(conferidos, naoConferidos);
    EXPECT_EQ(Aceitos({conferido, Registro(5)}), aceitos) << conferidos << naoConferidos;
  }
}

TEST_F(Aceitacao, OriginSelectionAndOriginKey) {
  // Financial flags alone leave the selection inactive: every origin passes.
  filtro_.Origem.bFNCPLan = 1;
  EXPECT_EQ(Aceitos({ComOrigem(21), Registro(5)}), (std::vector<uint32_t>{1, 2}));
  // With bFinanceiro only payables (6) pass, and typed entries need bContabilidade.
  filtro_.Origem.bFinanceiro = 1;
  EXPECT_EQ(Aceitos({ComOrigem(6), ComOrigem(4), Registro(5)}), std::vector<uint32_t>{1});
  filtro_.Origem.bContabilidade = 1;
  EXPECT_TRUE(Aceita(Registro(5)));

  filtro_ = FiltroLancamento{};
  filtro_.Origem.bEscritaFiscal = 1;
  // 25: a code no flag lists.
  EXPECT_EQ(Aceitos({ComOrigem(95), ComOrigem(25), ComOrigem(66)}), std::vector<uint32_t>{1});
  filtro_.Origem.bGeradorLancamento = 1;  // one of the flags that list it
  EXPECT_TRUE(Aceita(ComOrigem(66)));

  // A batch number must be the batch's origin key.
  filtro_ = FiltroLancamento{};
  filtro_.Origem.bLote = 1;
  filtro_.Origem.lNumeroLote = 7;
  EXPECT_EQ(Aceitos({ComOrigem(22, 7), ComOrigem(22, 8)}), std::vector<uint32_t>{1});

  // The origin key and month; typed entries pass that test.
  filtro_ = FiltroLancamento{};
  filtro_.Origem.lChaveOrigem = 7;
  EXPECT_EQ(Aceitos({ComOrigem(5, 7), ComOrigem(5, 8), Registro(5)}),
            (std::vector<uint32_t>{1, 3}));
  filtro_.Origem.iMesOrigem = 100;
  EntryRecord r = ComOrigem(5, 7);
  EXPECT_FALSE(Aceita(r));
  r.iData = 100;
  EXPECT_TRUE(Aceita(r));
}

TEST_F(Aceitacao, ComplementWithoutAccentsOrCaseAndManagerialAccount) {
  // Texts are read up to their carriage return (or a zero byte): the heap
  // keeps no lengths.
  const std::vector<EntryRecord> registros = {
      ComComplemento("A\xC7\xC3O DE COBRAN\xC7"
                     "A\r"),
      ComComplemento("Pagamento de fornecedor\r"),
      Registro(5),  // no complement
      ComComplemento("linha um\rACAO depois do fim\r"),
      ComComplemento("a\xE7\xE3o"),
  };
  std::strcpy(filtro_.Complemento, "acao");
  EXPECT_EQ(Aceitos(registros), (std::vector<uint32_t>{1, 5}));
  std::strcpy(filtro_.Complemento, "A\xC7\xC3O");
  EXPECT_EQ(Aceitos(registros), (std::vector<uint32_t>{1, 5}));
  std::strcpy(filtro_.Complemento, "linha um\r");  // the carriage return ends a text
  EXPECT_EQ(Aceitos(registros), (std::vector<uint32_t>{4}));

  // The managerial account of the entry's chain.
  filtro_ = FiltroLancamento{};
  EntryRecord semSplit = Registro(5);
  EntryRecord comConta3 = Registro(5);
  comConta3.Gerencial = Gerencial(0x10000002, {2, 3});
  EntryRecord outraCadeia = Registro(5);
  outraCadeia.Gerencial = Gerencial(3, {2});
  Gerencial(4, {3});  // next chain: not the entry's
  filtro_.ContaGerencial = 3;
  EXPECT_EQ(Aceitos({semSplit, comConta3, outraCadeia}), (std::vector<uint32_t>{2}));
  filtro_.ContaGerencial = 2;
  EXPECT_EQ(Aceitos({semSplit, comConta3, outraCadeia}), (std::vector<uint32_t>{2, 3}));
}

constexpr int32_t kSentinela = 0x5A5A5A5A;

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

TEST_F(Busca, SearchKeysCountMonthsFromTheBaseMonth) {
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
  EXPECT_EQ(std::tuple(chaves[0] >> 24, chaves[0] & 0xFFFFFF, chaves[1], chaves[2]),
            std::tuple(-2, 1, 1, 2));
}

// A key holds its month as a signed 8-bit offset from the base month: longer
// ranges are refused before any file is touched, with one error log line.
TEST_F(Busca, RangesBeyondTheKeysMonthOffsetAreRefusedBeforeAnyFile) {
  auto data = [](int dia, int mes, int ano) { return CQXData::Make(dia, mes, ano).Value(); };
  // Base date (the account search is based at its first day), the filter's
  // initial date (0 none), final date, accepted, whether the account search.
  const std::tuple<uint32_t, uint32_t, uint32_t, bool, bool> buscas[] = {
      {data(1, 1, 2016), 0, data(30, 9, 2026), false, false},                 // 128 months after
      {data(1, 1, 2016), 0, data(31, 8, 2026), true, false},                  // 127 after
      {data(1, 3, 2024), data(1, 6, 2013), data(31, 3, 2024), false, false},  // 129 before
      {data(1, 3, 2024), data(1, 7, 2013), data(31, 3, 2024), true, false},   // 128 before
      {0, 0, data(31, 12, 2024), false, false},                               // based in month 0
      {data(1, 1, 2016), 0, data(31, 8, 2026), true, true},
      {data(1, 1, 2016), 0, data(30, 9, 2026), false, true},
  };
  for (const auto& [base, inicial, final, aceita, porConta] : buscas) {
    std::filesystem::remove_all(company_.CnFolder());
    std::filesystem::create_directory(company_.CnFolder());
    ASSERT_EQ(objeto_.SetDataInicial(inicial), S_OK);
    const int linhas = company_.ErrorLines();
    int32_t quantidade = -1;
    const REGLAN_CONTAPS conta{4, base, final, 0};
    EXPECT_EQ(porConta ? objeto_.BuscaQtdLancamentosConta(conta, &quantidade)
                       : objeto_.BuscaQtdLancamentos(base, final, &quantidade),
              aceita ? S_OK : kHrPeriodoBuscaLongo)
        << base;
    EXPECT_EQ(quantidade, 0);
    EXPECT_EQ(company_.ErrorLines(), linhas + (aceita ? 0 : 1)) << base;
    EXPECT_EQ(std::filesystem::is_empty(company_.CnFolder()), !aceita) << base;
  }
}

TEST_F(Busca, FetchingFewerKeysDropsTheRestAndNeverWritesBeyondTheCount) {
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
TEST_F(Busca, UnreadableMonthsGiveTheirCodeNotAnEmptyMonth) {
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
    const std::string fevereiro = Caminho(kPrefixoLancamentos, Mes(2).Value());
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
    EXPECT_EQ(objeto_.PegaQuantidadeRegistros(Mes(2).Value(), &lancamentos, &excluidos, &gerenciais,
                                              &importados),
              caso.status);
  }
}

TEST_F(Busca, UserAndComplementFiltersReadTheirSources) {
  // The test session (number 3 x 4096) is the user's only session in the
  // change log: its entries carry the session key 3.
  EntryRecord daSessao = Registro(5, 4, 11, 100);
  daSessao.Complemento = AcrescentaComplemento(Mes(3),
                                               "A\xC7\xC3O DE COBRAN\xC7"
                                               "A");
  EntryRecord outra = Registro(6, 4, 11, 200);
  outra.Secao = 5;
  outra.Complemento = AcrescentaComplemento(Mes(3), "acao de cobranca");
  EntryRecord semSessao = Registro(7, 4, 11, 300);
  semSessao.Secao = 0;
  Acrescenta(Mes(3), {daSessao, outra, semSessao});
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

  // Nor is a suite database that fails under the search (the user's branches
  // cannot be read) an empty result.
  const std::shared_ptr<SuiteDatabase> db = TestCompany::Database();
  ASSERT_EQ(db->Write([&] { return db->Execute("DROP TABLE filiais_ativas"); }), S_OK);
  int32_t quantidade = -1;
  EXPECT_TRUE(FAILED(objeto_.BuscaQtdLancamentos(Dia(1, 3), Dia(31, 3), &quantidade)));
  EXPECT_EQ(quantidade, 0);
}

TEST_F(Busca, AccountSearchOrdersByDateThenPositionAndAppends) {
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
}

}  // namespace
}  // namespace qx
