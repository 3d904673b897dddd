#include "reports/falha.h"

namespace qx {

HRESULT Verifica(HRESULT hr, const std::string& contexto) {
  if (hr != S_OK) throw FalhaServico{hr, contexto};
  return hr;
}

}  // namespace qx
