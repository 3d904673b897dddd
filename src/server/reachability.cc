#include "server/reachability.h"

#include "diagnostics/win32_errors.h"
#include "platform/child_output.h"
#include "platform/registry.h"

namespace qx {
namespace {

constexpr uint32_t kEsperaPingMs = 10000;
constexpr long kErroGenerico = 31;  // ERROR_GEN_FAILURE: never a success

}  // namespace

HRESULT TestaAlcance(REFCLSID clsid, std::string* texto) {
  texto->clear();
  std::string chave = "HKEY_CLASSES_ROOT\\CLSID\\";
  chave += GuidToBracedText(clsid);
  std::string aplicacao, servidor;
  if (RegGetString(chave, "AppID", &aplicacao) == ERROR_SUCCESS && !aplicacao.empty()) {
    std::string chaveAplicacao = "HKEY_CLASSES_ROOT\\AppID\\";
    chaveAplicacao += aplicacao;
    if (RegGetString(chaveAplicacao, "RemoteServerName", &servidor) != ERROR_SUCCESS) {
      servidor.clear();
    }
  }
  if (servidor.empty()) {
    *texto = "Falta informar o IP";
    return S_OK;
  }
  // The name goes to ping as one argument, never through a shell; "--" keeps
  // a name that starts with '-' from reading as an option.
  const int erro = RunForOutput({"ping", "-c", "4", "--", servidor}, kEsperaPingMs, texto);
  if (erro == 0) return S_OK;
  const long win32 = Win32ErrorFromErrno(erro);
  return HRESULT_FROM_WIN32(static_cast<int32_t>(win32 != 0 ? win32 : kErroGenerico));
}

}  // namespace qx
