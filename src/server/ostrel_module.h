// COSTRELModule: the module of the Ostrel process, the local server of the
// class QXCN_Lancamento.
#pragma once

#include <string_view>

#include "server/class_factory.h"
#include "server/cqx_exe_module.h"

class COSTRELModule : public CQXExeModuleT<COSTRELModule> {
 public:
  explicit COSTRELModule(uint32_t tempoOcioso = qx::kTempoOcioso);

  // Registration in the registry store, with this executable as the server.
  HRESULT RegisterServer(bool porUsuario);
  HRESULT UnregisterServer(bool porUsuario);
  HRESULT RegisterClassObjects(DWORD context, DWORD flags);
  void RevokeClassObjects();

 private:
  qx::FabricaLancamento m_fabrica{*this};
  DWORD m_cookie = 0;
};

namespace qx {

// The process: the security flag, the module, and the command line's result
// as the exit status (0 for success, never 0 for a failure).
int OstrelMain(std::string_view linha);
int CodigoSaida(HRESULT hr);

}  // namespace qx
