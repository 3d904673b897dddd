#include "platform/com_runtime_hooks.h"

#include <atomic>
#include <map>
#include <mutex>
#include <shared_mutex>

namespace qx {
namespace {

struct Hooks {
  std::shared_mutex mutex;
  std::map<IID, StubFunction> stubs;
  std::map<IID, ProxyFactory> proxies;
  RuntimeLogHook log;
  ObjectCountHook created;
  ObjectCountHook released;
};

Hooks& TheHooks() {
  static Hooks* hooks = new Hooks;
  return *hooks;
}

std::atomic<long> g_liveObjects{0};

template <class T>
T Find(const std::map<IID, T>& table, const IID& iid) {
  auto found = table.find(iid);
  return found == table.end() ? nullptr : found->second;
}

}  // namespace

void RegisterInterfaceStub(const IID& iid, StubFunction stub) {
  std::unique_lock lock(TheHooks().mutex);
  TheHooks().stubs[iid] = stub;
}

void RegisterInterfaceProxy(const IID& iid, ProxyFactory factory) {
  std::unique_lock lock(TheHooks().mutex);
  TheHooks().proxies[iid] = factory;
}

StubFunction FindInterfaceStub(const IID& iid) {
  std::shared_lock lock(TheHooks().mutex);
  return Find(TheHooks().stubs, iid);
}

ProxyFactory FindInterfaceProxy(const IID& iid) {
  std::shared_lock lock(TheHooks().mutex);
  return Find(TheHooks().proxies, iid);
}

void SetRuntimeLogHook(RuntimeLogHook hook) {
  std::unique_lock lock(TheHooks().mutex);
  TheHooks().log = std::move(hook);
}

void ReportRuntimeEvent(RuntimeEvent event, const std::string& text) {
  RuntimeLogHook hook;
  {
    std::shared_lock lock(TheHooks().mutex);
    hook = TheHooks().log;
  }
  if (hook) hook(event, text);
}

long LiveObjectCount() { return g_liveObjects.load(); }

void SetObjectCountHooks(ObjectCountHook created, ObjectCountHook released) {
  std::unique_lock lock(TheHooks().mutex);
  TheHooks().created = std::move(created);
  TheHooks().released = std::move(released);
}

namespace {

void Notify(ObjectCountHook Hooks::*which, long count) {
  ObjectCountHook hook;
  {
    std::shared_lock lock(TheHooks().mutex);
    hook = TheHooks().*which;
  }
  if (hook) hook(count);
}

}  // namespace

void CountObjectCreated() { Notify(&Hooks::created, ++g_liveObjects); }

void CountObjectReleased() { Notify(&Hooks::released, --g_liveObjects); }

}  // namespace qx
