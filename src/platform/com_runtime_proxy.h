// The base of every client proxy. A generated proxy of interface I derives from
// Proxy<I, IID_I>, implements I's methods by marshalling their arguments with WireWriter and
// calling Call(slot, ...), and is registered with RegisterInterfaceProxy. IUnknown is done
// here: AddRef counts locally, the last Release releases the server's object, and
// QueryInterface asks the server for any interface other than IUnknown and I.
#pragma once

#include <atomic>
#include <memory>
#include <vector>

#include "platform/com_runtime_client.h"
#include "platform/wire_frame_marshal.h"

namespace qx {

class ProxyCore {
 public:
  ProxyCore(std::shared_ptr<ClientConnection> connection, uint32_t objectId, const IID& iid)
      : connection_(std::move(connection)), objectId_(objectId), iid_(iid) {}

  HRESULT QueryInterface(IUnknown* self, REFIID iid, void** object);
  ULONG AddRef() { return ++references_; }
  // The count left; at 0 the server's object has been released.
  ULONG Release();
  HRESULT Call(uint16_t slot, const WireWriter& args, std::vector<uint8_t>* reply) {
    return connection_->Call(objectId_, slot, args.bytes(), reply);
  }
  uint32_t objectId() const { return objectId_; }

 private:
  std::shared_ptr<ClientConnection> connection_;
  uint32_t objectId_;
  IID iid_;
  std::atomic<ULONG> references_{1};
};

template <class Interface, const IID& kIid>
class Proxy : public Interface {
 public:
  Proxy(std::shared_ptr<ClientConnection> connection, uint32_t objectId)
      : core_(std::move(connection), objectId, kIid) {}
  Proxy(const Proxy&) = delete;
  Proxy& operator=(const Proxy&) = delete;
  virtual ~Proxy() = default;

  HRESULT QueryInterface(REFIID iid, void** object) override {
    return core_.QueryInterface(this, iid, object);
  }
  ULONG AddRef() override { return core_.AddRef(); }
  ULONG Release() override {
    ULONG left = core_.Release();
    if (left == 0) delete this;
    return left;
  }

 protected:
  // Method `slot` with the marshalled arguments; the results' bytes in *reply.
  HRESULT Call(uint16_t slot, const WireWriter& args, std::vector<uint8_t>* reply) {
    return core_.Call(slot, args, reply);
  }

 private:
  ProxyCore core_;
};

}  // namespace qx
