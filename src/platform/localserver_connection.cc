#include "platform/localserver_connection.h"

#include "platform/unix_socket.h"
#include "platform/wire_frame_marshal.h"

namespace qx {
namespace {

// The IID that is the whole payload of a creation or a QueryInterface.
bool ReadIid(const uint8_t* payload, size_t size, IID* iid) {
  WireReader in(payload, size);
  return in.Value(iid) && in.Finished();
}

}  // namespace

ServerConnection::~ServerConnection() {
  Stop();
  if (thread_.joinable()) thread_.join();
  CloseSocket(fd_);
}

void ServerConnection::Start() {
  thread_ = std::thread([this] { Run(); });
}

void ServerConnection::Stop() { ShutdownSocket(fd_); }

void ServerConnection::Run() {
  for (;;) {
    uint8_t head[sizeof(uint32_t)];
    if (!ReceiveAll(fd_, head, sizeof(head))) break;
    uint32_t length = 0;
    WireReader(head, sizeof(head)).U32(&length);
    if (length < sizeof(WireRequestHeader) || length > kMaxFrameLength) {
      ReportRuntimeEvent(RuntimeEvent::kBadFrame,
                         "frame of " + std::to_string(length) + " bytes: connection closed");
      break;
    }
    std::vector<uint8_t> frame(length);
    std::copy(head, head + sizeof(head), frame.begin());
    if (!ReceiveAll(fd_, frame.data() + sizeof(head), length - sizeof(head))) break;
    if (!Serve(frame)) break;
  }
  ShutdownSocket(fd_);
  ReleaseAll();
  done_ = true;
}

bool ServerConnection::Serve(const std::vector<uint8_t>& frame) {
  WireRequestHeader header = DecodeRequestHeader(frame.data());
  std::vector<uint8_t> reply;
  HRESULT hr =
      Dispatch(header, frame.data() + sizeof(header), frame.size() - sizeof(header), &reply);
  if (hr == RPC_X_BAD_STUB_DATA) {
    ReportRuntimeEvent(RuntimeEvent::kBadPayload,
                       "bad payload for object " + std::to_string(header.objectId) + " slot " +
                           std::to_string(header.slot) + ": connection closed");
    return false;
  }
  if (reply.size() > kMaxFrameLength - sizeof(WireReplyHeader)) {
    reply.clear();
    hr = E_OUTOFMEMORY;
  }
  std::vector<uint8_t> out = EncodeReply(header.callId, hr, reply);
  return SendAll(fd_, out.data(), out.size());
}

HRESULT ServerConnection::Dispatch(const WireRequestHeader& header, const uint8_t* payload,
                                   size_t size, std::vector<uint8_t>* reply) {
  if (header.objectId == kClassFactoryObject) {
    if (header.slot == kSlotLockServer) return LockServer(payload, size);
    if (header.slot != kSlotCreateInstance) return E_NOTIMPL;
    return Obtain(
        payload, size,
        [this](REFIID iid, void** object) {
          return factory_->CreateInstance(nullptr, iid, object);
        },
        reply);
  }
  auto found = objects_.find(header.objectId);
  if (found == objects_.end()) return RPC_E_INVALID_OBJECT;
  switch (header.slot) {
    case kSlotQueryInterface:
      return Obtain(
          payload, size,
          [object = found->second.object](REFIID iid, void** result) {
            return object->QueryInterface(iid, result);
          },
          reply);
    case kSlotRelease:
      if (size != 0) return RPC_X_BAD_STUB_DATA;
      found->second.object->Release();
      objects_.erase(found);
      CountObjectReleased();
      return S_OK;
    case kSlotAddRef:
      return E_NOTIMPL;
    default:
      return found->second.stub(found->second.object, header.slot, payload, size, reply);
  }
}

HRESULT ServerConnection::Obtain(const uint8_t* payload, size_t size,
                                 const std::function<HRESULT(REFIID, void**)>& get,
                                 std::vector<uint8_t>* reply) {
  IID iid;
  if (!ReadIid(payload, size, &iid)) return RPC_X_BAD_STUB_DATA;
  StubFunction stub = FindInterfaceStub(iid);
  if (stub == nullptr) return E_NOINTERFACE;
  void* object = nullptr;
  HRESULT hr = get(iid, &object);
  if (FAILED(hr)) return hr;
  if (object == nullptr) return E_UNEXPECTED;
  return Keep(static_cast<IUnknown*>(object), stub, reply);
}

HRESULT ServerConnection::Keep(IUnknown* object, StubFunction stub, std::vector<uint8_t>* reply) {
  uint32_t id = nextObjectId_++;
  if (nextObjectId_ == kClassFactoryObject) nextObjectId_ = 1;
  objects_[id] = Entry{object, stub};
  CountObjectCreated();
  WireWriter out;
  out.U32(id);
  *reply = out.Take();
  return S_OK;
}

HRESULT ServerConnection::LockServer(const uint8_t* payload, size_t size) {
  WireReader in(payload, size);
  int32_t lock = 0;
  if (!in.I32(&lock) || !in.Finished()) return RPC_X_BAD_STUB_DATA;
  if (lock == 0 && locks_ == 0) return S_FALSE;
  const HRESULT hr = factory_->LockServer(lock);
  if (SUCCEEDED(hr)) locks_ = lock != 0 ? locks_ + 1 : locks_ - 1;
  return hr;
}

void ServerConnection::ReleaseAll() {
  for (auto& [id, entry] : objects_) {
    entry.object->Release();
    CountObjectReleased();
  }
  objects_.clear();
  for (; locks_ > 0; --locks_) factory_->LockServer(0);
}

}  // namespace qx
