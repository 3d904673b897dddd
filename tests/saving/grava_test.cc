// Saving entries into the month files: refusals, positions, updates, the
// complement heap, differences, foreign-currency amounts and the checked mark.
#include <filesystem>
#include <string>
#include <tuple>

#include "contract/entry_messages.h"
#include "lancamento/gravacao/gravacao.h"
#include "outside/admin/periodo_fechado.h"
#include "platform/file_faults.h"
#include "saving_fixture.h"
#include "values/calendar.h"

namespace qx {
namespace {

constexpr HRESULT kSemFilial = static_cast<HRESULT>(0xFFFFFFFFu);

TEST_F(SavingTest, RefusedSavesWriteNothing) {
  auto objeto = Objeto();
  Preenche(*objeto, 4, 11, 100);
  objeto->SetFilial(0);
  EXPECT_EQ(Grava(*objeto, 0, kSemFilial), 0);
  objeto->SetFilial(1);
  objeto->SetData(0);
  EXPECT_EQ(Grava(*objeto, 0, static_cast<HRESULT>(0x00040002)), 0);
  EXPECT_TRUE(Bytes(kPrefixoLancamentos).empty()) << "no month file was made";

  RegDados dados = Dados(4, 0, 0);
  dados.Filial = 0;
  int32_t indlan = 9;
  EXPECT_EQ(objeto->GravaDados(&dados, &indlan), kSemFilial);
  EXPECT_EQ(indlan, 9);
  EXPECT_EQ(objeto->Grava(nullptr), E_POINTER);

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
}

TEST_F(SavingTest, NewEntriesAppendAndUpdatesRewriteInPlace) {
  auto objeto = Objeto();
  Preenche(*objeto, 4, 11, 100, "primeiro");
  Divide(*objeto, 3);
  EXPECT_EQ(Grava(*objeto), 1);
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
  EXPECT_EQ(Linhas().size(), 4u);

  // The checked mark, then an update with a two-line split.
  ASSERT_EQ(objeto->GravaConferido(Mes(), 1, 'S'), S_OK);
  EXPECT_EQ(+Lancamentos()[1].cConferido, 'S');
  ASSERT_EQ(objeto->Le(1, Mes()), S_OK);
  Texto(*objeto, "revisto");
  objeto->SetValor(CURRENCY{20000});
  Divide(*objeto, 2);
  EXPECT_EQ(Grava(*objeto, 1), 1);

  registros = Lancamentos();
  ASSERT_EQ(registros.size(), 3u) << "nothing appended";
  EXPECT_EQ(
      std::tuple(+registros[1].cConferido, +registros[1].Valor.int64, +registros[1].Gerencial),
      std::tuple(0, 20000, 4));
  EXPECT_GT(+registros[1].Complemento, +um.Complemento) << "the text is appended again";
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
    size_t comprimento;    // the file is cut to this length after entry 1 is saved
    uint32_t escritos;     // > 0: the next save's record write stops after these bytes
    int32_t posicao;       // where the entry after that lands
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

TEST_F(SavingTest, ComplementTextsAreCutAndEndedInTheHeap) {
  auto objeto = Objeto();
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

TEST_F(SavingTest, OneSidedAmountsKeepTheDifferenceInStep) {
  auto objeto = Objeto();
  Preenche(*objeto, 0, 11, 100);
  const int32_t indlan = Grava(*objeto);
  EXPECT_EQ(Diferenca(*objeto).int64, -1000000);
  Preenche(*objeto, 4, 0, 30);
  const int32_t outro = Grava(*objeto);
  EXPECT_EQ(Diferenca(*objeto).int64, -700000);

  // Both accounts on the re-save: the first entry's share goes away.
  Preenche(*objeto, 4, 11, 100);
  Grava(*objeto, indlan);
  EXPECT_EQ(Diferenca(*objeto).int64, 300000);
  Preenche(*objeto, 4, 11, 30);
  Grava(*objeto, outro);
  EXPECT_EQ(Diferenca(*objeto).int64, 0);
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
  Preenche(*objeto, 4, 11, 1);
  EXPECT_EQ(Grava(*objeto, 0, ARQ_ERRO_DE_LEITURA_GRAVACAO), 0);
  EXPECT_EQ(Lancamentos().size(), 4u);
}

TEST_F(SavingTest, StoredEntriesAreNotSavedOverAnotherMonthAndDeletedOnesAreWrittenOver) {
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
  // The same through an entry data record.
  RegDados dados{};
  ASSERT_EQ(objeto->LeDados(1, Mes(), &dados), S_OK);
  dados.DataLancamento = abril.Value();
  int32_t indlan = 1;
  EXPECT_EQ(objeto->GravaDados(&dados, &indlan), static_cast<HRESULT>(0x800405F9));
  EXPECT_EQ(Bytes(kPrefixoLancamentos, abril), antes);
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
}

TEST_F(SavingTest, CheckedMarkOnlyOnStoredEntries) {
  auto objeto = Objeto();
  Preenche(*objeto, 4, 11, 100);
  Grava(*objeto);
  const std::string antes = Bytes(kPrefixoLancamentos);
  EXPECT_EQ(objeto->GravaConferido(Mes(), 0, 'S'), static_cast<HRESULT>(0x000405F8));
  EXPECT_EQ(objeto->GravaConferido(Mes(), 2, 'S'), ARQ_FIM_DE_ARQUIVO);
  EXPECT_EQ(Bytes(kPrefixoLancamentos), antes);
  ASSERT_EQ(objeto->GravaConferido(Mes(), 1, 7), S_OK);
  std::string depois = antes;
  depois[50 + 44] = 7;
  EXPECT_EQ(Bytes(kPrefixoLancamentos), depois) << "only byte 44 changes";
}

// A period closed while the object lives refuses, at the next call, every
// change of the entries dated in it (new, updated from there, removed,
// checked, removed with its origin before an earlier position of the same
// origin goes); the entries after it still change.
TEST_F(SavingTest, AClosedPeriodRefusesTheChangesOfItsEntries) {
  auto objeto = Objeto();
  const CQXData depois = CQXData::Make(25, 3, 2024);
  Preenche(*objeto, 4, 11, 100, "", depois);
  const int32_t fora = Grava(*objeto);
  Preenche(*objeto, 4, 11, 100);
  const int32_t dentro = Grava(*objeto);
  ASSERT_EQ(MudaPeriodoFechado(*TestCompany::Database(), kFirstDayNumber,
                               CQXData::Make(20, 3, 2024).Value(), 1, 4096 * 3),
            S_OK);
  const std::string antes = Bytes(kPrefixoLancamentos);
  const size_t registros = Log().size();

  Preenche(*objeto, 4, 11, 100);
  Grava(*objeto, 0, kHrPeriodoFechado);
  RegDados dados = Dados(4, 11, 100);
  int32_t indlan = 0;
  EXPECT_EQ(objeto->GravaDados(&dados, &indlan), kHrPeriodoFechado);
  Preenche(*objeto, 4, 11, 100, "", depois);
  Grava(*objeto, dentro, kHrPeriodoFechado);  // the stored date is closed
  EXPECT_EQ(objeto->Exclui(dentro, Mes()), kHrPeriodoFechado);
  EXPECT_EQ(objeto->GravaConferido(Mes(), dentro, 'S'), kHrPeriodoFechado);
  EXPECT_EQ(objeto->ExcluiOffLine(Mes(), 0, 0), kHrPeriodoFechado);  // both have no origin
  EXPECT_EQ(Bytes(kPrefixoLancamentos), antes);
  EXPECT_EQ(Log().size(), registros);

  Grava(*objeto, fora);
  EXPECT_EQ(objeto->GravaConferido(Mes(), fora, 'S'), S_OK);
  EXPECT_EQ(objeto->Exclui(fora, Mes()), S_OK);
}

}  // namespace
}  // namespace qx
