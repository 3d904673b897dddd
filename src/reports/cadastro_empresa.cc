#include "reports/cadastro_empresa.h"

#include <memory>
#include <string>

#include "contract/profiler_identity.h"
#include "outside/database/outside_codes.h"
#include "outside/peers/acesso_servidores.h"
#include "reports/banco_empresa.h"
#include "reports/falha.h"
#include "reports/natureza.h"

namespace qx {
namespace {

// A failed read of the company's data ends the run; a code without failure
// severity (S_FALSE: not found) is the caller's to read.
HRESULT Exige(HRESULT hr, const std::string& contexto) {
  if (FAILED(hr)) throw FalhaServico{hr, contexto};
  return hr;
}

}  // namespace

CadastroEmpresa::CadastroEmpresa(const Identidade& identidade) : identidade_(identidade) {
  const char* empresa = identidade_.empresa.c_str();
  const auto usuario = static_cast<unsigned short>(identidade_.usuario);
  const std::shared_ptr<SuiteDatabase> db = AbreBancoDaEmpresa(
      identidade_.empresa, "a leitura do cadastro da empresa " + identidade_.empresa);
  CQXAcessoServidores acesso;
  acesso.Conecta(db, nullptr);
  // A user the company does not know has no active branch.
  const HRESULT filiais = acesso.GetAcessoEmpresarial()->LeFiliaisAtivas(usuario, &filiais_, 0);
  if (filiais != E_QXDF_REGISTRO_NAO_ENCONTRADO) Exige(filiais, "LeFiliaisAtivas");
  CQXDadosDF_Propriedades propriedades;
  Exige(acesso.GetAcessoEmpresarial()->LePropriedades(&propriedades, 0), "LePropriedades");
  quantidadeGerencial_ = propriedades.GetUsaQuantidadeGerencial() != 0;
  ConfirmaLeitura(ListaNaturezas(*db, &naturezas_), *db, "a leitura das naturezas das contas");

  CQXComPtr<IQXCN_Mestre> mestre;
  Exige(acesso.GetAcessoContabil()->GetICNMestre(mestre), "GetICNMestre");
  _REG_CN_CONFIGURACAOPS configuracao{};
  Exige(mestre->LeConfiguracao(&configuracao), "IQXCN_Mestre::LeConfiguracao");
  inicio_ = CQXData(configuracao.ulDataInicial);
  fim_ = CQXData(configuracao.ulDataFinal);
  _REG_CN_CONFIGURACAO_COMPLEMENTARPS complementar{};
  Exige(mestre->LeConfiguracaoComplementar(&complementar),
        "IQXCN_Mestre::LeConfiguracaoComplementar");
  moedaEstrangeira_ = complementar.ulMoedaEstrangeira != 0;

  // Nothing missing is an error here, and nothing goes to the error log.
  for (ConexaoEmpresa* conexao :
       {static_cast<ConexaoEmpresa*>(&plano_), static_cast<ConexaoEmpresa*>(&gerencial_),
        static_cast<ConexaoEmpresa*>(&historicos_)}) {
    conexao->SetTrataErros(false);
    conexao->SetTratarMensagens(false);
  }
  const uint32_t sessao = identidade_.sessao;
  Exige(plano_.Inicializa(empresa, usuario, sessao, '0', '0'), "CConexaoPlanoContabil::Inicializa");
  Exige(gerencial_.Inicializa(empresa, usuario, sessao, '0', '0'),
        "CConexaoPlanoGerencial::Inicializa");
  Exige(historicos_.Inicializa(empresa, usuario, sessao), "CConexaoHistorico::Inicializa");
}

const CadastroEmpresa::ContaLida& CadastroEmpresa::Le(CConexaoPlano& plano,
                                                      std::map<int32_t, ContaLida>& lidas,
                                                      int32_t conta) {
  const auto [lida, nova] = lidas.try_emplace(conta);
  if (nova) {
    _RegContaPS registro{};
    if (Exige(plano.Le(conta, &registro), "CConexaoPlano::Le") == S_OK) {
      lida->second = {registro.cTipo, FieldText(registro.szClassificacao)};
    }
  }
  return lida->second;
}

Natureza CadastroEmpresa::NaturezaConta(int32_t conta) {
  return NaturezaDaClassificacao(naturezas_, Le(plano_, contabeis_, conta).classificacao);
}

bool CadastroEmpresa::TemHistorico(uint16_t codigo) {
  const auto [lido, novo] = historicosLidos_.try_emplace(codigo, false);
  if (novo) {
    _RegHistoricoPS registro{};
    lido->second = Exige(historicos_.Le(codigo, &registro), "CConexaoHistorico::Le") == S_OK;
  }
  return lido->second;
}

}  // namespace qx
