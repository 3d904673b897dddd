// libqxcom: what a suite program links to use the entry service of a running (or startable)
// Ostrel. Including this header registers the service's proxy when the program starts, so
// the usual calls are all a client needs:
//   CoInitializeEx(nullptr, COINIT_MULTITHREADED);
//   CLSID clsid;  CLSIDFromProgID(u"QXCN_Lancamento.QXCN_Lancamento", &clsid);
//   MULTI_QI qi = {&IID_IQXCN_Lancamento, nullptr, S_OK};
//   CoCreateInstanceEx(clsid, nullptr, CLSCTX_LOCAL_SERVER, nullptr, 1, &qi);
//   auto* servico = static_cast<IQXCN_Lancamento*>(qi.pItf);  ...  servico->Release();
#pragma once

#include "contract/interface_ids.h"
#include "contract/iqxcn_lancamento.h"
#include "platform/com_runtime.h"

namespace qx {

// The entry service's proxy, registered once per process (later calls do nothing).
bool RegistraClienteLancamento();
inline const bool kClienteLancamentoRegistrado = RegistraClienteLancamento();

// A new entry service object of the class named by the ProgID
// "QXCN_Lancamento.QXCN_Lancamento", through its local server; *servico null on failure.
HRESULT CriaServicoLancamento(IQXCN_Lancamento** servico);

}  // namespace qx
