#include "server/cqxcn_lancamento.h"

template class T_QXUnknown<IQXCN_Lancamento, CLancamentoBase>;

HRESULT QXCN_Lancamento_CreateInstance(IUnknown* outer, REFIID iid, void** object) {
  return qx::CriaObjeto<CQXCN_Lancamento>(outer, iid, object);
}
