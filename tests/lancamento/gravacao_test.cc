// Saving entries: refusals, positions, updates, the complement heap,
// differences, foreign-currency amounts, the checked mark, closed periods;
// the batch save against the same entries saved one by one; what a save
// reports to the change log and to document management; the failures a save
// meets without any fault of the disk.
#include "lancamento/gravacao/gravacao.h"

#include <cstring>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "contract/entry_messages.h"
#include "lancamento/gravacao/historico_texto.h"
#include "lancamento/gravacao/registro_log.h"
#include "lancamento_fixture.h"
#include "outside/admin/periodo_fechado.h"
#include "outside/database/outside_codes.h"
#include "platform/file_faults.h"
#include "storage/records/difference_record.h"
#include "values/calendar.h"
#include "values/entry_key.h"

namespace qx {
namespace {

constexpr HRESULT kSemFilial = static_cast<HRESULT>(0xFFFFFFFFu);

using Itens = std::vector<std::string>;

// The bytes of a change-log record as the record they hold.
template <class Registro>
Registro Como(const RegistroLog& registro) {
  Registro copia{};
  EXPECT_EQ(registro.dados.size(), sizeof copia);
  std::memcpy(&copia, registro.dados.data(), std::min(registro.dados.size(), sizeof copia));
  return copia;
}
RegLanAtual Imagem(const RegistroLog& registro) { return Como<RegLanAtual>(registro); }
REGLAN_GER Linha(const RegistroLog& registro) { return Como<REGLAN_GER>(registro); }

TEST_F(SavingTest, NewEntriesAppendAndUpdatesRewriteInPlace) {
  auto objeto = Objeto();
  Preenche(*objeto, 4, 11, 100, "primeiro");
  Divide(*objeto, 3);
  EXPECT_EQ(Grava(*objeto), 1);
  // The change log has the new entry before its split is written.
  EXPECT_EQ(Sequencia(), (Itens{"24I1", "8I1", "27I1", "27I2", "27I3"}));
  std::vector<RegistroLog> log = Log();
  const RegLanAtual novo = Imagem(log[0]);
  EXPECT_EQ(std::tuple(log[0].sessao, +novo.Data, +novo.Debito, +novo.Secao, +novo.Gerencial,
                       log[1].dados),
            std::tuple(4096u * 3, kData.Value(), 4, 3, 0, "primeiro"));
  EXPECT_EQ(std::tuple(+Linha(log[3]).Indlan, +Linha(log[3]).ContaGerencial), std::tuple(1u, 3));
  Preenche(*objeto, 5, 12, 7, "segundo");
  objeto->ZeraLancamentoGerencial();
  EXPECT_EQ(Grava(*objeto), 2);

  std::vector<EntryRecord> registros = Lancamentos();
  ASSERT_EQ(registros.size(), 3u);
  EXPECT_EQ(+registros[0].Documento, 0) << "the zero record";
  const EntryRecord um = registros[1];
  // Secao: session 3 * 4096 >> 12.
  EXPECT_EQ(std::tuple(+um.Debito, +um.Credito, +um.Valor.int64, +um.Secao, +um.cDia, +um.Filial,
                       +um.CodHis, +um.cStatus, +um.Gerencial),
            std::tuple(4, 11, 1000000, 3, 15, 1, 1, +kEntryLive, 1));
  EXPECT_EQ(Complemento(static_cast<uint32_t>(um.Complemento)), "primeiro");
  EXPECT_EQ(+registros[2].Gerencial, 0);

  // The checked mark, only on stored entries and only its byte, then an
  // update with a two-line split.
  const std::string antes = Bytes(kPrefixoLancamentos);
  EXPECT_EQ(objeto->GravaConferido(Mes(), 0, 'S'), static_cast<HRESULT>(0x000405F8));
  EXPECT_EQ(objeto->GravaConferido(Mes(), 3, 'S'), ARQ_FIM_DE_ARQUIVO);
  ASSERT_EQ(objeto->GravaConferido(Mes(), 1, 7), S_OK);
  std::string depois = antes;
  depois[kEntryRecordSize + 44] = 7;
  EXPECT_EQ(Bytes(kPrefixoLancamentos), depois);
  const size_t inicio = Log().size();
  const REGLAN_GER primeiraAntiga = Linhas()[1];
  ASSERT_EQ(objeto->Le(1, Mes()), S_OK);
  Texto(*objeto, "revisto");
  objeto->SetDebito(6);
  objeto->SetValor(CURRENCY{20000});
  Divide(*objeto, 2);
  EXPECT_EQ(Grava(*objeto, 1), 1);

  // Before images (the old record, the text being saved, the first old line),
  // then the new ones.
  EXPECT_EQ(Sequencia(inicio), (Itens{"24a1", "8a1", "27a1", "24A1", "8A1", "27A4", "27A5"}));
  log = Log();
  EXPECT_EQ(std::tuple(+Imagem(log[inicio]).Debito, +Imagem(log[inicio]).Gerencial,
                       log[inicio + 1].dados, +Imagem(log[inicio + 3]).Debito,
                       +Imagem(log[inicio + 3]).Data),
            std::tuple(4, 1, "revisto", 6, kData.Value()));
  const REGLAN_GER antiga = Linha(log[inicio + 2]);
  EXPECT_EQ(std::memcmp(&antiga, &primeiraAntiga, sizeof antiga), 0);
  registros = Lancamentos();
  ASSERT_EQ(registros.size(), 3u) << "nothing appended";
  EXPECT_EQ(
      std::tuple(+registros[1].cConferido, +registros[1].Valor.int64, +registros[1].Gerencial),
      std::tuple(0, 20000, 4));
  EXPECT_EQ(Complemento(static_cast<uint32_t>(registros[1].Complemento)), "revisto");
  EXPECT_EQ(Complemento(static_cast<uint32_t>(um.Complemento)), "primeiro") << "old text stays";
  const std::vector<REGLAN_GER> linhas = Linhas();
  ASSERT_EQ(linhas.size(), 6u);
  for (int p = 1; p <= 3; ++p) {
    EXPECT_EQ(std::tuple(+linhas[p].Indlan, +linhas[p].Valor.int64), std::tuple(0u, 0)) << p;
  }
  EXPECT_EQ(std::tuple(+linhas[4].Indlan, +linhas[5].Indlan, +linhas[5].ContaGerencial),
            std::tuple(1u, 1u, 3));

  // The current entry keeps what was saved.
  CURRENCY valor{};
  int32_t tem = 0;
  ASSERT_EQ(objeto->GetValor(&valor), S_OK);
  ASSERT_EQ(objeto->TemGerencial(&tem), S_OK);
  EXPECT_EQ(std::tuple(valor.int64, tem), std::tuple(20000, 1));
}

// A month file left with a partial record at its end (a write stopped part
// way, a disk that filled up) or cut short: saves still land on whole
// records, never on position 0, and read back.
TEST_F(SavingTest, SavesLandOnWholeRecordsOfAFileCutShort) {
  struct Caso {
    const char* nome;
    const char* prefixo;
    size_t comprimento;  // the file is cut to this length after entry 1 is saved
    uint32_t escritos;   // > 0: the next save's record write stops after these bytes
    int32_t posicao;     // where the entry after that lands
  };
  const Caso casos[] = {
      {"entries cut mid-record", kPrefixoLancamentos, 2 * kEntryRecordSize + 34, 0, 2},
      {"entries cut inside the zero record", kPrefixoLancamentos, 30, 0, 1},
      {"split lines cut mid-line", kPrefixoGerencial, 3 * kSplitRecordSize + 7, 0, 2},
      {"split lines cut inside the zero record", kPrefixoGerencial, 7, 0, 2},
      {"a record write stops part way", kPrefixoLancamentos, 2 * kEntryRecordSize, 34, 2},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.nome);
    std::filesystem::remove_all(company_.CnFolder());
    std::filesystem::create_directory(company_.CnFolder());
    auto objeto = Objeto();
    Preenche(*objeto, 4, 11, 100, "primeiro");
    Divide(*objeto, 2);
    ASSERT_EQ(Grava(*objeto), 1);
    std::filesystem::resize_file(Caminho(caso.prefixo), caso.comprimento);
    if (caso.escritos > 0) {
      FileFaultsGuard guard;
      FileFaults::ArmPartialWrite(1, CFileException::hardIO, caso.escritos, kPrefixoLancamentos);
      Grava(*objeto, 0, ARQ_ERRO_DE_LEITURA_GRAVACAO);
      EXPECT_EQ(Bytes(kPrefixoLancamentos).size() % kEntryRecordSize, 0u);
    }
    Preenche(*objeto, 5, 12, 7, "segundo");
    const int32_t posicao = Grava(*objeto);
    EXPECT_EQ(posicao, caso.posicao);
    EXPECT_EQ(Bytes(kPrefixoLancamentos).size(), (posicao + 1) * kEntryRecordSize);
    ASSERT_EQ(objeto->Le(posicao, Mes()), S_OK);
    CURRENCY valor{};
    objeto->GetValor(&valor);
    EXPECT_EQ(valor.int64, 70000);
    uint16_t linhas = 0;
    EXPECT_EQ(objeto->LeGerencial(&linhas), S_OK);
    EXPECT_EQ(linhas, 2);
  }
}

// Refused saves write nothing; complement texts are cut and ended in the heap.
TEST_F(SavingTest, RefusedSavesWriteNothingComplementTextsAreCutAndEnded) {
  auto objeto = Objeto();
  Preenche(*objeto, 4, 11, 100);
  objeto->SetFilial(0);
  EXPECT_EQ(Grava(*objeto, 0, kSemFilial), 0);
  objeto->SetFilial(1);
  objeto->SetData(0);
  EXPECT_EQ(Grava(*objeto, 0, static_cast<HRESULT>(0x00040002)), 0);
  EXPECT_TRUE(Bytes(kPrefixoLancamentos).empty()) << "no month file was made";

  // A session number below 4096 has no session key.
  _REG_DF_INICIALIZAPS registro = RegistroInicializacao();
  registro.ulNumeroSessao = 100;
  registro.uiCRC = CrcInicializacao(registro);
  CLancamentoBase semChave;
  ASSERT_EQ(semChave.Inicializa(registro), S_OK);
  Preenche(semChave, 4, 11, 100);
  Grava(semChave, 0, kGravaSemSessao);
  EXPECT_TRUE(Bytes(kPrefixoLancamentos).empty());
  EXPECT_TRUE(Log().empty());

  for (const std::string& texto :
       {std::string(600, 'x'), std::string("curto sem fim"), std::string()}) {
    Preenche(*objeto, 4, 11, 1, texto.c_str());
    Grava(*objeto);
  }
  const std::vector<EntryRecord> registros = Lancamentos();
  char texto[512];
  ASSERT_EQ(objeto->LeComplemento(kData, static_cast<uint32_t>(registros[1].Complemento), texto),
            ARQ_OK);
  EXPECT_EQ(std::string(texto), std::string(499, 'x') + "\r");
  // A text without a carriage return, followed by another, reads alone.
  Preenche(*objeto, 4, 11, 1, "seguinte");
  Grava(*objeto);
  ASSERT_EQ(objeto->LeComplemento(kData, static_cast<uint32_t>(registros[2].Complemento), texto),
            ARQ_OK);
  EXPECT_STREQ(texto, "curto sem fim");
  EXPECT_EQ(+registros[3].Complemento, 0) << "an empty text is no complement";
}

TEST_F(SavingTest, ForeignCurrencyAmountsGoToTheirOwnFile) {
  company_.SetConfig("foreign-currency", 1);
  auto objeto = Objeto();
  RegDados dados = Dados(4, 11, 10000);
  const auto gravaDados = [&](HRESULT esperado = S_OK) {
    int32_t indlan = 0;
    EXPECT_EQ(objeto->GravaDados(&dados, &indlan), esperado);
    return indlan;
  };
  EXPECT_EQ(gravaDados(), 1);
  EXPECT_EQ(+Lancamentos()[1].cStatus, kEntryLive);
  EXPECT_TRUE(Bytes(kPrefixoMoeda).empty()) << "no amount, no CNLM record";

  dados.ValorMoeda = CURRENCY{55};
  ASSERT_EQ(gravaDados(), 2);
  dados.ValorMoeda = CURRENCY{};
  dados.cGravarZero = 'S';
  gravaDados();
  const std::vector<EntryRecord> registros = Lancamentos();
  EXPECT_EQ(+registros[2].cStatus, kEntryLiveWithCurrency);
  EXPECT_EQ(+registros[3].cStatus, kEntryLiveWithCurrency) << "'S' keeps a zero amount";
  const std::vector<CurrencyRecord> moeda = Registros<CurrencyRecord>(kPrefixoMoeda);
  ASSERT_EQ(moeda.size(), 4u) << "entry 1 gets a zero record";
  EXPECT_EQ(std::tuple(+moeda[1].ValorMoeda.int64, +moeda[2].ValorMoeda.int64), std::tuple(0, 55));

  // A CNLM write that fails is reported and the save taken back whole: no
  // record stays, and no position is handed out.
  FileFaultsGuard guard;
  FileFaults::Arm(FileOp::Write, 1, CFileException::hardIO, "CNLM", 1000);
  dados.ValorMoeda = CURRENCY{66};
  EXPECT_EQ(gravaDados(static_cast<HRESULT>(0x80040000u | ARQ_ERRO_DE_LEITURA_GRAVACAO)), 0);
  EXPECT_EQ(Lancamentos().size(), 4u);
}

TEST_F(SavingTest, StoredEntriesStayInTheirMonthDeletedOnesAreWrittenOverClosedOnesRefused) {
  auto objeto = Objeto();
  Preenche(*objeto, 4, 11, 100, "marco");
  Grava(*objeto);
  Grava(*objeto);
  const CQXData abril = CQXData::Make(2, 4, 2024);
  Preenche(*objeto, 5, 12, 1, "abril", abril);
  Grava(*objeto);
  const std::string antes = Bytes(kPrefixoLancamentos, abril);

  // Right after saving April's entry 1, March's entry 2 is updated in March.
  Preenche(*objeto, 6, 13, 2, "marco 2");
  EXPECT_EQ(Grava(*objeto, 2), 2);
  EXPECT_EQ(+Lancamentos()[2].Debito, 6);
  EXPECT_EQ(Bytes(kPrefixoLancamentos, abril), antes);

  // Entry 1 of March moved to April would land on entry 1 of April.
  ASSERT_EQ(objeto->Le(1, Mes()), S_OK);
  objeto->SetData(CQXData::Make(9, 4, 2024).Value());
  Grava(*objeto, 1, static_cast<HRESULT>(0x000405F9));
  EXPECT_EQ(Bytes(kPrefixoLancamentos, abril), antes);
  objeto->SetData(CQXData::Make(20, 3, 2024).Value());
  Grava(*objeto, 1);  // back in its month
  EXPECT_EQ(+Lancamentos()[1].cDia, 20);
  // After a read in April its index is April's again.
  ASSERT_EQ(objeto->Le(1, Mes(abril)), S_OK);
  Grava(*objeto, 1);

  // A deleted entry saved again is written over, as a new save of its
  // position: what its removal gave back is not taken off a second time.
  ASSERT_EQ(objeto->Exclui(1, Mes()), S_OK);
  auto outro = Objeto();
  Preenche(*outro, 0, 11, 5);
  EXPECT_EQ(Grava(*outro, 1), 1);
  EXPECT_EQ(+Lancamentos()[1].cStatus, kEntryLive);
  EXPECT_EQ(Diferenca(*outro).int64, -50000);

  // A period closed while the object lives refuses, at the next call, every
  // change of the entries dated in it (new, updated from there, removed,
  // checked, removed with its origin before an earlier position of the same
  // origin goes); the entries after it still change.
  const CQXData depois = CQXData::Make(25, 3, 2024);
  Preenche(*objeto, 4, 11, 100, "", depois);
  const int32_t fora = Grava(*objeto);
  Preenche(*objeto, 4, 11, 100);
  const int32_t dentro = Grava(*objeto);
  ASSERT_EQ(MudaPeriodoFechado(*TestCompany::Database(), kFirstDayNumber,
                               CQXData::Make(20, 3, 2024).Value(), 1, 4096 * 3),
            S_OK);
  const std::string marco = Bytes(kPrefixoLancamentos);
  const size_t registros = Log().size();

  Preenche(*objeto, 4, 11, 100);
  Grava(*objeto, 0, kHrPeriodoFechado);
  Preenche(*objeto, 4, 11, 100, "", depois);
  Grava(*objeto, dentro, kHrPeriodoFechado);  // the stored date is closed
  EXPECT_EQ(objeto->Exclui(dentro, Mes()), kHrPeriodoFechado);
  EXPECT_EQ(objeto->GravaConferido(Mes(), dentro, 'S'), kHrPeriodoFechado);
  EXPECT_EQ(objeto->ExcluiOffLine(Mes(), 0, 0), kHrPeriodoFechado);  // both have no origin
  EXPECT_EQ(Bytes(kPrefixoLancamentos), marco);
  EXPECT_EQ(Log().size(), registros);

  Grava(*objeto, fora);
  EXPECT_EQ(objeto->GravaConferido(Mes(), fora, 'S'), S_OK);
  EXPECT_EQ(objeto->Exclui(fora, Mes()), S_OK);
}

struct Entrada {
  int32_t indlan;  // 0: new
  int32_t debito;
  int32_t credito;
  int64_t valor;
  std::string texto;
  uint16_t linhas;
  uint16_t filial = 1;
};

// A batch as GravaLote takes it.
struct Lote {
  std::vector<REG_LOTE_LANCAMENTO> lancamentos;
  std::vector<REG_LOTE_GERENCIAL> linhas;
  std::string textos;
  std::vector<int32_t> posicoes;
  int32_t falha = -2;

  HRESULT Grava(CLancamentoBase& objeto) {
    posicoes.assign(lancamentos.size(), -1);
    return objeto.GravaLote(
        static_cast<int32_t>(lancamentos.size()), lancamentos.data(),
        static_cast<int32_t>(linhas.size()), linhas.data(), static_cast<int32_t>(textos.size()),
        reinterpret_cast<unsigned char*>(textos.data()), posicoes.data(), &falha);
  }
};

// Line k of an entry: (k + 1) x 10 on managerial account 2 + k, quantity (k + 1) x 3.
REG_LOTE_GERENCIAL Linha(uint16_t k) {
  REG_LOTE_GERENCIAL linha{};
  linha.Linha.Valor = CURRENCY{(k + 1) * 100000};
  linha.Linha.ContaGerencial = 2 + k;
  linha.Linha.ContaContabil = 4;
  linha.Quantidade.Quantidade = CURRENCY{(k + 1) * 30000};
  return linha;
}

// The live records of an entry file, with their positions.
std::vector<std::pair<size_t, std::string>> Vivos(const std::string& arquivo) {
  std::vector<std::pair<size_t, std::string>> vivos;
  for (size_t p = 1; (p + 1) * kEntryRecordSize <= arquivo.size(); ++p) {
    const std::string registro = arquivo.substr(p * kEntryRecordSize, kEntryRecordSize);
    if (registro[43] != kEntryDeleted) vivos.emplace_back(p, registro);
  }
  return vivos;
}

class GravaLoteTest : public SavingTest {
 protected:
  static RegDados DadosDe(const Entrada& e, CQXData data) {
    RegDados dados = Dados(e.debito, e.credito, e.valor * 10000);
    dados.DataLancamento = data.Value();
    dados.Filial = static_cast<int16_t>(e.filial);
    dados.Documento = 77;
    dados.CodHis = 1;
    return dados;
  }

  static Lote Monta(const std::vector<Entrada>& entradas, CQXData data) {
    Lote lote;
    for (const Entrada& e : entradas) {
      REG_LOTE_LANCAMENTO l{};
      l.Dados = DadosDe(e, data);
      l.Indlan = e.indlan;
      l.ulInicioComplemento = static_cast<uint32_t>(lote.textos.size());
      l.usTamanhoComplemento = static_cast<uint16_t>(e.texto.size());
      l.usQtdGerencial = e.linhas;
      lote.textos += e.texto;
      for (uint16_t k = 0; k < e.linhas; ++k) lote.linhas.push_back(Linha(k));
      lote.lancamentos.push_back(l);
    }
    return lote;
  }

  // The same entries through the published interface, one GravaDados each.
  static void GravaUmAUm(CLancamentoBase& objeto, const std::vector<Entrada>& entradas,
                         CQXData data) {
    for (const Entrada& e : entradas) {
      Texto(objeto, e.texto);
      std::vector<RegLan_Ger> linhas;
      std::vector<RegQtd_Ger> quantidades;
      for (uint16_t k = 0; k < e.linhas; ++k) {
        linhas.push_back(Linha(k).Linha);
        quantidades.push_back(Linha(k).Quantidade);
      }
      objeto.SetLancamentoGerencial(e.linhas, linhas.data());
      objeto.SetQuantidadeGerencial(e.linhas, quantidades.data());
      RegDados dados = DadosDe(e, data);
      int32_t indlan = e.indlan;
      EXPECT_EQ(objeto.GravaDados(&dados, &indlan), S_OK);
    }
  }

  // The change log from `desde` on, each record as its kind and bytes; the
  // date of an entry image, which tells the months apart, left out.
  static std::vector<std::string> LogSemData(size_t desde) {
    std::vector<std::string> itens;
    const std::vector<RegistroLog> log = Log();
    for (size_t i = desde; i < log.size(); ++i) {
      std::string dados = log[i].dados;
      if (log[i].tipo == kLogTipoLancamento && dados.size() == sizeof(RegLanAtual)) {
        std::memset(dados.data() + offsetof(RegLanAtual, Data), 0, sizeof(uint32_t));
      }
      itens.push_back(std::to_string(log[i].tipo) + log[i].servico + std::to_string(log[i].chave) +
                      ":" + dados);
    }
    return itens;
  }
};

const CQXData kAbril = CQXData::Make(15, 4, 2024);

TEST_F(GravaLoteTest, SameFilesAndChangeLogAsOneByOne) {
  const std::vector<Entrada> entradas = {
      {0, 4, 11, 100, "aluguel", 0},
      {0, 4, 0, 250, "", 2},  // one-sided: the totals hear of it
      {0, 5, 11, 70, std::string(600, 'x'), 3},
      {1, 5, 11, 90, "alterado", 1},  // an update of the first entry, in the same batch
      {0, 31, 21, 10, "sem rateio", 0},
  };
  auto objeto = Objeto();
  GravaUmAUm(*objeto, entradas, kData);
  const size_t meio = Log().size();

  Preenche(*objeto, 12, 11, 5, "entrada corrente");
  Lote lote = Monta(entradas, kAbril);
  ASSERT_EQ(lote.Grava(*objeto), S_OK);
  EXPECT_EQ(lote.falha, -1);
  EXPECT_EQ(lote.posicoes, (std::vector<int32_t>{1, 2, 3, 1, 4}));
  for (const char* prefixo :
       {kPrefixoLancamentos, kPrefixoGerencial, kPrefixoQuantidades, kPrefixoComplementos}) {
    EXPECT_EQ(Bytes(prefixo, kAbril), Bytes(prefixo, kData)) << prefixo;
  }
  std::vector<std::string> umAUm = LogSemData(0);
  umAUm.resize(meio);
  EXPECT_EQ(LogSemData(meio), umAUm);
  EXPECT_EQ(Diferenca(*objeto, kAbril).int64, Diferenca(*objeto, kData).int64);
  // The published interface's current entry is the client's own.
  int32_t debito = 0;
  objeto->GetDebito(&debito);
  EXPECT_EQ(debito, 12);
}

TEST_F(GravaLoteTest, AFailingEntryUndoesTheWholeBatch) {
  auto objeto = Objeto();
  GravaUmAUm(*objeto, {{0, 4, 11, 100, "antes", 2}, {0, 4, 0, 40, "", 0}}, kData);
  // An undone update leaves only its before image in the change log, as a
  // single save does.
  struct Caso {
    const char* nome;
    std::vector<Entrada> entradas;
    int32_t falha;
    HRESULT hr;
  };
  const Caso casos[] = {
      {"no branch",
       {{0, 4, 11, 1, "a", 1}, {2, 5, 0, 7, "b", 2}, {0, 4, 11, 3, "c", 0, 0}},
       2,
       kSemFilial},
      {"past the end",
       {{1, 5, 11, 9, "d", 3}, {99, 4, 11, 1, "", 0}},
       1,
       QXHresultDoStatus(ARQ_FIM_DE_ARQUIVO)},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.nome);
    // The month's live entries and the totals of its dates stay as they were.
    const auto antes = std::pair(Vivos(Bytes(kPrefixoLancamentos)), Diferenca(*objeto).int64);
    const size_t log = Log().size();
    Lote lote = Monta(caso.entradas, kData);
    EXPECT_EQ(lote.Grava(*objeto), caso.hr);
    EXPECT_EQ(lote.falha, caso.falha);
    EXPECT_EQ(lote.posicoes, std::vector<int32_t>(caso.entradas.size(), 0));
    EXPECT_EQ(std::pair(Vivos(Bytes(kPrefixoLancamentos)), Diferenca(*objeto).int64), antes);
    EXPECT_EQ(Log().size(), log + 2);
  }
}

TEST_F(GravaLoteTest, ArgumentsThatDoNotHangTogetherWriteNothing) {
  auto objeto = Objeto();
  const std::vector<Entrada> entradas = {{0, 4, 11, 100, "texto", 2}};
  const std::pair<const char*, void (*)(Lote&)> casos[] = {
      {"one split line too many", [](Lote& l) { l.linhas.push_back(Linha(5)); }},
      {"a text past the bytes", [](Lote& l) { l.lancamentos[0].ulInicioComplemento = 1; }},
      {"no text bytes", [](Lote& l) { l.textos.clear(); }},
  };
  for (const auto& [nome, estraga] : casos) {
    SCOPED_TRACE(nome);
    Lote lote = Monta(entradas, kData);
    estraga(lote);
    EXPECT_EQ(lote.Grava(*objeto), E_INVALIDARG);
    EXPECT_EQ(lote.falha, -1);
  }
  int32_t falha = 0;
  EXPECT_EQ(objeto->GravaLote(-1, nullptr, 0, nullptr, 0, nullptr, nullptr, &falha), E_INVALIDARG);
  EXPECT_EQ(objeto->GravaLote(0, nullptr, 0, nullptr, 0, nullptr, nullptr, &falha), S_OK);
  EXPECT_LE(Lancamentos().size(), 1u) << "the zero record at most";
  EXPECT_TRUE(Log().empty());
}


class SavingGedTest : public SavingTest {
 protected:
  SavingGedTest() : SavingTest(/*ged=*/true) {}
};

TEST(HistoricoTexto, MarksTakeTheComplementAndTheAccountNames) {
  // The marks in place are shown by the document management notices.
  EXPECT_EQ(ContasDoHistorico("Tarifa #C"), 0);
  EXPECT_EQ(ComporHistorico("Tarifa   ", "mensal", "", ""), "Tarifa mensal");
  EXPECT_EQ(ComporHistorico("", "so o texto  ", "", ""), "so o texto");
  EXPECT_EQ(ComporHistorico("Conta #D #", "", "", ""), "Conta  #");
}

// Updates are told with both documents; a locked document refuses the next
// change before the record is written; a failed update is told back.
TEST_F(SavingGedTest, UpdatesAreNotifiedWithBothDocumentsUnlessLocked) {
  ASSERT_EQ(AdicionaHistorico(*TestCompany::Database(), {9, "Pago a #K por #D: #C", "PG"}), S_OK);
  auto objeto = Objeto();
  Preenche(*objeto, 4, 11, 100, "nota 1");
  Grava(*objeto);
  EXPECT_TRUE(TestCompany::GedNotices().empty()) << "new entries are not reported";

  objeto->SetHistorico(9);
  objeto->SetDocumento(88);
  Grava(*objeto, 1);
  const std::vector<NotificacaoGed> lista = TestCompany::GedNotices();
  ASSERT_EQ(lista.size(), 1u);
  const NotificacaoGed& n = lista[0];
  EXPECT_EQ(
      std::tuple(n.operacao, n.chave, n.documentoNovo, n.documentoAntigo, n.filialNova, n.dataNova,
                 n.descricaoNova, n.descricaoAntiga),
      std::tuple('A', MakeChaveComposta(1, kData.MesAno()), 88, 77, 1, kData.Value(),
                 "Pago a Fornecedores por Caixa: nota 1", "Pagamento conforme documento nota 1"));

  ASSERT_EQ(DefineDocumentoBloqueado(*TestCompany::Database(), n.chave, true), S_OK);
  const std::string antes = Bytes(kPrefixoLancamentos);
  const size_t registros = Log().size();
  objeto->SetValor(CURRENCY{1});
  Grava(*objeto, 1, E_QXDF_DOCUMENTO_BLOQUEADO);
  EXPECT_EQ(Bytes(kPrefixoLancamentos), antes);
  EXPECT_EQ(Sequencia(registros), (std::vector<std::string>{"24a1", "8a1"}));
  auto outro = Objeto();  // the mark is free again
  Preenche(*outro, 0, 11, 1);
  EXPECT_EQ(Grava(*outro), 2);

  // The one-sided entry's totals cannot be written: the update fails after
  // document management has accepted it, and is told back.
  std::filesystem::permissions(company_.CnFolder() + "/" + kDifferenceFileName,
                               std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::remove);
  outro->SetDocumento(88);
  int32_t indlan = 2;
  EXPECT_NE(outro->Grava(&indlan), S_OK);
  const std::vector<NotificacaoGed> avisos = TestCompany::GedNotices();
  ASSERT_EQ(avisos.size(), 3u);
  EXPECT_EQ(std::tuple(avisos[1].documentoNovo, avisos[1].documentoAntigo), std::tuple(88, 77));
  EXPECT_EQ(std::tuple(avisos[2].operacao, avisos[2].chave, avisos[2].documentoNovo,
                       avisos[2].documentoAntigo),
            std::tuple('A', avisos[1].chave, 77, 88));
}

// The failures a client meets without any fault of the disk: a read-only
// difference file and a total that would overflow. The save (new, or an
// update of entry 2) reports them and leaves no live entry; the same call,
// repeated once the cause is gone, stores the entry once.
class SaveFailure : public SavingTest,
                    public ::testing::WithParamInterface<std::tuple<bool, bool>> {};

TEST_P(SaveFailure, LeavesNoLiveEntryAndTheRepeatedCallStoresItOnce) {
  const auto [alteracao, somenteLeitura] = GetParam();
  company_.SetConfig("foreign-currency", 1);
  company_.SetConfig("managerial-quantities", 1);
  auto objeto = Objeto();
  for (int i = 0; i < 2; ++i) {
    Preenche(*objeto, 0, 11, 10 + i, "complemento");
    Divide(*objeto, 2);
    Grava(*objeto);
  }
  const std::string antes = Bytes(kPrefixoLancamentos);
  const std::string totais = company_.CnFolder() + "/" + kDifferenceFileName;
  if (somenteLeitura) {
    std::filesystem::permissions(totais, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
  }
  objeto = Objeto();
  ASSERT_EQ(alteracao ? objeto->Le(2, Mes()) : S_OK, S_OK);
  int32_t indlan = alteracao ? 2 : 0;
  RegDados dados = Dados(0, 11, somenteLeitura ? 400000 : INT64_MAX - 50000);
  EXPECT_TRUE(FAILED(objeto->GravaDados(&dados, &indlan)));
  EXPECT_EQ(indlan, alteracao ? 2 : 0);
  EXPECT_EQ(Vivos(Bytes(kPrefixoLancamentos)), Vivos(antes));
  EXPECT_EQ(SomaDiferencas(*objeto), -21 * 10000);

  std::filesystem::permissions(totais, std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::add);
  dados.Valor = CURRENCY{400000};
  ASSERT_EQ(objeto->GravaDados(&dados, &indlan), S_OK);
  EXPECT_EQ(Vivos(Bytes(kPrefixoLancamentos)).size(), Vivos(antes).size() + !alteracao);
  EXPECT_EQ(SomaDiferencas(*objeto), (alteracao ? -50 : -61) * 10000);
}

INSTANTIATE_TEST_SUITE_P(Causas, SaveFailure,
                         ::testing::Combine(::testing::Bool(), ::testing::Bool()),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param) ? "Update" : "NewEntry") +
                                  (std::get<1>(info.param) ? "ReadOnlyTotals" : "Overflow");
                         });

}  // namespace
}  // namespace qx
