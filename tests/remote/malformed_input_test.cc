// Bad bytes on either side of the wire give an error code: a stub refuses arguments it
// cannot read without calling the method, a proxy refuses results it cannot read without
// leaving memory or pointers behind, and neither reads past what it was given.
#include <gtest/gtest.h>

#include <map>

#include "call_harness.h"
#include "remote_test_support.h"

namespace qx::test {
namespace {

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

TEST_F(MalformedInputTest, ProxyRefusesNullReferencesAndUnsendableCounts) {
  RemoteLancamento remote = Remote();
  EXPECT_EQ(remote->GetDebito(nullptr), RPC_X_NULL_REF_POINTER);
  EXPECT_EQ(remote->GetComplemento(nullptr, 1, 1), RPC_X_NULL_REF_POINTER);
  EXPECT_EQ(remote->BuscaLancamentosTarvoWeb(1, {}, nullptr), RPC_X_NULL_REF_POINTER);
  EXPECT_EQ(remote->BuscaLancamentos(1, nullptr), RPC_X_NULL_REF_POINTER);
  // A count the frame cannot hold is refused before the buffer is read.
  EmpresasLancamento empresas[1] = {};
  EXPECT_EQ(remote->GetEmpresas(0xFFFFFFFF, empresas), RPC_X_INVALID_BOUND);
  EXPECT_EQ(factory_.LastSeen(), "");
  // The connection still serves.
  int32_t ok = 0;
  EXPECT_EQ(remote->KeepAlive(&ok), S_OK);
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
