#include "server/ostrel_module.h"

#include "contract/interface_ids.h"
#include "platform/codepage.h"
#include "platform/com_runtime_hooks.h"
#include "platform/process_info.h"
#include "server/event_report.h"
#include "server/registration.h"

COSTRELModule::COSTRELModule(uint32_t tempoOcioso)
    : CQXExeModuleT(qx::kNomeAplicacao, tempoOcioso) {}

HRESULT COSTRELModule::RegisterServer(bool porUsuario) {
  return qx::RegistraServidor(porUsuario, qx::ExecutablePath());
}

HRESULT COSTRELModule::UnregisterServer(bool porUsuario) {
  return qx::DesregistraServidor(porUsuario);
}

HRESULT COSTRELModule::RegisterClassObjects(DWORD context, DWORD flags) {
  return CoRegisterClassObject(CLSID_QXCN_Lancamento, &m_fabrica, context, flags, &m_cookie);
}

void COSTRELModule::RevokeClassObjects() {
  if (m_cookie != 0) CoRevokeClassObject(m_cookie);
  m_cookie = 0;
}

namespace qx {

int CodigoSaida(HRESULT hr) {
  if (SUCCEEDED(hr)) return 0;
  const int baixo = static_cast<int>(static_cast<uint32_t>(hr) & 0xFFu);
  return baixo != 0 ? baixo : 1;
}

int OstrelMain(std::string_view linha) {
  LeSemAutenticacao();
  // What the runtime refuses or closes (other users, bad frames, too many connections, an
  // unsafe runtime folder) goes to the event log as a warning.
  SetRuntimeLogHook([](RuntimeEvent evento, const std::string& texto) {
    ReportEvent(kFonteEventos, EventType::kWarning, static_cast<uint32_t>(evento),
                {Utf8ToCp1252(texto)});
  });
  try {
    COSTRELModule modulo;
    return CodigoSaida(modulo.WinMain(linha));
  } catch (int32_t hr) {
    return CodigoSaida(hr);
  }
}

}  // namespace qx
