// Calls through proxy, wire and stub give the caller and the callee exactly what an
// in-process call gives, slot by slot.
#include <gtest/gtest.h>

#include "call_harness.h"
#include "remote_test_support.h"

namespace qx::test {
namespace {

using RemoteCallsTest = RemoteTest;

TEST_F(RemoteCallsTest, EverySlotMatchesAnInProcessCall) {
  for (int variant = 0; variant < 3; ++variant) {
    FakeLancamento* fake = nullptr;
    RemoteLancamento local = LocalFake(&fake);
    RemoteLancamento remote = Remote();
    ASSERT_NE(remote, nullptr);
    for (int slot = 3; slot <= 92; ++slot) {
      SCOPED_TRACE("slot " + std::to_string(slot) + " variant " + std::to_string(variant));
      Outcome direct = kSlotCalls[slot - 3](local.get(), variant);
      Outcome far = kSlotCalls[slot - 3](remote.get(), variant);
      EXPECT_EQ(far.hr, direct.hr);
      EXPECT_EQ(far.hr, AnswerResult(slot));
      EXPECT_EQ(far.caller, direct.caller);
    }
    // Every argument reached the callee as the caller passed it, in slot order.
    EXPECT_EQ(factory_.LastSeen(), fake->seen());
    EXPECT_NE(fake->seen().find("slot 92:"), std::string::npos);
  }
}

TEST_F(RemoteCallsTest, TextsKeepNullEmptyAndEveryCharacter) {
  RemoteLancamento remote = Remote();
  static const char16_t kText[] = u"Jos\u00e9\0\u00df\u20ac\U0001F600";
  UniqueBstr text(SysAllocStringLen(kText, sizeof(kText) / 2 - 1));
  UniqueBstr empty(SysAllocString(u""));
  EXPECT_EQ(remote->SetComplemento(nullptr), AnswerResult(51));
  EXPECT_EQ(remote->SetComplemento(empty.get()), AnswerResult(51));
  EXPECT_EQ(remote->SetComplemento(text.get()), AnswerResult(51));
  EXPECT_EQ(factory_.LastSeen(),
            "slot 51:T(null);\nslot 51:T();\nslot 51:" + DescribeText(text.get()) + ";\n");

  BSTR answer = SysAllocString(u"old");  // an [out] text replaces, never frees, the old one
  UniqueBstr old(answer);
  EXPECT_EQ(remote->GetComplemento(&answer, 1, 2), AnswerResult(50));  // 50 % 4: the full text
  UniqueBstr expected(AnswerText(50));
  ASSERT_NE(answer, nullptr);
  EXPECT_EQ(BstrView(answer), BstrView(expected.get()));
  EXPECT_EQ(BstrView(answer).size(), 14u);
  SysFreeString(answer);
  EXPECT_EQ(remote->LeNotaExplicativa(7, &answer), AnswerResult(88));  // 88 % 4: null
  EXPECT_EQ(answer, nullptr);
}

TEST_F(RemoteCallsTest, ArraysCarryTheirCountAndKeepWhatTheCalleeLeft) {
  RemoteLancamento remote = Remote();
  Lancamentos lista[5];
  FillRecords(RecordLayoutOf<Lancamentos>::kLayout, lista, 5, 77);
  Lancamentos antes[5];
  std::memcpy(antes, lista, sizeof(lista));
  EXPECT_EQ(remote->BuscaLancamentos(3, lista), AnswerResult(11));
  Lancamentos escrito;
  FillRecords(RecordLayoutOf<Lancamentos>::kLayout, &escrito, 1, 11 * 16 + 1);
  EXPECT_EQ(Hex(&lista[0], 8), Hex(&escrito, 8));     // written by the callee
  EXPECT_EQ(Hex(&lista[1], 8), Hex(&antes[1], 8));    // left by the callee
  EXPECT_EQ(Hex(&lista[3], 16), Hex(&antes[3], 16));  // beyond the count
  EXPECT_EQ(factory_.LastSeen(), "slot 11:03000000|;out;\n");

  // No elements for a negative count or a count of 0, whatever the pointer.
  EXPECT_EQ(remote->BuscaLancamentos(-4, nullptr), AnswerResult(11));
  EXPECT_EQ(remote->GetEmpresas(0, nullptr), S_OK);
  // In and out together: the keys go in, the records come back, each exactly Quantidade.
  Lancamentos chaves[2] = {{5, {}}, {9, {}}};
  RegDados dados[3] = {};
  dados[2].Documento = 4711;
  EXPECT_EQ(remote->LeEspecialChaves(2, chaves, dados), AnswerResult(61));
  EXPECT_EQ(dados[2].Documento, 4711);
  EXPECT_NE(
      factory_.LastSeen().find(DescribeRecords(RecordLayoutOf<Lancamentos>::kLayout, chaves, 2)),
      std::string::npos);
}

TEST_F(RemoteCallsTest, PointerRecordsTravelWithTheirBlocks) {
  RemoteLancamento remote = Remote();
  int32_t docs[3] = {2, 5, 11};
  CNLAN_EXCLUSAO_MES_IMP_PS meses[2] = {};
  meses[0].nQtdDocs = 3;
  meses[0].iMesAno = 0x1234;
  meses[0].pDocsLan = docs;
  meses[1].nQtdDocs = 4;  // null positions stay null, whatever the count says
  CNLAN_EXCLUSAO_IMP_PS params = {};
  params.nQtdMeses = 2;
  params.pMeses = meses;
  CNLAN_RESULTADO_EXCLUSAO_IMP_PS resultado;
  std::memset(&resultado, 0xAB, sizeof(resultado));
  EXPECT_EQ(remote->ExclusaoImportacao(params, &resultado), AnswerResult(85));
  const RecordLayout& entrada = RecordLayoutOf<CNLAN_EXCLUSAO_IMP_PS>::kLayout;
  EXPECT_EQ(factory_.LastSeen(), "slot 85:" + DescribeRecords(entrada, &params, 1) + ";out;\n");
  EXPECT_NE(factory_.LastSeen().find("[3:02000000|05000000|0b000000|]"), std::string::npos);

  // The callee's result comes in task memory of this process, freed by the caller.
  CNLAN_RESULTADO_EXCLUSAO_IMP_PS esperado;
  FillRecords(RecordLayoutOf<CNLAN_RESULTADO_EXCLUSAO_IMP_PS>::kLayout, &esperado, 1, 85 * 16 + 1);
  const RecordLayout& saida = RecordLayoutOf<CNLAN_RESULTADO_EXCLUSAO_IMP_PS>::kLayout;
  EXPECT_EQ(DescribeRecords(saida, &resultado, 1), DescribeRecords(saida, &esperado, 1));
  FreeRecordBlocks(saida, &resultado, 1);
  FreeRecordBlocks(saida, &esperado, 1);

  // T** results: a record of the callee's with its entries, or null.
  _REG_LISTA_LANCAMENTOS_TARVOWEB_PS* lista = nullptr;
  _REG_FILTRO_LANCAMENTO_TARVOWEB_PS filtro = {};
  EXPECT_EQ(remote->BuscaLancamentosTarvoWeb(3, filtro, &lista),
            AnswerResult(90));  // a failure, with results
  ASSERT_NE(lista, nullptr);
  _REG_LISTA_LANCAMENTOS_TARVOWEB_PS web;
  const RecordLayout& layout = RecordLayoutOf<_REG_LISTA_LANCAMENTOS_TARVOWEB_PS>::kLayout;
  FillRecords(layout, &web, 1, 90 * 16 + 2);
  EXPECT_EQ(DescribeRecords(layout, lista, 1), DescribeRecords(layout, &web, 1));
  FreeRecordBlocks(layout, &web, 1);
  FreeRecordBlocks(layout, lista, 1);
  CoTaskMemFree(lista);
  lista = reinterpret_cast<_REG_LISTA_LANCAMENTOS_TARVOWEB_PS*>(&web);
  EXPECT_EQ(remote->BuscaLancamentosTarvoWeb(4, filtro, &lista), AnswerResult(90));
  EXPECT_EQ(lista, nullptr);
}

}  // namespace
}  // namespace qx::test
