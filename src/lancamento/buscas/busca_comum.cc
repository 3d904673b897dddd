#include "lancamento/buscas/busca_comum.h"

#include "contract/busca_codigos.h"
#include "diagnostics/error_log.h"
#include "lancamento/lancamento_base.h"
#include "values/text_format.h"

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

HRESULT VerificaMesesBusca(CLancamentoBase& objeto, const char* funcao, CQXMesAno primeiro,
                           CQXMesAno ultimo, CQXMesAno base) {
  if (primeiro > ultimo) return S_OK;
  std::string porque;
  if (primeiro < kPrimeiroMesArquivos || ultimo > kUltimoMesArquivos) {
    porque = FormatText("os nomes dos arquivos de m\xEAs s\xF3 distinguem os meses de %s a %s",
                        kPrimeiroMesArquivos.Text(8, '/').c_str(),
                        kUltimoMesArquivos.Text(8, '/').c_str());
  } else if (base.Value() - primeiro.Value() > kMesesAntesDaBase ||
             ultimo.Value() - base.Value() > kMesesDepoisDaBase) {
    porque = FormatText(
        "as chaves guardam o m\xEAs at\xE9 %d meses antes e %d meses depois do m\xEAs base; "
        "divida o per\xEDodo em buscas menores",
        kMesesAntesDaBase, kMesesDepoisDaBase);
  } else {
    return S_OK;
  }
  QXGravaLogErro(&objeto, funcao, kUnidadeBusca, __LINE__,
                 "Busca de %s a %s (m\xEAs base %s) recusada (hr = %#X): %s",
                 primeiro.Text(8, '/').c_str(), ultimo.Text(8, '/').c_str(),
                 base.Text(8, '/').c_str(), static_cast<unsigned>(kHrPeriodoBuscaLongo),
                 porque.c_str());
  return kHrPeriodoBuscaLongo;
}

}  // namespace qx
