#include "platform/localserver_connection.h"

#include <errno.h>

#include <algorithm>
#include <chrono>

#include "platform/localserver_limits.h"
#include "platform/unix_socket.h"
#include "platform/wire_frame_marshal.h"

namespace qx {
namespace {

// A frame is read in steps of this size at most and its buffer grows with the bytes that
// have arrived, never to the length it announces before they are there.
constexpr size_t kReceiveStep = 16 * 1024;

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
    std::vector<uint8_t> frame;
    const uint32_t idleMs = GetServerLimits().idleMs;
    const bool holdsNothing = objects_.empty() && locks_ == 0;
    Arrival arrival = ReceiveRequest(holdsNothing ? static_cast<int>(idleMs) : -1, &frame);
    if (arrival == Arrival::kBadLength) {
      uint32_t length = 0;
      WireReader(frame.data(), frame.size()).U32(&length);
      ReportRuntimeEvent(RuntimeEvent::kBadFrame,
                         "quadro de " + std::to_string(length) + " bytes: conexão fechada");
    } else if (arrival == Arrival::kIdle) {
      ReportRuntimeEvent(RuntimeEvent::kIdleConnection,
                         "nenhum pedido em " + std::to_string(idleMs) +
                             " ms numa conexão sem objetos nem travas: conexão fechada");
    }
    if (arrival != Arrival::kFrame || !Serve(frame)) break;
  }
  ShutdownSocket(fd_);
  ReleaseAll();
  done_ = true;
}

ServerConnection::Arrival ServerConnection::ReceiveRequest(int waitMs,
                                                           std::vector<uint8_t>* frame) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
  size_t wanted = sizeof(uint32_t);  // the length first, then the frame it announces
  while (frame->size() < wanted) {
    int wait = -1;
    if (waitMs >= 0) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0) return Arrival::kIdle;
      wait = static_cast<int>(left.count());
    }
    uint8_t chunk[kReceiveStep];
    const int64_t got =
        ReceiveSome(fd_, chunk, std::min(wanted - frame->size(), sizeof(chunk)), wait);
    if (got == -ETIMEDOUT) return Arrival::kIdle;
    if (got <= 0) return Arrival::kClosed;
    frame->insert(frame->end(), chunk, chunk + got);
    if (wanted == sizeof(uint32_t) && frame->size() == wanted) {
      uint32_t length = 0;
      WireReader(frame->data(), frame->size()).U32(&length);
      if (length < sizeof(WireRequestHeader) || length > kMaxFrameLength)
        return Arrival::kBadLength;
      wanted = length;
    }
  }
  return Arrival::kFrame;
}

bool ServerConnection::Serve(const std::vector<uint8_t>& frame) {
  WireRequestHeader header = DecodeRequestHeader(frame.data());
  std::vector<uint8_t> reply;
  HRESULT hr =
      Dispatch(header, frame.data() + sizeof(header), frame.size() - sizeof(header), &reply);
  if (hr == RPC_X_BAD_STUB_DATA) {
    ReportRuntimeEvent(RuntimeEvent::kBadPayload,
                       "dados inválidos para o objeto " + std::to_string(header.objectId) +
                           " método " + std::to_string(header.slot) + ": conexão fechada");
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
