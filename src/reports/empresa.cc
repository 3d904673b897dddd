#include "reports/empresa.h"

#include <memory>
#include <string>

#include "outside/acesso_servidores.h"
#include "outside/company_database.h"
#include "reports/falha.h"

namespace qx {

DadosEmpresa LeDadosEmpresa(const SessaoLancamento& servico) {
  std::shared_ptr<SuiteDatabase> banco;
  std::string mensagem;
  const HRESULT hr = OpenCompanyDatabase(servico.identidade().empresa, &banco, &mensagem);
  if (hr != S_OK) throw FalhaServico{hr, "OpenCompanyDatabase", {}, mensagem};
  CQXAcessoServidores acesso;
  acesso.Conecta(banco, nullptr);
  CQXComPtr<IQXCN_Mestre> mestre;
  Verifica(acesso.GetAcessoContabil()->GetICNMestre(mestre), "GetICNMestre");
  _REG_CN_CONFIGURACAOPS configuracao{};
  Verifica(mestre->LeConfiguracao(&configuracao), "IQXCN_Mestre::LeConfiguracao");
  CQXDadosDF_Propriedades propriedades;
  Verifica(acesso.GetAcessoEmpresarial()->LePropriedades(&propriedades, 0), "LePropriedades");
  return {CQXData(configuracao.ulDataInicial), propriedades.GetUsaQuantidadeGerencial() != 0};
}

}  // namespace qx
