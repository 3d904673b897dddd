// The creation of objects of the suite's other servers: retried while their
// server is unavailable, with error log lines, event-log reports and the
// proxy security of dcom_security.h on the object obtained.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/com_runtime.h"

enum eQXCCI_FLAGS : DWORD {
  eQXCCI_LOG_FAILURE = 1,  // report failures to the event log
  eQXCCI_RETRY = 2,        // retry while the server is unavailable
};

HRESULT QXCoCreateInstance(REFCLSID rclsid, IUnknown* pUnkOuter, DWORD dwClsCtx, REFIID riid,
                           void** ppv, DWORD flags);
// The common form: no outer object, every context, both flags.
HRESULT QXCoCreateInstance(REFCLSID rclsid, REFIID riid, void** ppv);

namespace qx {

inline constexpr int kTentativasCriacao = 500;
inline constexpr uint32_t kEsperaTentativaMs = 100;

// What a creation attempt and a wait between attempts do (CoCreateInstanceEx
// and Sleep in QXCoCreateInstance).
struct OperacoesCriacao {
  std::function<HRESULT(REFCLSID, IUnknown*, DWORD, COSERVERINFO*, DWORD, MULTI_QI*)> cria;
  std::function<void(uint32_t milliseconds)> espera;
};

// QXCoCreateInstance over the given operations. A server that cannot be
// started (CO_E_SERVER_EXEC_FAILURE) or never listens
// (CO_E_SERVER_START_TIMEOUT) counts as unavailable, as does one that does not
// answer (RPC_S_SERVER_UNAVAILABLE).
HRESULT CriaComRetentativa(const OperacoesCriacao& operacoes, REFCLSID rclsid, IUnknown* pUnkOuter,
                           DWORD dwClsCtx, REFIID riid, void** ppv, DWORD flags);

}  // namespace qx
