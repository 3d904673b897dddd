#include "lancamento/lancamento_base.h"

#include "diagnostics/error_log.h"
#include "lancamento/operacao.h"
#include "storage/arq_status.h"
#include "storage/folders/folders.h"

namespace {

constexpr char kUnidade[] = "LancamentoBase";
constexpr char kFuncaoInicializa[] = "CLancamentoBase::OnInicializa";
// The chart connections read each account from the database when asked for.
constexpr char kModoPlano = '0';

}  // namespace

CLancamentoBase::CLancamentoBase() {
  for (qx::ConexaoEmpresa* conexao : {static_cast<qx::ConexaoEmpresa*>(&m_planoContabil),
                                      static_cast<qx::ConexaoEmpresa*>(&m_planoGerencial),
                                      static_cast<qx::ConexaoEmpresa*>(&m_historico)}) {
    conexao->SetTrataErros(false);
    conexao->SetTratarMensagens(false);
  }
}

CLancamentoBase::~CLancamentoBase() { Finaliza(); }

HRESULT CLancamentoBase::FalhaInicializacao(int linha, const char* passo, HRESULT hr) {
  QXGravaLogHresult(this, kFuncaoInicializa, kUnidade, linha, "hr", passo, hr);
  return hr;
}

HRESULT CLancamentoBase::OnInicializa() {
  HRESULT hr = CQXBaseParaRotinas::OnInicializa();
  if (FAILED(hr)) {
    return hr == -1 ? hr : FalhaInicializacao(__LINE__, "__super::OnInicializa()", hr);
  }
  m_strPastaEmpresa = qx::CompanyFolder(qx::kModuloContabilidade, GetEmpresa());
  // A new session starts without an entry; the rest of the current entry is
  // what the client leaves in it.
  m_lancamento.ulGerencial = 0;
  m_lancamento.Documento = 0;
  m_lancamento.Valor = CURRENCY{};
  m_lancamento.ValorMoeda = CURRENCY{};
  m_lancamento.CodHis = 0;
  m_lancamento.Filial = 0;
  m_lancamento.cStatusNovo = 0;
  m_lancamento.lChaveModulo = 0;
  m_lancamento.iData = 0;

  // The master service is released on every path by its owner.
  CQXComPtr<IQXCN_Mestre> mestre;
  hr = GetAcessoContabil()->GetICNMestre(mestre);
  if (FAILED(hr) || !mestre) {
    // A status in the failure form: the object must not count as initialised.
    return FalhaInicializacao(__LINE__, "GetAcessoContabil()->GetICNMestre()",
                              QXHresultDoStatus(qx::kStatusSemMestre));
  }
  _REG_CN_CONFIGURACAOPS configuracao{};
  hr = mestre->LeConfiguracao(&configuracao);
  if (FAILED(hr)) return FalhaInicializacao(__LINE__, "pMestre->LeConfiguracao()", hr);
  m_usCodigoCliente = configuracao.usCodigoCliente;
  m_dtInicialPeriodo = CQXData(configuracao.ulDataInicial);
  m_dtFinalPeriodo = CQXData(configuracao.ulDataFinal);

  _REG_CN_CONFIGURACAO_COMPLEMENTARPS complementar{};
  hr = mestre->LeConfiguracaoComplementar(&complementar);
  if (FAILED(hr)) return FalhaInicializacao(__LINE__, "pMestre->LeConfiguracaoComplementar()", hr);
  m_usModoDiferenca = complementar.cModoDiferenca;
  m_bDiferencaPorFilial = complementar.cDiferencaPorFilial != 0;
  m_ulMoedaEstrangeira = complementar.ulMoedaEstrangeira;

  CQXDadosDF_Propriedades propriedades;
  hr = GetAcessoEmpresarial()->LePropriedades(&propriedades, 0);
  if (FAILED(hr)) return FalhaInicializacao(__LINE__, "LePropriedades()", hr);
  m_bUsaQuantidadeGerencial = propriedades.GetUsaQuantidadeGerencial() != 0;

  hr = GetAcessoEmpresarial()->LeBufferTiposSistemas(&m_tiposSistemas, 0);
  if (FAILED(hr)) return FalhaInicializacao(__LINE__, "LeBufferTiposSistemas()", hr);

  hr = m_planoContabil.Inicializa(GetEmpresa(), GetUsuario(), GetNumeroSessao(), kModoPlano,
                                  kModoPlano);
  if (FAILED(hr)) return FalhaInicializacao(__LINE__, "m_PlanoContabil.Inicializa()", hr);
  hr = m_planoGerencial.Inicializa(GetEmpresa(), GetUsuario(), GetNumeroSessao(), kModoPlano,
                                   kModoPlano);
  if (FAILED(hr)) return FalhaInicializacao(__LINE__, "m_PlanoGerencial.Inicializa()", hr);
  hr = m_historico.Inicializa(GetEmpresa(), GetUsuario(), GetNumeroSessao());
  if (FAILED(hr)) return FalhaInicializacao(__LINE__, "m_Historico.Inicializa()", hr);

  m_ged.reset();
  if (m_tiposSistemas.GetPossuiTarvoGED() != 0) {
    m_ged.emplace(0);
    hr = m_ged->Inicializa(GetEmpresa(), GetUsuario(), GetNumeroSessao());
    if (FAILED(hr)) return FalhaInicializacao(__LINE__, "m_GedIntegracao.Inicializa()", hr);
  }
  qx::RecuperaAoAbrir(*this);
  return S_OK;
}
