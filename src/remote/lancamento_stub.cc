// The stub of IQXCN_Lancamento: one entry per slot, generated from the interface table.
#include <iterator>
#include <utility>

#include "entries/iqxcn_lancamento.h"
#include "platform/com_runtime_hooks.h"
#include "remote/lancamento_remote.h"
#include "remote/stub_param.h"

namespace qx {
namespace {

using StubEntry = HRESULT (*)(IQXCN_Lancamento* object, WireReader& in, WireWriter& out);

template <auto kMethod, const ParamInfo* kParams>
struct StubMethod;

template <class C, class... A, HRESULT (C::*kMethod)(A...), const ParamInfo* kParams>
struct StubMethod<kMethod, kParams> {
  static HRESULT Run(IQXCN_Lancamento* object, WireReader& in, WireWriter& out) {
    return [&]<size_t... I>(std::index_sequence<I...>) {
      std::tuple<remote::StubParam<kParams, I, A>...> params;
      if (!(std::get<I>(params).Read(in, params) && ...) || !in.Finished()) {
        return RPC_X_BAD_STUB_DATA;
      }
      HRESULT hr = (object->*kMethod)(std::get<I>(params).arg()...);
      (std::get<I>(params).Write(out), ...);
      return hr;
    }
    (std::index_sequence_for<A...>{});
  }
};

constexpr StubEntry kStubs[] = {
#define QX_METHOD(slot, name, area, test, params, logged, ignored) \
  &StubMethod<&IQXCN_Lancamento::name, table::kParams_##name>::Run,
#include "entries/interface_table.def"
};

constexpr uint16_t kFirstSlot = 3;

constexpr bool SlotsInOrder() {
  for (size_t i = 0; i < std::size(kInterfaceTable); ++i) {
    if (kInterfaceTable[i].slot != static_cast<int>(i + kFirstSlot)) return false;
  }
  return std::size(kInterfaceTable) == std::size(kStubs);
}
static_assert(SlotsInOrder(), "the stub's entry i serves slot i + 3");

}  // namespace

HRESULT LancamentoStub(IUnknown* object, uint16_t slot, const uint8_t* payload, size_t size,
                       std::vector<uint8_t>* reply) {
  if (slot < kFirstSlot || size_t{slot} - kFirstSlot >= std::size(kStubs)) {
    return RPC_S_PROCNUM_OUT_OF_RANGE;
  }
  WireReader in(payload, size);
  WireWriter out;
  HRESULT hr = kStubs[slot - kFirstSlot](static_cast<IQXCN_Lancamento*>(object), in, out);
  *reply = out.Take();
  return hr;
}

void RegisterLancamentoStub() { RegisterInterfaceStub(IID_IQXCN_Lancamento, LancamentoStub); }

}  // namespace qx
