// CQXExeModuleT<T>: the start-up of a local server, from its command line to
// the end of its message loop, with the usage analytics of the process. T
// gives its class objects and its registration:
//   HRESULT T::RegisterServer(bool porUsuario), T::UnregisterServer(bool);
//   HRESULT T::RegisterClassObjects(DWORD context, DWORD flags);
//   void T::RevokeClassObjects();
#pragma once

#include <string>
#include <string_view>

#include "platform/com_runtime.h"
#include "platform/com_runtime_hooks.h"
#include "server/command_line.h"
#include "server/dcom_security.h"
#include "server/exe_module.h"
#include "server/qx_analytics.h"

template <class T>
class CQXExeModuleT : public qx::ExeModule, public CQXAnalytics {
 public:
  explicit CQXExeModuleT(std::string origem, uint32_t tempoOcioso = qx::kTempoOcioso)
      : ExeModule(tempoOcioso), CQXAnalytics(std::move(origem)) {}
  // The figures of the process go to the analytics service.
  ~CQXExeModuleT() override { Envia(); }

  // COM, the process's security, then what the command line asks for: the
  // registration's or the server's result.
  HRESULT WinMain(std::string_view linha) {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    HRESULT hr = QXCoInitializeSecurity();
    if (SUCCEEDED(hr)) hr = Despacha(qx::InterpretaLinhaComando(linha));
    CoUninitialize();
    return hr;
  }

  // Offers the classes and serves until the monitor ends the process. A
  // process that no client reaches ends after the idle time too.
  HRESULT Run() {
    T& self = static_cast<T&>(*this);
    qx::SetObjectCountHooks([this](long) { Lock(); }, [this](long) { Unlock(); });
    StartMonitor();
    HRESULT hr =
        self.RegisterClassObjects(CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE | REGCLS_SUSPENDED);
    if (SUCCEEDED(hr)) {
      hr = CoResumeClassObjects();
      SinalizaOcioso();
      if (SUCCEEDED(hr)) {
        AguardaFim();
      } else {
        AguardaFim(2 * TempoOcioso());
      }
      self.RevokeClassObjects();
    }
    qx::SetObjectCountHooks({}, {});
    return hr;
  }

 private:
  HRESULT Despacha(qx::AcaoLinhaComando acao) {
    T& self = static_cast<T&>(*this);
    switch (acao) {
      case qx::AcaoLinhaComando::kRegistra:
        return self.RegisterServer(false);
      case qx::AcaoLinhaComando::kDesregistra:
        return self.UnregisterServer(false);
      case qx::AcaoLinhaComando::kRegistraUsuario:
        return self.RegisterServer(true);
      case qx::AcaoLinhaComando::kDesregistraUsuario:
        return self.UnregisterServer(true);
      case qx::AcaoLinhaComando::kServidor:
        break;
    }
    return Run();
  }
};
