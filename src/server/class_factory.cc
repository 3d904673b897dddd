#include "server/class_factory.h"

#include "server/cqxcn_lancamento.h"

namespace qx {

HRESULT FabricaLancamento::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IClassFactory)) {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  *object = static_cast<IClassFactory*>(this);
  return S_OK;
}

HRESULT FabricaLancamento::CreateInstance(IUnknown* outer, REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (outer != nullptr && !IsEqualIID(iid, IID_IUnknown)) return CLASS_E_NOAGGREGATION;
  return QXCN_Lancamento_CreateInstance(outer, iid, object);
}

HRESULT FabricaLancamento::LockServer(int lock) {
  if (lock != 0) {
    m_modulo.Lock();
  } else {
    m_modulo.Unlock();
  }
  return S_OK;
}

}  // namespace qx
