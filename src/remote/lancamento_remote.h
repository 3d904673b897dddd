// The entry service across processes: the server's stubs and the client's proxies of
// IQXCN_Lancamento and of its batch interface IQXCN_LancamentoLote, all generated from the
// interface table. A server process calls RegisterLancamentoStub() before it offers the
// class; a client RegisterLancamentoProxy() before it creates objects (libqxcom does that
// for its users). Each registers both interfaces.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/unknown.h"

namespace qx {

void RegisterLancamentoStub();
void RegisterLancamentoProxy();

// Runs method `slot` (3 to 92) of `object` (an IQXCN_Lancamento) with the marshalled
// arguments and gives the method's HRESULT with the marshalled results in *reply;
// RPC_X_BAD_STUB_DATA (the method not called) for arguments it cannot read, and
// RPC_S_PROCNUM_OUT_OF_RANGE for a slot outside the interface.
HRESULT LancamentoStub(IUnknown* object, uint16_t slot, const uint8_t* payload, size_t size,
                       std::vector<uint8_t>* reply);
// The same for `object` an IQXCN_LancamentoLote (slots 3 and up).
HRESULT LoteStub(IUnknown* object, uint16_t slot, const uint8_t* payload, size_t size,
                 std::vector<uint8_t>* reply);

}  // namespace qx
