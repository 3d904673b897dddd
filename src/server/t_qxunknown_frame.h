// The member definitions of T_QXUnknown (included by t_qxunknown.h).
#pragma once

#include <cstring>

#include "contract/hresult.h"
#include "diagnostics/machine_faults.h"
#include "diagnostics/profiler_state.h"
#include "diagnostics/translate.h"
#include "platform/clock.h"
#include "platform/fault_guard.h"
#include "server/call_guard.h"
#include "server/frame_support.h"
#include "server/usage_handoff.h"

template <class I, class B>
T_QXUnknown<I, B>::T_QXUnknown() : m_estatisticas(std::make_unique<qx::CallStatistics>()) {
  MolduraVida(qx::sites::kConstrutor, &qx::OnInvalidParameter<qx::sites::kConstrutor>, [this] {
    m_pObjeto.reset(new B());
    return S_OK;
  });
}

template <class I, class B>
T_QXUnknown<I, B>::~T_QXUnknown() {
  MolduraVida(qx::sites::kDestrutor, &qx::OnInvalidParameter<qx::sites::kDestrutor>,
              [this] { return LiberaObjeto(qx::sites::kDestrutor, nullptr); });
  qx::EntregaEstatisticasUso(*m_estatisticas);
  m_estatisticas.reset();
}

template <class I, class B>
template <class Passo>
void T_QXUnknown<I, B>::MolduraVida(const qx::FrameSite& site, _invalid_parameter_handler handler,
                                    Passo passo) {
  Sleep(0);
  _set_thread_local_invalid_parameter_handler(handler);
  // Creation and destruction are told with an empty identity.
  CQXProfilerEmpresa vazio("", 0, 0);
  qx::ProfilerCall registro(&vazio);
  if (qx::ProfilerIsOn()) registro.Entry(site.nome);
  try {
    HRESULT hr = S_OK;
    uint32_t codigo = 0;
    if (!QXRunGuarded([&] { hr = passo(); }, &codigo)) {
      hr = qx::TrataFalhaMaquina(codigo, nullptr, site, false);
    }
    m_hrConstruct = hr;
    if (m_hrConstruct != S_OK) {
      qx::GravaLogFrame(&vazio, site, "m_hrConstruct", "pfInSEHFuncao()", m_hrConstruct);
    }
  } catch (...) {
    m_hrConstruct = QXTranslateThrownExceptionToHresult();
    qx::GravaLogFrame(&vazio, site, "m_hrConstruct", "QXTranslateThrownExceptionToHresult()",
                      m_hrConstruct);
  }
  registro.Close();
}

template <class I, class B>
HRESULT T_QXUnknown<I, B>::LiberaObjeto(const qx::FrameSite& site, const char* empresa) {
  B* objeto = m_pObjeto.release();
  if (objeto == nullptr) return S_OK;
  uint32_t codigo = 0;
  // Finalised before its destructor runs, so that an exception of the
  // finalisation reaches the frame (a destructor may not throw); the object
  // is destroyed either way.
  auto destroi = [objeto] {
    const std::unique_ptr<B> destruido(objeto);
    objeto->Finaliza();
  };
  if (QXRunGuarded(destroi, &codigo)) return S_OK;
  // What the fault left of the object is lost with it.
  return qx::TrataFalhaMaquina(codigo, empresa, site, true);
}

template <class I, class B>
template <class Chamada>
HRESULT T_QXUnknown<I, B>::ChamadaProtegida(const qx::FrameSite& site, const char* empresa,
                                            Chamada& chamada) {
  HRESULT hr = S_OK;
  uint32_t codigo = 0;
  if (QXRunGuarded([&] { hr = m_pObjeto ? chamada(*m_pObjeto) : E_QXCR_SEM_OBJETO; }, &codigo)) {
    return hr;
  }
  return qx::TrataFalhaMaquina(codigo, empresa, site, true);
}

template <class I, class B>
template <class Entrada, class Chamada>
HRESULT T_QXUnknown<I, B>::Moldura(const qx::FrameSite& site, _invalid_parameter_handler handler,
                                   qx::ProfilerCall& registro, Entrada& entrada, Chamada& chamada) {
  const int64_t inicio = qx::Agora100ns();
  Sleep(0);
  _set_thread_local_invalid_parameter_handler(handler);
  if (qx::ProfilerIsOn()) entrada(registro);
  // Kept for the whole call: the business object may be gone before it ends.
  const std::string empresa = m_pObjeto ? m_pObjeto->GetEmpresa() : "";
  HRESULT hr = S_OK;
  try {
    qx::CallGuard guarda(m_pObjeto.get());
    hr = ChamadaProtegida(site, empresa.c_str(), chamada);
    if (FAILED(hr) && !IgnoredCodeList(hr, site.ignorados)) {
      qx::GravaLogFrame(this, site, "hr", "pfInSEHFuncao()", hr);
    }
    // A machine fault leaves the object damaged: it is never used again.
    if (QXIsFatalHresult(hr)) LiberaObjeto(site, empresa.c_str());
  } catch (...) {
    hr = QXTranslateThrownExceptionToHresult();
    if (hr != S_OK)
      qx::GravaLogFrame(this, site, "hr", "QXTranslateThrownExceptionToHresult()", hr);
  }
  m_estatisticas->RecordCall(this, site.nome, inicio, qx::Agora100ns());
  return hr;
}

template <class I, class B>
template <class Entrada, class Chamada>
HRESULT T_QXUnknown<I, B>::Chama(const qx::FrameSite& site, _invalid_parameter_handler handler,
                                 Entrada&& entrada, Chamada&& chamada) {
  if (site.teste == qx::StateTest::kInicializado && !Inicializado()) {
    return E_QXCR_NAO_INICIALIZADO;
  }
  qx::ProfilerCall registro(this);
  const HRESULT hr = Moldura(site, handler, registro, entrada, chamada);
  registro.Close();
  return hr;
}

template <class I, class B>
HRESULT T_QXUnknown<I, B>::Inicializa_Padrao(_REG_DF_INICIALIZAPS regps) {
  const qx::FrameSite& site = qx::sites::kInicializaPadrao;
  const char* nomeCodigo = "";
  HRESULT hr = qx::VerificaRegistroInicializacao(regps, &nomeCodigo);
  if (hr != S_OK) {
    qx::GravaLogFrame(this, site, "hr", nomeCodigo, hr);
    return hr;
  }
  m_regInicializacao = regps;
  qx::ProfilerCall registro(this);
  auto entrada = [](qx::ProfilerCall& r) { r.Entry(qx::sites::kInicializaPadrao.nome); };
  auto chamada = [this](B& objeto) { return objeto.Inicializa(m_regInicializacao); };
  hr = Moldura(site, &qx::OnInvalidParameter<qx::sites::kInicializaPadrao>, registro, entrada,
               chamada);
  if (m_pObjeto && (FAILED(hr) || !m_pObjeto->EstaInicializado())) LiberaObjeto(site, nullptr);
  registro.Close();
  if (FAILED(hr)) m_regInicializacao = _REG_DF_INICIALIZAPS{};
  return hr;
}

template <class I, class B>
HRESULT T_QXUnknown<I, B>::KeepAlive(int32_t* pbOK) {
  Sleep(0);
  if (pbOK != nullptr) *pbOK = 1;
  return S_OK;
}

template <class I, class B>
HRESULT T_QXUnknown<I, B>::GetUltimoErro(_REG_DF_ERROPS* pregErrops) {
  Sleep(0);
  if (pregErrops == nullptr) return S_OK;
  std::memset(pregErrops, 0, sizeof(*pregErrops));
  if (m_pObjeto) m_pObjeto->GetErro().CopiarPara(pregErrops);
  return S_OK;
}

template <class I, class B>
HRESULT T_QXUnknown<I, B>::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (IsEqualIID(iid, IID_IQXCN_LancamentoLote)) {
    *object = static_cast<IQXCN_LancamentoLote*>(this);
  } else if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IQXCN_Lancamento)) {
    *object = static_cast<I*>(this);
  } else {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

template <class I, class B>
ULONG T_QXUnknown<I, B>::Release() {
  const ULONG restantes = --m_cRef;
  if (restantes == 0) delete this;
  return restantes;
}
