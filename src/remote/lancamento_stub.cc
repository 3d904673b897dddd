// The stubs of IQXCN_Lancamento and of IQXCN_LancamentoLote: one entry per
// slot, generated from the interface table.
#include <iterator>
#include <span>
#include <utility>

#include "contract/iqxcn_lancamento.h"
#include "platform/com_runtime_hooks.h"
#include "remote/lancamento_remote.h"
#include "remote/stub_param.h"

namespace qx {
namespace {

template <class I>
using StubEntry = HRESULT (*)(I* object, WireReader& in, WireWriter& out);

template <class Interface, auto kMethod, const ParamInfo* kParams>
struct StubMethod;

// kMethod may be a method of a base of the interface (IQXUnknown's of IQXCN_Lancamento).
template <class Interface, class C, class... A, HRESULT (C::*kMethod)(A...),
          const ParamInfo* kParams>
struct StubMethod<Interface, kMethod, kParams> {
  static HRESULT Run(Interface* object, WireReader& in, WireWriter& out) {
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

constexpr StubEntry<IQXCN_Lancamento> kStubs[] = {
#define QX_METHOD(slot, name, area, test, params, logged, ignored) \
  &StubMethod<IQXCN_Lancamento, &IQXCN_Lancamento::name, table::kParams_##name>::Run,
#include "contract/interface_table.def"
};

constexpr StubEntry<IQXCN_LancamentoLote> kStubsLote[] = {
#define QX_LOTE_METHOD(slot, name, area, test, params, logged, ignored) \
  &StubMethod<IQXCN_LancamentoLote, &IQXCN_LancamentoLote::name, table::kParams_##name>::Run,
#include "contract/interface_table.def"
};

constexpr uint16_t kFirstSlot = 3;

constexpr bool SlotsInOrder(std::span<const MethodInfo> table, size_t stubs) {
  for (size_t i = 0; i < table.size(); ++i) {
    if (table[i].slot != static_cast<int>(i + kFirstSlot)) return false;
  }
  return table.size() == stubs;
}
static_assert(SlotsInOrder(kInterfaceTable, std::size(kStubs)), "entry i serves slot i + 3");
static_assert(SlotsInOrder(kInterfaceTableLote, std::size(kStubsLote)),
              "entry i serves slot i + 3");

template <class I, size_t N>
HRESULT Dispatch(const StubEntry<I> (&stubs)[N], IUnknown* object, uint16_t slot,
                 const uint8_t* payload, size_t size, std::vector<uint8_t>* reply) {
  if (slot < kFirstSlot || size_t{slot} - kFirstSlot >= N) return RPC_S_PROCNUM_OUT_OF_RANGE;
  WireReader in(payload, size);
  WireWriter out;
  HRESULT hr = stubs[slot - kFirstSlot](static_cast<I*>(object), in, out);
  *reply = out.Take();
  return hr;
}

}  // namespace

HRESULT LancamentoStub(IUnknown* object, uint16_t slot, const uint8_t* payload, size_t size,
                       std::vector<uint8_t>* reply) {
  return Dispatch(kStubs, object, slot, payload, size, reply);
}

HRESULT LoteStub(IUnknown* object, uint16_t slot, const uint8_t* payload, size_t size,
                 std::vector<uint8_t>* reply) {
  return Dispatch(kStubsLote, object, slot, payload, size, reply);
}

void RegisterLancamentoStub() {
  RegisterInterfaceStub(IID_IQXCN_Lancamento, LancamentoStub);
  RegisterInterfaceStub(IID_IQXCN_LancamentoLote, LoteStub);
}

}  // namespace qx
