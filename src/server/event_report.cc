#include "server/event_report.h"

#include "diagnostics/system_messages.h"
#include "platform/process_info.h"
#include "values/text_format.h"

namespace qx {

void ReportaEvento(EventType tipo, HRESULT hr, REFCLSID clsid, const std::string& texto) {
  const std::string detalhes = FormatText(
      "\nHR: 0x%X (%s)\nCLSID: %s\nPrograma: %s\n", static_cast<unsigned>(hr),
      TextoMensagemSistema(hr).c_str(), GuidToBracedText(clsid).c_str(), ExecutablePath().c_str());
  ReportEvent(kFonteEventos, tipo, static_cast<uint32_t>(hr), {texto, detalhes});
}

}  // namespace qx
