// The class QXCN_Lancamento: its implementation class and the creation of its
// objects in this process.
#pragma once

#include <new>

#include "lancamento/lancamento_base.h"
#include "server/t_qxunknown.h"

using CQXCN_Lancamento = T_QXUnknown<IQXCN_Lancamento, CLancamentoBase>;
extern template class T_QXUnknown<IQXCN_Lancamento, CLancamentoBase>;

namespace qx {

// Creates one Object and gives its interface iid in *object: E_OUTOFMEMORY
// when the memory for it cannot be had; the code of the business object's
// creation, with the object destroyed, when that failed. Objects are not
// aggregated (CLASS_E_NOAGGREGATION when outer is given).
template <class Object>
HRESULT CriaObjeto(IUnknown* outer, REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (outer != nullptr) return CLASS_E_NOAGGREGATION;
  Object* novo = new (std::nothrow) Object();
  if (novo == nullptr) return E_OUTOFMEMORY;
  if (FAILED(novo->GetHrConstruct())) {
    const HRESULT hr = novo->GetHrConstruct();
    delete novo;
    return hr;
  }
  novo->AddRef();
  const HRESULT hr = novo->QueryInterface(iid, object);
  novo->Release();
  return hr;
}

}  // namespace qx

// The class factory's creation of a QXCN_Lancamento object.
HRESULT QXCN_Lancamento_CreateInstance(IUnknown* outer, REFIID iid, void** object);
