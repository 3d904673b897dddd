// One client connection of a class's server, served by a thread of its own. The objects
// that the client creates belong to the connection: object 0 is the class factory, the
// others get ids from 1 on. When the connection ends, for whatever reason, every object it
// still holds is released as if the client had called Release, and every server lock it
// still holds is undone as if the client had called LockServer(FALSE). A connection that
// holds neither must send each request within the idle time of localserver_limits.h.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <thread>
#include <vector>

#include "platform/com_runtime.h"
#include "platform/com_runtime_hooks.h"
#include "platform/wire_frame.h"

namespace qx {

class ServerConnection {
 public:
  // Takes the socket; the factory must outlive the connection.
  ServerConnection(int fd, IClassFactory* factory) : fd_(fd), factory_(factory) {}
  ServerConnection(const ServerConnection&) = delete;
  ServerConnection& operator=(const ServerConnection&) = delete;
  // Ends the connection and waits for its thread.
  ~ServerConnection();

  void Start();
  // Wakes the thread, which then ends the connection.
  void Stop();
  bool done() const { return done_.load(); }

 private:
  struct Entry {
    IUnknown* object;
    StubFunction stub;
  };

  enum class Arrival { kFrame, kClosed, kBadLength, kIdle };

  void Run();
  // The next request frame, whole. With waitMs >= 0 it must arrive within that time
  // (kIdle otherwise); kBadLength leaves the four bytes of the length in *frame.
  Arrival ReceiveRequest(int waitMs, std::vector<uint8_t>* frame);
  // False when the frame ends the connection (bad payload, lost peer).
  bool Serve(const std::vector<uint8_t>& frame);
  HRESULT Dispatch(const WireRequestHeader& header, const uint8_t* payload, size_t size,
                   std::vector<uint8_t>* reply);
  // Reads the IID that is the whole payload and keeps the interface that get() gives for it
  // (a creation or a QueryInterface): writes the new object's id.
  HRESULT Obtain(const uint8_t* payload, size_t size,
                 const std::function<HRESULT(REFIID, void**)>& get, std::vector<uint8_t>* reply);
  // Keeps interface iid of `object` (one reference, taken over) and writes its new id.
  HRESULT Keep(IUnknown* object, StubFunction stub, std::vector<uint8_t>* reply);
  // The factory's LockServer for this connection: an unlock without a lock of this
  // connection gives S_FALSE and leaves the server's count alone.
  HRESULT LockServer(const uint8_t* payload, size_t size);
  void ReleaseAll();

  int fd_;
  IClassFactory* factory_;
  std::map<uint32_t, Entry> objects_;
  uint32_t nextObjectId_ = 1;
  uint32_t locks_ = 0;
  std::thread thread_;
  std::atomic<bool> done_{false};
};

}  // namespace qx
