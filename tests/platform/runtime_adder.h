// A tiny interface for the local-server runtime's tests, with its object, class factory and
// hand-written stub and proxy, shared by the tests and the test server program.
#pragma once

#include <unistd.h>

#include <atomic>
#include <memory>
#include <new>
#include <vector>

#include "platform/com_runtime.h"
#include "platform/com_runtime_hooks.h"
#include "platform/com_runtime_proxy.h"
#include "platform/wire_frame_marshal.h"

namespace qx::test {

// {5B3C1E2A-7D44-4F1B-9A0E-2C6D8E9F1A01}
inline constexpr IID IID_IRuntimeAdder = {
    0x5B3C1E2A, 0x7D44, 0x4F1B, {0x9A, 0x0E, 0x2C, 0x6D, 0x8E, 0x9F, 0x1A, 0x01}};
// {5B3C1E2A-7D44-4F1B-9A0E-2C6D8E9F1A02}
inline constexpr CLSID CLSID_RuntimeAdder = {
    0x5B3C1E2A, 0x7D44, 0x4F1B, {0x9A, 0x0E, 0x2C, 0x6D, 0x8E, 0x9F, 0x1A, 0x02}};

struct IRuntimeAdder : IUnknown {
  virtual HRESULT Add(int32_t a, int32_t b, int32_t* sum) = 0;  // slot 3
  virtual HRESULT ProcessId(int32_t* pid) = 0;                  // slot 4
};

class RuntimeAdder final : public IRuntimeAdder {
 public:
  HRESULT QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (iid != IID_IUnknown && iid != IID_IRuntimeAdder) return E_NOINTERFACE;
    AddRef();
    *object = static_cast<IRuntimeAdder*>(this);
    return S_OK;
  }
  ULONG AddRef() override { return ++references_; }
  ULONG Release() override {
    ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }
  HRESULT Add(int32_t a, int32_t b, int32_t* sum) override {
    if (__builtin_add_overflow(a, b, sum)) return E_INVALIDARG;
    return S_OK;
  }
  HRESULT ProcessId(int32_t* pid) override {
    *pid = getpid();
    return S_OK;
  }

 private:
  std::atomic<ULONG> references_{0};
};

class RuntimeAdderFactory final : public IClassFactory {
 public:
  HRESULT QueryInterface(REFIID iid, void** object) override {
    if (iid != IID_IUnknown && iid != IID_IClassFactory) return E_NOINTERFACE;
    AddRef();
    *object = static_cast<IClassFactory*>(this);
    return S_OK;
  }
  ULONG AddRef() override { return ++references_; }
  ULONG Release() override { return --references_; }
  HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    auto* adder = new RuntimeAdder;
    adder->AddRef();
    HRESULT hr = adder->QueryInterface(iid, object);
    adder->Release();
    return hr;
  }
  HRESULT LockServer(int lock) override {
    locks_ += lock != 0 ? 1 : -1;
    return S_OK;
  }
  // References held by others than its owner.
  ULONG references() const { return references_; }
  long locks() const { return locks_; }

 private:
  std::atomic<ULONG> references_{0};
  std::atomic<long> locks_{0};
};

inline HRESULT RuntimeAdderStub(IUnknown* object, uint16_t slot, const uint8_t* payload,
                                size_t size, std::vector<uint8_t>* reply) {
  auto* adder = static_cast<IRuntimeAdder*>(object);
  WireReader in(payload, size);
  WireWriter out;
  HRESULT hr = E_NOTIMPL;
  int32_t a = 0, b = 0;
  if (slot == 3) {
    if (!in.I32(&a) || !in.I32(&b) || !in.Finished()) return RPC_X_BAD_STUB_DATA;
    hr = adder->Add(a, b, &a);
    out.I32(a);
  } else if (slot == 4) {
    if (!in.Finished()) return RPC_X_BAD_STUB_DATA;
    hr = adder->ProcessId(&a);
    out.I32(a);
  }
  *reply = out.Take();
  return hr;
}

class RuntimeAdderProxy final : public Proxy<IRuntimeAdder, IID_IRuntimeAdder> {
 public:
  using Proxy::Proxy;

  HRESULT Add(int32_t a, int32_t b, int32_t* sum) override {
    WireWriter args;
    args.I32(a);
    args.I32(b);
    return Invoke(3, args, sum);
  }
  HRESULT ProcessId(int32_t* pid) override { return Invoke(4, WireWriter(), pid); }

 private:
  // Method `slot`, whose one result is a number that must fill the reply exactly.
  HRESULT Invoke(uint16_t slot, const WireWriter& args, int32_t* result) {
    std::vector<uint8_t> reply;
    HRESULT hr = Call(slot, args, &reply);
    WireReader results(reply);
    return FAILED(hr) || (results.I32(result) && results.Finished()) ? hr : RPC_X_BAD_STUB_DATA;
  }
};

inline IUnknown* MakeRuntimeAdderProxy(std::shared_ptr<ClientConnection> connection,
                                       uint32_t objectId) {
  return new (std::nothrow) RuntimeAdderProxy(std::move(connection), objectId);
}

inline void RegisterRuntimeAdder() {
  RegisterInterfaceStub(IID_IRuntimeAdder, RuntimeAdderStub);
  RegisterInterfaceProxy(IID_IRuntimeAdder, MakeRuntimeAdderProxy);
}

// A new remote adder, or null (with the failure in *hr when given).
inline IRuntimeAdder* CreateRemoteAdder(HRESULT* hr = nullptr) {
  MULTI_QI result = {&IID_IRuntimeAdder, nullptr, S_OK};
  HRESULT created =
      CoCreateInstanceEx(CLSID_RuntimeAdder, nullptr, CLSCTX_LOCAL_SERVER, nullptr, 1, &result);
  if (hr != nullptr) *hr = created;
  return static_cast<IRuntimeAdder*>(result.pItf);
}

}  // namespace qx::test
