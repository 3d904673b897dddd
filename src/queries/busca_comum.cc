#include "queries/busca_comum.h"

#include "diagnostics/error_log.h"
#include "entries/lancamento_base.h"
#include "storage/month_name.h"

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

int AbreArquivoMes(CQXarq& arquivo, const std::string& pasta, const char* prefixo, CQXMesAno mes,
                   uint32_t tamanhoRegistro) {
  return arquivo.Abre(NomeArquivoMes(pasta, prefixo, mes.Value()).c_str(), 'L', tamanhoRegistro,
                      true);
}

}  // namespace qx
