#include "platform/com_runtime_client.h"

#include "platform/com_runtime.h"
#include "platform/com_runtime_hooks.h"
#include "platform/unix_socket.h"
#include "platform/wire_frame.h"
#include "platform/wire_frame_marshal.h"

namespace qx {

ClientConnection::~ClientConnection() { CloseSocket(fd_); }

HRESULT ClientConnection::Call(uint32_t objectId, uint16_t slot,
                               const std::vector<uint8_t>& payload, std::vector<uint8_t>* reply) {
  std::lock_guard lock(mutex_);
  if (FAILED(broken_)) return broken_;
  uint32_t callId = nextCallId_++;
  if (nextCallId_ == 0) nextCallId_ = 1;  // call id 0 is the server's refusal notice
  bool fatal = false;
  HRESULT hr = Exchange(EncodeRequest(callId, objectId, slot, payload), callId, reply, &fatal);
  if (fatal) broken_ = hr;
  return hr;
}

HRESULT ClientConnection::Exchange(const std::vector<uint8_t>& frame, uint32_t callId,
                                   std::vector<uint8_t>* reply, bool* fatal) {
  *fatal = true;
  // A refusing server may have closed before the frame went out: its notice is still there.
  bool sent = SendAll(fd_, frame.data(), frame.size());
  uint8_t head[sizeof(WireReplyHeader)];
  if (!ReceiveAll(fd_, head, sizeof(head))) return RPC_S_SERVER_UNAVAILABLE;
  WireReplyHeader header = DecodeReplyHeader(head);
  if (header.callId == 0 && FAILED(header.result)) return header.result;  // a refusal notice
  if (!sent || header.callId != callId || header.length < sizeof(head) ||
      header.length > kMaxFrameLength) {
    return RPC_S_SERVER_UNAVAILABLE;
  }
  reply->resize(header.length - sizeof(head));
  if (!ReceiveAll(fd_, reply->data(), reply->size())) return RPC_S_SERVER_UNAVAILABLE;
  *fatal = false;
  return header.result;
}

HRESULT ClientConnection::Wrap(uint32_t objectId, REFIID iid, IUnknown** proxy) {
  *proxy = nullptr;
  ProxyFactory factory = FindInterfaceProxy(iid);
  if (factory != nullptr) *proxy = factory(shared_from_this(), objectId);
  if (*proxy != nullptr) return S_OK;
  RemoteRelease(objectId);
  return factory == nullptr ? E_NOINTERFACE : E_OUTOFMEMORY;
}

namespace {

// A call whose argument is an IID and whose result is a new object id.
HRESULT CallForObject(ClientConnection* connection, uint32_t objectId, uint16_t slot, REFIID iid,
                      uint32_t* newObjectId) {
  WireWriter args;
  args.Value(iid);
  std::vector<uint8_t> reply;
  HRESULT hr = connection->Call(objectId, slot, args.bytes(), &reply);
  if (FAILED(hr)) return hr;
  WireReader results(reply);
  return results.U32(newObjectId) && results.Finished() ? hr : RPC_X_BAD_STUB_DATA;
}

}  // namespace

HRESULT ClientConnection::RemoteQueryInterface(uint32_t objectId, REFIID iid,
                                               uint32_t* newObjectId) {
  return CallForObject(this, objectId, kSlotQueryInterface, iid, newObjectId);
}

void ClientConnection::RemoteRelease(uint32_t objectId) {
  std::vector<uint8_t> reply;
  Call(objectId, kSlotRelease, {}, &reply);
}

HRESULT ClientConnection::CreateObject(REFIID iid, IUnknown** proxy) {
  *proxy = nullptr;
  uint32_t objectId = 0;
  const HRESULT hr = CallForObject(this, kClassFactoryObject, kSlotCreateInstance, iid, &objectId);
  return FAILED(hr) ? hr : Wrap(objectId, iid, proxy);
}

HRESULT ClientConnection::LockServer(bool lock) {
  WireWriter args;
  args.I32(lock ? 1 : 0);
  std::vector<uint8_t> reply;
  return Call(kClassFactoryObject, kSlotLockServer, args.bytes(), &reply);
}

}  // namespace qx
