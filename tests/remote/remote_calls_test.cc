// Calls through proxy, wire and stub give the caller and the callee exactly what an
// in-process call gives, slot by slot, on both interfaces of the class; and libqxcom's client
// reaches the entry service by its ProgID with nothing but the usual calls.
#include <gtest/gtest.h>

#include "call_harness.h"
#include "platform/registry.h"
#include "qxcom/qxcom.h"
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
    // The batch interface, reached by QueryInterface on either side.
    IQXCN_LancamentoLote* localLote = nullptr;
    IQXCN_LancamentoLote* remoteLote = nullptr;
    ASSERT_EQ(local->QueryInterface(IID_IQXCN_LancamentoLote, reinterpret_cast<void**>(&localLote)),
              S_OK);
    ASSERT_EQ(
        remote->QueryInterface(IID_IQXCN_LancamentoLote, reinterpret_cast<void**>(&remoteLote)),
        S_OK);
    for (size_t i = 0; i < std::size(kSlotCallsLote); ++i) {
      SCOPED_TRACE("batch slot " + std::to_string(i + 3) + " variant " + std::to_string(variant));
      Outcome direct = kSlotCallsLote[i](localLote, variant);
      Outcome far = kSlotCallsLote[i](remoteLote, variant);
      EXPECT_EQ(far.hr, direct.hr);
      EXPECT_EQ(far.hr, AnswerResult(static_cast<int>(i) + 3));
      EXPECT_EQ(far.caller, direct.caller);
    }
    localLote->Release();
    remoteLote->Release();
    // Every argument reached the callee as the caller passed it, in slot order.
    EXPECT_EQ(factory_.LastSeen(), fake->seen());
    EXPECT_NE(fake->seen().find("slot 92:"), std::string::npos);
  }
}

// What the slot-by-slot comparison does not pass: a text with an embedded NUL and
// a character beyond the BMP, outputs over old values, null arrays of no elements.
TEST_F(RemoteCallsTest, TextsOldOutputsAndEmptyArrays) {
  RemoteLancamento remote = Remote();
  static const char16_t kText[] = u"Jos\u00e9\0\u00df\u20ac\U0001F600";
  UniqueBstr text(SysAllocStringLen(kText, sizeof(kText) / 2 - 1));
  EXPECT_EQ(remote->SetComplemento(text.get()), AnswerResult(51));
  EXPECT_EQ(factory_.LastSeen(), "slot 51:" + DescribeText(text.get()) + ";\n");

  BSTR answer = SysAllocString(u"old");  // an [out] text replaces, never frees, the old one
  UniqueBstr old(answer);
  EXPECT_EQ(remote->GetComplemento(&answer, 1, 2), AnswerResult(50));  // 50 % 4: the full text
  UniqueBstr expected(AnswerText(50));
  ASSERT_NE(answer, nullptr);
  EXPECT_EQ(BstrView(answer), BstrView(expected.get()));
  EXPECT_EQ(BstrView(answer).size(), 14u);
  SysFreeString(answer);
  // An even first argument: no record comes back, and the old pointer is cleared.
  auto* lista = reinterpret_cast<_REG_LISTA_LANCAMENTOS_TARVOWEB_PS*>(&answer);
  EXPECT_EQ(remote->BuscaLancamentosTarvoWeb(4, {}, &lista), AnswerResult(90));
  EXPECT_EQ(lista, nullptr);

  // No elements for a negative count or a count of 0, whatever the pointer.
  EXPECT_EQ(remote->BuscaLancamentos(-4, nullptr), AnswerResult(11));
  EXPECT_EQ(remote->GetEmpresas(0, nullptr), S_OK);
}

TEST_F(RemoteCallsTest, QxcomCreatesTheServiceByProgIdAndReportsAnUnknownOne) {
  IQXCN_Lancamento* servico = reinterpret_cast<IQXCN_Lancamento*>(this);
  EXPECT_EQ(CriaServicoLancamento(&servico), CO_E_CLASSSTRING);
  EXPECT_EQ(servico, nullptr);
  EXPECT_EQ(CriaServicoLancamento(nullptr), E_POINTER);
  ASSERT_EQ(RegApply(RegEdit()
                         .SetString("HKEY_CLASSES_ROOT\\QXCN_Lancamento.QXCN_Lancamento.1\\CLSID",
                                    "", GuidToBracedText(CLSID_QXCN_Lancamento))
                         .SetString("HKEY_CLASSES_ROOT\\QXCN_Lancamento.QXCN_Lancamento\\CurVer",
                                    "", "QXCN_Lancamento.QXCN_Lancamento.1")),
            ERROR_SUCCESS);
  ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
  CLSID clsid = {};
  ASSERT_EQ(CLSIDFromProgID(u"QXCN_Lancamento.QXCN_Lancamento", &clsid), S_OK);
  EXPECT_EQ(clsid, CLSID_QXCN_Lancamento);
  MULTI_QI qi = {&IID_IQXCN_Lancamento, nullptr, S_OK};
  ASSERT_EQ(CoCreateInstanceEx(clsid, nullptr, CLSCTX_LOCAL_SERVER, nullptr, 1, &qi), S_OK);
  servico = static_cast<IQXCN_Lancamento*>(qi.pItf);
  int32_t vivo = 0;
  EXPECT_EQ(servico->KeepAlive(&vivo), S_OK);
  EXPECT_EQ(servico->Release(), 0u);
  CoUninitialize();

  IQXCN_Lancamento* outro = nullptr;
  ASSERT_EQ(CriaServicoLancamento(&outro), S_OK);
  EXPECT_EQ(outro->SetDebito(7), AnswerResult(12));
  EXPECT_EQ(factory_.LastSeen(), "slot 12:07000000|;\n");
  outro->Release();
}

}  // namespace
}  // namespace qx::test
