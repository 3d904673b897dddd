// The proxies of IQXCN_Lancamento and of IQXCN_LancamentoLote: every method
// generated from the interface table.
#include <new>

#include "contract/iqxcn_lancamento.h"
#include "platform/com_runtime_hooks.h"
#include "platform/com_runtime_proxy.h"
#include "remote/lancamento_remote.h"
#include "remote/param_marshal.h"

namespace qx {
namespace {

// A proxy of interface I whose methods call Invoke with their slot and the
// table's description of their parameters.
template <class I, const IID& kIid>
class TableProxy : public Proxy<I, kIid> {
 public:
  using Proxy<I, kIid>::Proxy;

 protected:
  template <const ParamInfo* kParams, uint16_t kSlot, class... A>
  HRESULT Invoke(A... args) {
    auto send = [this](const WireWriter& out, std::vector<uint8_t>* reply) {
      return this->Call(kSlot, out, reply);
    };
    return remote::RemoteCall<kParams>(send, args...);
  }
};

#define QX_PROXY_METHOD(slot, name, area, test, params, logged, ignored) \
  HRESULT name QX_DECLS params override {                                \
    return Invoke<table::kParams_##name, slot> QX_NAMES params;          \
  }

class LancamentoProxy final : public TableProxy<IQXCN_Lancamento, IID_IQXCN_Lancamento> {
 public:
  using TableProxy::TableProxy;
#define QX_METHOD QX_PROXY_METHOD
#include "contract/interface_table.def"
};

class LoteProxy final : public TableProxy<IQXCN_LancamentoLote, IID_IQXCN_LancamentoLote> {
 public:
  using TableProxy::TableProxy;
#define QX_LOTE_METHOD QX_PROXY_METHOD
#include "contract/interface_table.def"
};

#undef QX_PROXY_METHOD

template <class P>
IUnknown* MakeProxy(std::shared_ptr<ClientConnection> connection, uint32_t objectId) {
  return new (std::nothrow) P(std::move(connection), objectId);
}

}  // namespace

void RegisterLancamentoProxy() {
  RegisterInterfaceProxy(IID_IQXCN_Lancamento, MakeProxy<LancamentoProxy>);
  RegisterInterfaceProxy(IID_IQXCN_LancamentoLote, MakeProxy<LoteProxy>);
}

}  // namespace qx
