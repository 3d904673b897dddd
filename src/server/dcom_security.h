// The process's DCOM security: the machine's choice to admit any local user
// ("DesabilitaAutenticacaoDCOM"), the security of the process's classes and
// the security of every proxy to a peer server.
#pragma once

#include "platform/com_runtime.h"

namespace qx {

// Reads "DesabilitaAutenticacaoDCOM" from the suite's machine key (absent is
// 0, any other value admits everyone); done once at start-up.
void LeSemAutenticacao();
// The value last read; false before any read.
bool SemAutenticacao();

// The authentication service and level that the security calls use.
struct AutenticacaoDcom {
  DWORD servico;  // RPC_C_AUTHN_NONE without authentication, else RPC_C_AUTHN_WINNT
  DWORD nivel;    // RPC_C_AUTHN_LEVEL_NONE without authentication, else _DEFAULT
};
AutenticacaoDcom ParametrosAutenticacao();

}  // namespace qx

// The process-wide security, set before any class is offered. A failure is
// written to the error log.
HRESULT QXCoInitializeSecurity();

// The security of a proxy to a peer server. A failure other than
// E_NOINTERFACE (an object that is no proxy) is written to the error log.
HRESULT QXCoSetProxyBlanket(IUnknown* pProxy);
