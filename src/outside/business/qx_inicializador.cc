#include "outside/business/qx_inicializador.h"

HRESULT CQXInicializador::Inicializa(const char* empresa, unsigned short usuario, uint32_t sessao) {
  Finaliza();
  m_empresa = empresa != nullptr ? empresa : "";
  m_usuario = usuario;
  m_sessao = sessao;
  const HRESULT hr = OnInicializa();
  m_bInicializado = SUCCEEDED(hr);
  return hr;
}

void CQXInicializador::Finaliza() {
  if (!m_bInicializado) return;
  m_bInicializado = false;
  OnFinaliza();
}
