#include "queries/busca_comum.h"

#include "diagnostics/error_log.h"
#include "entries/lancamento_base.h"

namespace qx {

HRESULT CarregaFiliaisAtivas(CLancamentoBase& objeto, const char* funcao,
                             CQXDadosDF_FiliaisAtivas* filiais) {
  const HRESULT hr =
      objeto.GetAcessoEmpresarial()->LeFiliaisAtivas(objeto.GetUsuario(), filiais, 0);
  if (hr != S_OK) {
    QXGravaLogHresult(&objeto, funcao, kUnidadeBusca, __LINE__, "hr",
                      "GetAcessoEmpresarial()->LeFiliaisAtivas(GetUsuario(), &dadosFiliaisAtivas)",
                      hr);
  }
  return hr;
}

}  // namespace qx
