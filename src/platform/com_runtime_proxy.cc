#include "platform/com_runtime_proxy.h"

namespace qx {

HRESULT ProxyCore::QueryInterface(IUnknown* self, REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (iid == IID_IUnknown || iid == iid_) {
    AddRef();
    *object = self;
    return S_OK;
  }
  uint32_t newObjectId = 0;
  HRESULT hr = connection_->RemoteQueryInterface(objectId_, iid, &newObjectId);
  if (FAILED(hr)) return hr;
  IUnknown* proxy = nullptr;
  hr = connection_->Wrap(newObjectId, iid, &proxy);
  *object = proxy;
  return hr;
}

ULONG ProxyCore::Release() {
  ULONG left = --references_;
  if (left == 0) connection_->RemoteRelease(objectId_);
  return left;
}

}  // namespace qx
