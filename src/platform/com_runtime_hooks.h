// Plug-in points of the local-server runtime: the per-interface stubs and proxies, the
// report of refused connections and bad frames, and the count of live objects that the
// server's shutdown monitor watches.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/com_types.h"
#include "platform/guid.h"
#include "platform/unknown.h"

namespace qx {

class ClientConnection;

// Server side of an interface: runs method `slot` (3 and up) of `object` (the interface
// pointer, as IUnknown*) with the marshalled arguments, writes the marshalled results to
// *reply and gives the method's HRESULT. RPC_X_BAD_STUB_DATA for a payload it cannot read
// ends the connection.
using StubFunction = HRESULT (*)(IUnknown* object, uint16_t slot, const uint8_t* payload,
                                 size_t size, std::vector<uint8_t>* reply);
// Client side: a new proxy (one reference) for object `objectId` of the connection, or null
// when memory is short.
using ProxyFactory = IUnknown* (*)(std::shared_ptr<ClientConnection> connection, uint32_t objectId);

// Registration is process-wide and usually done once at start-up; registering an interface
// again replaces its functions.
void RegisterInterfaceStub(const IID& iid, StubFunction stub);
void RegisterInterfaceProxy(const IID& iid, ProxyFactory factory);
StubFunction FindInterfaceStub(const IID& iid);
ProxyFactory FindInterfaceProxy(const IID& iid);

enum class RuntimeEvent {
  kRefusedConnection,    // another user while authentication is on
  kBadFrame,             // a frame too long or shorter than its header
  kBadPayload,           // a payload the runtime or a stub could not read
  kTooManyConnections,   // a connection past the server's limit, refused
  kIdleConnection,       // a connection holding nothing that sent nothing in time, closed
  kUnsafeRuntimeFolder,  // a runtime folder that others could have put a socket in
  kUntrustedServer,      // a server of another user listening where the client looked
};
// Receives the runtime's reports (from any thread); an empty function drops them.
using RuntimeLogHook = std::function<void(RuntimeEvent event, const std::string& text)>;
void SetRuntimeLogHook(RuntimeLogHook hook);
void ReportRuntimeEvent(RuntimeEvent event, const std::string& text);

// Objects held by the connections of this process's servers: each created object (and each
// interface obtained by QueryInterface) counts one until released or its connection closes.
long LiveObjectCount();
// Called after the count went up or down, with the new count (from any thread).
using ObjectCountHook = std::function<void(long count)>;
void SetObjectCountHooks(ObjectCountHook created, ObjectCountHook released);
void CountObjectCreated();
void CountObjectReleased();

}  // namespace qx
