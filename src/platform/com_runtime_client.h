// The client end of one connection to a local server. Several threads may share it: calls
// are sent and answered one at a time, in order, and each reply is checked against its
// call id.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/com_types.h"
#include "platform/guid.h"
#include "platform/unknown.h"

namespace qx {

class ClientConnection : public std::enable_shared_from_this<ClientConnection> {
 public:
  // Takes ownership of a connected socket.
  explicit ClientConnection(int fd) : fd_(fd) {}
  ClientConnection(const ClientConnection&) = delete;
  ClientConnection& operator=(const ClientConnection&) = delete;
  ~ClientConnection();

  // Sends method `slot` of object `objectId` and waits for its reply: the call's HRESULT,
  // with the reply's payload in *reply. A broken connection (closed, a reply of another
  // call, a bad length) gives RPC_S_SERVER_UNAVAILABLE now and for every later call; a
  // refusal by the server gives its code (E_ACCESSDENIED, RPC_S_SERVER_TOO_BUSY).
  HRESULT Call(uint32_t objectId, uint16_t slot, const std::vector<uint8_t>& payload,
               std::vector<uint8_t>* reply);

  // Asks the class factory for a new object with interface iid: its proxy (through Wrap).
  HRESULT CreateObject(REFIID iid, IUnknown** proxy);
  // A proxy for interface iid of object `objectId` (which this call takes over): through
  // the interface's proxy factory, else the object is released and E_NOINTERFACE given.
  HRESULT Wrap(uint32_t objectId, REFIID iid, IUnknown** proxy);
  // Asks the server for interface iid of object `objectId`: the new object's id.
  HRESULT RemoteQueryInterface(uint32_t objectId, REFIID iid, uint32_t* newObjectId);
  // Releases the server's object (errors are of no use to the releasing proxy).
  void RemoteRelease(uint32_t objectId);
  // The class factory's LockServer for this connection (see com_runtime.h).
  HRESULT LockServer(bool lock);

 private:
  // One frame out, its reply in; *fatal when the connection is unusable afterwards.
  HRESULT Exchange(const std::vector<uint8_t>& frame, uint32_t callId, std::vector<uint8_t>* reply,
                   bool* fatal);

  std::mutex mutex_;
  int fd_;
  uint32_t nextCallId_ = 1;
  HRESULT broken_ = S_OK;
};

// Connects to the class's server, starting it when nobody listens (see com_runtime.h). The
// runtime folder must pass CheckRuntimeFolder and the server must run as this user or
// root (SO_PEERCRED), before a byte is sent; otherwise E_ACCESSDENIED, reported.
HRESULT ConnectToClass(const CLSID& clsid, std::shared_ptr<ClientConnection>* connection);

}  // namespace qx
