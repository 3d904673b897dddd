#include "queries/busca_comum.h"

#include "diagnostics/error_log.h"
#include "entries/lancamento_base.h"
#include "queries/busca_codigos.h"

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

HRESULT VerificaMesesBusca(CLancamentoBase& objeto, const char* funcao, const Meses& meses,
                           CQXMesAno base) {
  if (meses.Vazio()) return S_OK;
  const int antes = base.Value() - meses.Primeiro().Value();
  const int depois = meses.Ultimo().Value() - base.Value();
  if (antes <= kMesesAntesDaBase && depois <= kMesesDepoisDaBase) return S_OK;
  QXGravaLogErro(&objeto, funcao, kUnidadeBusca, __LINE__,
                 "Busca de %s a %s recusada (hr = %#X): as chaves guardam o m\xEAs at\xE9 "
                 "%d meses antes e %d meses depois do m\xEAs base %s; divida o per\xEDodo em "
                 "buscas menores",
                 meses.Primeiro().Text(8, '/').c_str(), meses.Ultimo().Text(8, '/').c_str(),
                 static_cast<unsigned>(kHrPeriodoBuscaLongo), kMesesAntesDaBase,
                 kMesesDepoisDaBase, base.Text(8, '/').c_str());
  return kHrPeriodoBuscaLongo;
}

}  // namespace qx
