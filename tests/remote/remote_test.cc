// Calls through proxy, wire and stub give the caller and the callee exactly what an
// in-process call gives, slot by slot, on both interfaces of the class; libqxcom's client
// reaches the entry service by its ProgID with nothing but the usual calls. Bad bytes on
// either side of the wire give an error code: a stub refuses arguments it cannot read without
// calling the method, a proxy refuses results it cannot read without leaving memory or
// pointers behind, and neither reads past what it was given.
#include <gtest/gtest.h>

#include <map>

#include "platform/registry.h"
#include "qxcom/qxcom.h"
#include "remote_fixture.h"

namespace qx::test {
namespace {

using RemoteCallsTest = RemoteTest;

// Every slot of an interface's table, called in-process and remotely with the same arguments.
template <class Interface, size_t N>
void CompareSlots(const SlotCall<Interface> (&calls)[N], Interface* local, Interface* remote,
                  int variant) {
  for (size_t i = 0; i < N; ++i) {
    const int slot = static_cast<int>(i) + 3;
    SCOPED_TRACE("slot " + std::to_string(slot) + " variant " + std::to_string(variant));
    Outcome direct = calls[i](local, variant);
    Outcome far = calls[i](remote, variant);
    EXPECT_EQ(far.hr, direct.hr);
    EXPECT_EQ(far.hr, AnswerResult(slot));
    EXPECT_EQ(far.caller, direct.caller);
  }
}

TEST_F(RemoteCallsTest, EverySlotMatchesAnInProcessCall) {
  for (int variant = 0; variant < 3; ++variant) {
    FakeLancamento* fake = nullptr;
    RemoteLancamento local = LocalFake(&fake);
    RemoteLancamento remote = Remote();
    ASSERT_NE(remote, nullptr);
    CompareSlots(kSlotCalls, local.get(), remote.get(), variant);
    // The batch interface, reached by QueryInterface on either side.
    IQXCN_LancamentoLote* lotes[2] = {};
    for (int i = 0; i < 2; ++i) {
      ASSERT_EQ((i == 0 ? local : remote)
                    ->QueryInterface(IID_IQXCN_LancamentoLote, reinterpret_cast<void**>(&lotes[i])),
                S_OK);
    }
    CompareSlots(kSlotCallsLote, lotes[0], lotes[1], variant);
    for (IQXCN_LancamentoLote* lote : lotes) lote->Release();
    // Every argument reached the callee as the caller passed it, in slot order.
    EXPECT_EQ(factory_.LastSeen(), fake->seen());
    EXPECT_NE(fake->seen().find("slot 92:"), std::string::npos);
  }
}

// What the slot-by-slot comparison does not pass: null references and counts the frame
// cannot hold (refused before anything is sent), a text with an embedded NUL and a
// character beyond the BMP, outputs over old values, null arrays of no elements.
TEST_F(RemoteCallsTest, TextsOldOutputsEmptyArraysAndRefusedArguments) {
  RemoteLancamento remote = Remote();
  EXPECT_EQ(remote->GetDebito(nullptr), RPC_X_NULL_REF_POINTER);
  EXPECT_EQ(remote->GetComplemento(nullptr, 1, 1), RPC_X_NULL_REF_POINTER);
  EXPECT_EQ(remote->BuscaLancamentosTarvoWeb(1, {}, nullptr), RPC_X_NULL_REF_POINTER);
  EXPECT_EQ(remote->BuscaLancamentos(1, nullptr), RPC_X_NULL_REF_POINTER);
  EmpresasLancamento empresas[1] = {};
  EXPECT_EQ(remote->GetEmpresas(0xFFFFFFFF, empresas), RPC_X_INVALID_BOUND);
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
  ASSERT_EQ(CriaServicoLancamento(&servico), S_OK);
  int32_t vivo = 0;
  EXPECT_EQ(servico->KeepAlive(&vivo), S_OK);
  EXPECT_EQ(servico->Release(), 0u);
}

using MalformedInputTest = RemoteTest;

// The payloads that reach the stub, by slot.
std::map<uint16_t, std::vector<uint8_t>>& Captured() {
  static std::map<uint16_t, std::vector<uint8_t>> payloads;
  return payloads;
}

HRESULT CapturingStub(IUnknown* object, uint16_t slot, const uint8_t* payload, size_t size,
                      std::vector<uint8_t>* reply) {
  Captured()[slot].assign(payload, payload + size);
  return LancamentoStub(object, slot, payload, size, reply);
}

// The stub's answer for a payload, run on a fresh fake; *called whether the method ran.
HRESULT RunStub(uint16_t slot, const std::vector<uint8_t>& payload, bool* called) {
  FakeLancamento* fake = nullptr;
  RemoteLancamento object = LocalFake(&fake);
  std::vector<uint8_t> reply;
  HRESULT hr = LancamentoStub(object.get(), slot, payload.data(), payload.size(), &reply);
  *called = !fake->seen().empty();
  return hr;
}

TEST_F(MalformedInputTest, StubRefusesEveryTruncatedOrOverlongPayload) {
  RegisterInterfaceStub(IID_IQXCN_Lancamento, CapturingStub);
  RemoteLancamento remote = Remote();
  for (int slot = 3; slot <= 92; ++slot) kSlotCalls[slot - 3](remote.get(), 0);
  RegisterLancamentoStub();
  ASSERT_EQ(Captured().size(), 90u);
  for (const auto& [slot, payload] : Captured()) {
    SCOPED_TRACE("slot " + std::to_string(slot));
    bool called = false;
    EXPECT_EQ(RunStub(slot, payload, &called), AnswerResult(slot));
    EXPECT_TRUE(called);
    for (size_t size = 0; size < payload.size(); ++size) {
      std::vector<uint8_t> shorter(payload.begin(), payload.begin() + size);
      ASSERT_EQ(RunStub(slot, shorter, &called), RPC_X_BAD_STUB_DATA) << size;
      ASSERT_FALSE(called);
    }
    std::vector<uint8_t> longer = payload;
    longer.push_back(0);
    EXPECT_EQ(RunStub(slot, longer, &called), RPC_X_BAD_STUB_DATA);
  }
}

std::vector<uint8_t> Bytes(std::initializer_list<uint32_t> words) {
  WireWriter out;
  for (uint32_t word : words) out.U32(word);
  return out.Take();
}

TEST_F(MalformedInputTest, StubRefusesCountsAndLengthsBeyondThePayload) {
  bool called = false;
  // BuscaLancamentos with a huge count and its array count: nothing is allocated for them.
  EXPECT_EQ(RunStub(11, Bytes({0x7FFFFFFF, 0x7FFFFFFF, 1, 2}), &called), RPC_X_BAD_STUB_DATA);
  // An array count other than its count parameter's.
  EXPECT_EQ(RunStub(11, Bytes({1, 2, 1, 2, 3, 4}), &called), RPC_X_BAD_STUB_DATA);
  EXPECT_EQ(RunStub(11, Bytes({1, 1, 7, 0}), &called), AnswerResult(11));
  // Texts: too long, odd, and the null marker (which is fine).
  EXPECT_EQ(RunStub(51, Bytes({0xFFFFFFFE}), &called), RPC_X_BAD_STUB_DATA);
  EXPECT_EQ(RunStub(51, Bytes({3, 0x00410041}), &called), RPC_X_BAD_STUB_DATA);
  EXPECT_EQ(RunStub(51, Bytes({kNullPointer}), &called), AnswerResult(51));
  // ExclusaoImportacao: a month block whose count disagrees with nQtdMeses, or is huge.
  auto removal = [](uint32_t months, uint32_t marker) {
    WireWriter out;
    CNLAN_EXCLUSAO_IMP_PS params = {};
    params.nQtdMeses = months;
    out.Value(params);
    out.U32(marker);
    return out.Take();
  };
  EXPECT_EQ(RunStub(85, removal(2, 1), &called), RPC_X_BAD_STUB_DATA);
  EXPECT_EQ(RunStub(85, removal(0xFFFFFFF0, 0xFFFFFFF0), &called), RPC_X_BAD_STUB_DATA);
  EXPECT_EQ(RunStub(85, removal(5, kNullPointer), &called), AnswerResult(85));
  // Slots outside the interface.
  for (uint16_t slot : {0, 1, 2, 93, 0xFFFF}) {
    EXPECT_EQ(RunStub(slot, {}, &called), RPC_S_PROCNUM_OUT_OF_RANGE);
  }
}

// Calls the proxy's marshalling of BuscaLancamentosTarvoWeb with a scripted reply.
HRESULT WebWithReply(const std::vector<uint8_t>& reply, HRESULT result,
                     _REG_LISTA_LANCAMENTOS_TARVOWEB_PS** lista) {
  auto send = [&](const WireWriter&, std::vector<uint8_t>* answer) {
    *answer = reply;
    return result;
  };
  return remote::RemoteCall<table::kParams_BuscaLancamentosTarvoWeb>(
      send, ULONG{3}, _REG_FILTRO_LANCAMENTO_TARVOWEB_PS{}, lista);
}

TEST_F(MalformedInputTest, ProxyRefusesTruncatedResultsWithoutLeftovers) {
  FakeLancamento* fake = nullptr;
  RemoteLancamento object = LocalFake(&fake);
  std::vector<uint8_t> request = Bytes({3});
  request.resize(request.size() + sizeof(_REG_FILTRO_LANCAMENTO_TARVOWEB_PS));
  std::vector<uint8_t> reply;
  ASSERT_EQ(LancamentoStub(object.get(), 90, request.data(), request.size(), &reply),
            AnswerResult(90));
  _REG_LISTA_LANCAMENTOS_TARVOWEB_PS* lista = nullptr;
  for (size_t size = 0; size < reply.size(); ++size) {
    std::vector<uint8_t> shorter(reply.begin(), reply.begin() + size);
    EXPECT_EQ(WebWithReply(shorter, S_OK, &lista), RPC_X_BAD_STUB_DATA) << size;
    EXPECT_EQ(lista, nullptr);
  }
  // A failure without results leaves the caller's variable alone.
  auto* marca = reinterpret_cast<_REG_LISTA_LANCAMENTOS_TARVOWEB_PS*>(&lista);
  lista = marca;
  EXPECT_EQ(WebWithReply({}, RPC_S_SERVER_UNAVAILABLE, &lista), RPC_S_SERVER_UNAVAILABLE);
  EXPECT_EQ(lista, marca);
  // The whole reply is accepted, its blocks handed to the caller.
  EXPECT_EQ(WebWithReply(reply, S_OK, &lista), S_OK);
  ASSERT_NE(lista, nullptr);
  EXPECT_EQ(lista->ulQtde, 2u);
  FreeRecordBlocks(RecordLayoutOf<_REG_LISTA_LANCAMENTOS_TARVOWEB_PS>::kLayout, lista, 1);
  CoTaskMemFree(lista);
}

}  // namespace
}  // namespace qx::test
