// The client's class object: a proxy of the class factory of a local server.
#include <atomic>
#include <memory>
#include <new>

#include "platform/com_runtime.h"
#include "platform/com_runtime_client.h"

namespace {

class ClassFactoryProxy final : public IClassFactory {
 public:
  explicit ClassFactoryProxy(std::shared_ptr<qx::ClientConnection> connection)
      : connection_(std::move(connection)) {}

  HRESULT QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IClassFactory)) {
      return E_NOINTERFACE;
    }
    AddRef();
    *object = static_cast<IClassFactory*>(this);
    return S_OK;
  }
  ULONG AddRef() override { return ++references_; }
  ULONG Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    IUnknown* proxy = nullptr;
    const HRESULT hr = connection_->CreateObject(iid, &proxy);
    *object = proxy;
    return hr;
  }
  HRESULT LockServer(int lock) override { return connection_->LockServer(lock != 0); }

 private:
  std::shared_ptr<qx::ClientConnection> connection_;
  std::atomic<ULONG> references_{1};
};

}  // namespace

HRESULT CoGetClassObject(REFCLSID clsid, DWORD context, COSERVERINFO*, REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if ((context & CLSCTX_LOCAL_SERVER) == 0) return REGDB_E_CLASSNOTREG;
  if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IClassFactory)) {
    return E_NOINTERFACE;
  }
  std::shared_ptr<qx::ClientConnection> connection;
  const HRESULT hr = qx::ConnectToClass(clsid, &connection);
  if (FAILED(hr)) return hr;
  auto* proxy = new (std::nothrow) ClassFactoryProxy(std::move(connection));
  if (proxy == nullptr) return E_OUTOFMEMORY;
  *object = static_cast<IClassFactory*>(proxy);
  return S_OK;
}
