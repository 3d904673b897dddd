#include "qxcom/qxcom.h"

#include "remote/lancamento_remote.h"

namespace qx {

bool RegistraClienteLancamento() {
  static const bool registrado = (RegisterLancamentoProxy(), true);
  return registrado;
}

HRESULT CriaServicoLancamento(IQXCN_Lancamento** servico) {
  if (servico == nullptr) return E_POINTER;
  *servico = nullptr;
  RegistraClienteLancamento();
  CLSID clsid;
  HRESULT hr = CLSIDFromProgID(u"QXCN_Lancamento.QXCN_Lancamento", &clsid);
  if (FAILED(hr)) return hr;
  MULTI_QI resultado = {&IID_IQXCN_Lancamento, nullptr, S_OK};
  hr = CoCreateInstanceEx(clsid, nullptr, CLSCTX_LOCAL_SERVER, nullptr, 1, &resultado);
  if (FAILED(hr)) return hr;
  *servico = static_cast<IQXCN_Lancamento*>(resultado.pItf);
  return S_OK;
}

}  // namespace qx
