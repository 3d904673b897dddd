// The proxy of IQXCN_Lancamento: every method generated from the interface table.
#include <new>

#include "entries/iqxcn_lancamento.h"
#include "platform/com_runtime_hooks.h"
#include "platform/com_runtime_proxy.h"
#include "remote/lancamento_remote.h"
#include "remote/param_marshal.h"

namespace qx {
namespace {

class LancamentoProxy final : public Proxy<IQXCN_Lancamento, IID_IQXCN_Lancamento> {
 public:
  using Proxy::Proxy;

#define QX_METHOD(slot, name, area, test, params, logged, ignored) \
  HRESULT name QX_DECLS params override {                          \
    return Invoke<table::kParams_##name, slot> QX_NAMES params;    \
  }
#include "entries/interface_table.def"

 private:
  template <const ParamInfo* kParams, uint16_t kSlot, class... A>
  HRESULT Invoke(A... args) {
    auto send = [this](const WireWriter& out, std::vector<uint8_t>* reply) {
      return Call(kSlot, out, reply);
    };
    return remote::RemoteCall<kParams>(send, args...);
  }
};

IUnknown* MakeLancamentoProxy(std::shared_ptr<ClientConnection> connection, uint32_t objectId) {
  return new (std::nothrow) LancamentoProxy(std::move(connection), objectId);
}

}  // namespace

void RegisterLancamentoProxy() {
  RegisterInterfaceProxy(IID_IQXCN_Lancamento, MakeLancamentoProxy);
}

}  // namespace qx
