#include "reports/empresa.h"

#include <memory>
#include <string>

#include "outside/acesso_servidores.h"
#include "outside/company_database.h"
#include "reports/falha.h"

namespace qx {

CQXData InicioDoExercicio(const SessaoLancamento& servico) {
  std::shared_ptr<SuiteDatabase> banco;
  std::string mensagem;
  const HRESULT hr = OpenCompanyDatabase(servico.identidade().empresa, &banco, &mensagem);
  if (hr != S_OK) throw FalhaServico{hr, "OpenCompanyDatabase", {}, mensagem};
  CQXServidoresContabil contabil;
  contabil.Conecta(banco, nullptr);
  CQXComPtr<IQXCN_Mestre> mestre;
  Verifica(contabil.GetICNMestre(mestre), "GetICNMestre");
  _REG_CN_CONFIGURACAOPS configuracao{};
  Verifica(mestre->LeConfiguracao(&configuracao), "IQXCN_Mestre::LeConfiguracao");
  return CQXData(configuracao.ulDataInicial);
}

}  // namespace qx
