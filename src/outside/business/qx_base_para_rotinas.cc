#include "outside/business/qx_base_para_rotinas.h"

#include <memory>
#include <string>

#include "diagnostics/error_log.h"
#include "outside/database/company_database.h"
#include "outside/database/outside_codes.h"
#include "outside/database/sessions.h"
#include "storage/folga_disco.h"
#include "values/text_format.h"

namespace {

thread_local CQXBaseParaRotinas* t_acessoDefault = nullptr;

}  // namespace

CQXBaseParaRotinas::~CQXBaseParaRotinas() {
  if (t_acessoDefault == this) t_acessoDefault = nullptr;
  Finaliza();
}

HRESULT CQXBaseParaRotinas::Inicializa(const _REG_DF_INICIALIZAPS& registro) {
  m_registro = registro;
  m_bTemRegistro = true;
  const std::string empresa = qx::FieldText(registro.szEmpresa);
  const HRESULT hr = CQXInicializador::Inicializa(
      empresa.c_str(), static_cast<unsigned short>(registro.ulUsuario), registro.ulNumeroSessao);
  if (FAILED(hr)) m_bTemRegistro = false;
  return hr;
}

HRESULT CQXBaseParaRotinas::Inicializa(const char* empresa, unsigned short usuario,
                                       uint32_t sessao) {
  m_bTemRegistro = false;
  return CQXInicializador::Inicializa(empresa, usuario, sessao);
}

const _REG_DF_INICIALIZAPS* CQXBaseParaRotinas::GetRegistroInicializacao() {
  return m_bTemRegistro ? &m_registro : nullptr;
}

HRESULT CQXBaseParaRotinas::FuncaoGenerica(uint32_t, _REG_DF_FUNCAO_GENERICAPS,
                                           _REG_DF_FUNCAO_GENERICAPS** ppregOutps) {
  if (ppregOutps != nullptr) *ppregOutps = nullptr;
  return E_NOTIMPL;
}

void CQXBaseParaRotinas::SetAcessoDefault(CQXBaseParaRotinas* acesso) { t_acessoDefault = acesso; }

CQXBaseParaRotinas* CQXBaseParaRotinas::GetAcessoServidoresDefault() { return t_acessoDefault; }

HRESULT CQXBaseParaRotinas::OnInicializa() {
  LimpaErro();
  m_acesso.Conecta(nullptr, this, GetUsuario());
  if (m_bUsaConexaoDefault) return S_OK;

  std::shared_ptr<qx::SuiteDatabase> db;
  std::string message;
  HRESULT hr = qx::OpenCompanyDatabase(GetEmpresa(), &db, &message);
  // On a full disk the session is recorded by the first save that finds room.
  m_bSessaoPendente = SUCCEEDED(hr) && db->ReadOnly();
  if (SUCCEEDED(hr) && !db->ReadOnly()) {
    hr = RegistraSessao(*db);
    if (hr == qx::kDiscoCheio) {
      m_bSessaoPendente = true;
      hr = S_OK;
    }
    if (FAILED(hr)) message = db->message();
  }
  if (FAILED(hr)) {
    SetErro(hr, kNumeroServidorDadosDF, 0, "%s", message.c_str());
    QXGravaLogErro(this, "CQXBaseParaRotinas::OnInicializa", "QXBaseParaRotinas", __LINE__,
                   "%s\t%s", qx::LinhaLogHresult("hr", "AbreBancoEmpresa()", hr).c_str(),
                   message.c_str());
    return hr;
  }
  m_db = db;
  m_acesso.Conecta(std::move(db), this, GetUsuario());
  return S_OK;
}

HRESULT CQXBaseParaRotinas::RegistraSessao(qx::SuiteDatabase& db) {
  const std::string aplicativo = m_bTemRegistro ? qx::FieldText(m_registro.szAplicativo) : "";
  return qx::RegistraSessao(db, GetNumeroSessao(), GetUsuario(), aplicativo);
}

HRESULT CQXBaseParaRotinas::AceitaGravacao(uint64_t bytes, bool reserva) {
  if (m_db == nullptr) return S_OK;
  HRESULT hr = S_OK;
  // The free room of a PostgreSQL server is that server's to watch.
  if (!m_db->file().empty() && !qx::CabeNoDisco(m_db->file(), bytes, reserva)) {
    hr = m_db->Fail(qx::kDiscoCheio, qx::FormatText("Banco de dados \"%s\": o disco est\xE1 cheio.",
                                                    m_db->path().c_str()));
  } else if (m_bSessaoPendente) {
    hr = m_db->TryWritable();
    if (SUCCEEDED(hr)) hr = RegistraSessao(*m_db);
    m_bSessaoPendente = FAILED(hr);
  }
  if (FAILED(hr)) SetErro(hr, kNumeroServidorDadosDF, 0, "%s", m_db->message().c_str());
  return FAILED(hr) ? hr : S_OK;
}

void CQXBaseParaRotinas::OnFinaliza() {
  m_db.reset();
  m_acesso.Conecta(nullptr, this, GetUsuario());
}
