// Saving entries into the month files: refusals, positions, updates, the
// complement heap, differences, foreign-currency amounts and the checked mark.
#include <string>

#include "entries/gravacao.h"
#include "platform/file_faults.h"
#include "saving_fixture.h"

namespace qx {
namespace {

constexpr HRESULT kSemFilial = static_cast<HRESULT>(0xFFFFFFFFu);

TEST_F(SavingTest, RefusedSavesWriteNothing) {
  auto objeto = Objeto();
  int32_t indlan = 0;
  Preenche(*objeto, 4, 11, 100);
  objeto->SetFilial(0);
  EXPECT_EQ(objeto->Grava(&indlan), kSemFilial);
  objeto->SetFilial(1);
  objeto->SetData(0);
  EXPECT_EQ(objeto->Grava(&indlan), static_cast<HRESULT>(0x00040002));
  EXPECT_EQ(indlan, 0);
  EXPECT_TRUE(Bytes(kPrefixoLancamentos).empty()) << "no month file was made";

  RegDados dados{};
  dados.DataLancamento = kData.Value();
  dados.Debito = 4;
  indlan = 9;
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
  indlan = 0;
  EXPECT_EQ(semChave.Grava(&indlan), kGravaSemSessao);
  EXPECT_TRUE(Bytes(kPrefixoLancamentos).empty());
  EXPECT_TRUE(Log().empty());
}

TEST_F(SavingTest, NewEntriesAppendAndUpdatesRewriteInPlace) {
  auto objeto = Objeto();
  Preenche(*objeto, 4, 11, 100, "primeiro");
  Divide(*objeto, 3);
  int32_t primeiro = 0;
  ASSERT_EQ(objeto->Grava(&primeiro), S_OK);
  EXPECT_EQ(primeiro, 1);
  Preenche(*objeto, 5, 12, 7, "segundo");
  objeto->ZeraLancamentoGerencial();
  int32_t segundo = 0;
  ASSERT_EQ(objeto->Grava(&segundo), S_OK);
  EXPECT_EQ(segundo, 2);

  std::vector<EntryRecord> registros = Lancamentos();
  ASSERT_EQ(registros.size(), 3u);
  EXPECT_EQ(+registros[0].Documento, 0) << "the zero record";
  const EntryRecord um = registros[1];
  EXPECT_EQ(+um.Debito, 4);
  EXPECT_EQ(+um.Credito, 11);
  EXPECT_EQ(+um.Valor.int64, 1000000);
  EXPECT_EQ(+um.Secao, 3) << "session 3 * 4096 >> 12";
  EXPECT_EQ(+um.cDia, 15);
  EXPECT_EQ(+um.Filial, 1);
  EXPECT_EQ(+um.CodHis, 1);
  EXPECT_EQ(+um.cStatus, kEntryLive);
  EXPECT_EQ(+um.Gerencial, 1);
  EXPECT_EQ(Complemento(static_cast<uint32_t>(um.Complemento)), "primeiro");
  EXPECT_EQ(+registros[2].Gerencial, 0);
  EXPECT_EQ(Linhas().size(), 4u);

  // The checked mark, then an update with a two-line split.
  ASSERT_EQ(objeto->GravaConferido(Mes(), 1, 'S'), S_OK);
  EXPECT_EQ(+Lancamentos()[1].cConferido, 'S');
  ASSERT_EQ(objeto->Le(1, Mes()), S_OK);
  BSTR texto = BstrFromCp1252("revisto");
  objeto->SetComplemento(texto);
  SysFreeString(texto);
  objeto->SetValor(CURRENCY{20000});
  Divide(*objeto, 2);
  int32_t indlan = 1;
  ASSERT_EQ(objeto->Grava(&indlan), S_OK);
  EXPECT_EQ(indlan, 1);

  registros = Lancamentos();
  ASSERT_EQ(registros.size(), 3u) << "nothing appended";
  EXPECT_EQ(+registros[1].cConferido, 0);
  EXPECT_EQ(+registros[1].Valor.int64, 20000);
  EXPECT_GT(+registros[1].Complemento, +um.Complemento) << "the text is appended again";
  EXPECT_EQ(Complemento(static_cast<uint32_t>(registros[1].Complemento)), "revisto");
  EXPECT_EQ(Complemento(static_cast<uint32_t>(um.Complemento)), "primeiro") << "old text stays";
  const std::vector<REGLAN_GER> linhas = Linhas();
  ASSERT_EQ(linhas.size(), 6u);
  for (int p = 1; p <= 3; ++p) {
    EXPECT_EQ(+linhas[p].Indlan, 0u) << p;
    EXPECT_EQ(+linhas[p].Valor.int64, 0) << p;
  }
  EXPECT_EQ(+registros[1].Gerencial, 4);
  EXPECT_EQ(+linhas[4].Indlan, 1u);
  EXPECT_EQ(+linhas[5].Indlan, 1u);
  EXPECT_EQ(+linhas[5].ContaGerencial, 3);

  // The current entry keeps what was saved.
  CURRENCY valor{};
  ASSERT_EQ(objeto->GetValor(&valor), S_OK);
  EXPECT_EQ(valor.int64, 20000);
  int32_t tem = 0;
  ASSERT_EQ(objeto->TemGerencial(&tem), S_OK);
  EXPECT_EQ(tem, 1);
}

TEST_F(SavingTest, ComplementTextsAreCutAndEndedInTheHeap) {
  auto objeto = Objeto();
  Preenche(*objeto, 4, 11, 1, std::string(600, 'x').c_str());
  int32_t longo = 0;
  ASSERT_EQ(objeto->Grava(&longo), S_OK);
  Preenche(*objeto, 4, 11, 1, "curto sem fim");
  int32_t curto = 0;
  ASSERT_EQ(objeto->Grava(&curto), S_OK);
  Preenche(*objeto, 4, 11, 1, "");
  int32_t vazio = 0;
  ASSERT_EQ(objeto->Grava(&vazio), S_OK);

  const std::vector<EntryRecord> registros = Lancamentos();
  char texto[512];
  ASSERT_EQ(objeto->LeComplemento(kData, static_cast<uint32_t>(registros[1].Complemento), texto),
            ARQ_OK);
  EXPECT_EQ(std::string(texto), std::string(499, 'x') + "\r");
  // A text without a carriage return, followed by another, reads alone.
  Preenche(*objeto, 4, 11, 1, "seguinte");
  int32_t seguinte = 0;
  ASSERT_EQ(objeto->Grava(&seguinte), S_OK);
  ASSERT_EQ(objeto->LeComplemento(kData, static_cast<uint32_t>(registros[2].Complemento), texto),
            ARQ_OK);
  EXPECT_STREQ(texto, "curto sem fim");
  EXPECT_EQ(+registros[3].Complemento, 0) << "an empty text is no complement";
}

TEST_F(SavingTest, OneSidedAmountsKeepTheDifferenceInStep) {
  auto objeto = Objeto();
  Preenche(*objeto, 0, 11, 100);
  int32_t indlan = 0;
  ASSERT_EQ(objeto->Grava(&indlan), S_OK);
  EXPECT_EQ(Diferenca(*objeto).int64, -1000000);
  Preenche(*objeto, 4, 0, 30);
  int32_t outro = 0;
  ASSERT_EQ(objeto->Grava(&outro), S_OK);
  EXPECT_EQ(Diferenca(*objeto).int64, -700000);

  // Both accounts on the re-save: the first entry's share goes away.
  Preenche(*objeto, 4, 11, 100);
  ASSERT_EQ(objeto->Grava(&indlan), S_OK);
  EXPECT_EQ(Diferenca(*objeto).int64, 300000);
  Preenche(*objeto, 4, 11, 30);
  ASSERT_EQ(objeto->Grava(&outro), S_OK);
  EXPECT_EQ(Diferenca(*objeto).int64, 0);
}

TEST_F(SavingTest, ForeignCurrencyAmountsGoToTheirOwnFile) {
  company_.SetConfig("foreign-currency", 1);
  auto objeto = Objeto();
  RegDados dados{};
  dados.DataLancamento = kData.Value();
  dados.Debito = 4;
  dados.Credito = 11;
  dados.Filial = 1;
  dados.Valor = CURRENCY{10000};
  int32_t indlan = 0;
  ASSERT_EQ(objeto->GravaDados(&dados, &indlan), S_OK);
  EXPECT_EQ(indlan, 1);
  EXPECT_EQ(+Lancamentos()[1].cStatus, kEntryLive);
  EXPECT_TRUE(Bytes(kPrefixoMoeda).empty()) << "no amount, no CNLM record";

  dados.ValorMoeda = CURRENCY{55};
  indlan = 0;
  ASSERT_EQ(objeto->GravaDados(&dados, &indlan), S_OK);
  ASSERT_EQ(indlan, 2);
  dados.ValorMoeda = CURRENCY{};
  dados.cGravarZero = 'S';
  indlan = 0;
  ASSERT_EQ(objeto->GravaDados(&dados, &indlan), S_OK);
  const std::vector<EntryRecord> registros = Lancamentos();
  EXPECT_EQ(+registros[2].cStatus, kEntryLiveWithCurrency);
  EXPECT_EQ(+registros[3].cStatus, kEntryLiveWithCurrency) << "'S' keeps a zero amount";
  const std::vector<CurrencyRecord> moeda = Registros<CurrencyRecord>(kPrefixoMoeda);
  ASSERT_EQ(moeda.size(), 4u) << "entry 1 gets a zero record";
  EXPECT_EQ(+moeda[1].ValorMoeda.int64, 0);
  EXPECT_EQ(+moeda[2].ValorMoeda.int64, 55);

  // A CNLM write that fails is reported; the entry record is written.
  FileFaultsGuard guard;
  FileFaults::Arm(FileOp::Write, 1, CFileException::hardIO, "CNLM", 1000);
  dados.ValorMoeda = CURRENCY{66};
  indlan = 0;
  EXPECT_EQ(objeto->GravaDados(&dados, &indlan),
            static_cast<HRESULT>(0x80040000u | ARQ_ERRO_DE_LEITURA_GRAVACAO));
  EXPECT_EQ(indlan, 0) << "GravaDados hands out a position only on success";
  EXPECT_EQ(Lancamentos().size(), 5u);
  Preenche(*objeto, 4, 11, 1);
  int32_t grava = 0;
  EXPECT_EQ(objeto->Grava(&grava), ARQ_ERRO_DE_LEITURA_GRAVACAO);
  EXPECT_EQ(grava, 5) << "Grava tells where the record went";
}

TEST_F(SavingTest, StoredEntriesAreNotSavedOverAnotherMonthOrOverADeletion) {
  auto objeto = Objeto();
  Preenche(*objeto, 4, 11, 100, "marco");
  int32_t indlan = 0;
  ASSERT_EQ(objeto->Grava(&indlan), S_OK);
  const CQXData abril = CQXData::Make(2, 4, 2024);
  Preenche(*objeto, 5, 12, 1, "abril", abril);
  int32_t emAbril = 0;
  ASSERT_EQ(objeto->Grava(&emAbril), S_OK);
  const std::string antes = Bytes(kPrefixoLancamentos, abril);

  // Entry 1 of March moved to April would land on entry 1 of April.
  ASSERT_EQ(objeto->Le(1, Mes()), S_OK);
  objeto->SetData(CQXData::Make(9, 4, 2024).Value());
  indlan = 1;
  EXPECT_EQ(objeto->Grava(&indlan), static_cast<HRESULT>(0x000405F9));
  EXPECT_EQ(Bytes(kPrefixoLancamentos, abril), antes);
  objeto->SetData(CQXData::Make(20, 3, 2024).Value());
  ASSERT_EQ(objeto->Grava(&indlan), S_OK) << "back in its month";
  EXPECT_EQ(+Lancamentos()[1].cDia, 20);
  // The same through an entry data record.
  RegDados dados{};
  ASSERT_EQ(objeto->LeDados(1, Mes(), &dados), S_OK);
  dados.DataLancamento = abril.Value();
  EXPECT_EQ(objeto->GravaDados(&dados, &indlan), static_cast<HRESULT>(0x800405F9));
  EXPECT_EQ(Bytes(kPrefixoLancamentos, abril), antes);
  // After a read in April its index is April's again.
  ASSERT_EQ(objeto->Le(1, Mes(abril)), S_OK);
  ASSERT_EQ(objeto->Grava(&indlan), S_OK);

  // A deleted entry stays deleted.
  ASSERT_EQ(objeto->Exclui(1, Mes()), S_OK);
  auto outro = Objeto();
  Preenche(*outro, 0, 11, 5);
  indlan = 1;
  EXPECT_EQ(outro->Grava(&indlan), static_cast<HRESULT>(0x000405F7));
  EXPECT_EQ(+Lancamentos()[1].cStatus, kEntryDeleted);
  EXPECT_EQ(Diferenca(*outro).int64, 0);
}

TEST_F(SavingTest, CheckedMarkOnlyOnStoredEntries) {
  auto objeto = Objeto();
  Preenche(*objeto, 4, 11, 100);
  int32_t indlan = 0;
  ASSERT_EQ(objeto->Grava(&indlan), S_OK);
  const std::string antes = Bytes(kPrefixoLancamentos);
  EXPECT_EQ(objeto->GravaConferido(Mes(), 0, 'S'), static_cast<HRESULT>(0x000405F8));
  EXPECT_EQ(objeto->GravaConferido(Mes(), 2, 'S'), ARQ_FIM_DE_ARQUIVO);
  EXPECT_EQ(Bytes(kPrefixoLancamentos), antes);
  ASSERT_EQ(objeto->GravaConferido(Mes(), 1, 7), S_OK);
  std::string depois = antes;
  depois[50 + 44] = 7;
  EXPECT_EQ(Bytes(kPrefixoLancamentos), depois) << "only byte 44 changes";
}

}  // namespace
}  // namespace qx
