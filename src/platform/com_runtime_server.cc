// The server's calls: security, and the registration of class objects.
#include <atomic>
#include <map>
#include <memory>
#include <mutex>

#include "platform/com_runtime.h"
#include "platform/localserver.h"

namespace {

std::atomic<bool> g_anyUser{false};

struct Registrations {
  std::mutex mutex;
  std::map<DWORD, std::unique_ptr<qx::ClassServer>> servers;
  DWORD nextCookie = 1;
};

Registrations& TheRegistrations() {
  static Registrations* registrations = new Registrations;
  return *registrations;
}

}  // namespace

HRESULT CoInitializeSecurity(void*, int32_t, void*, void*, DWORD authnLevel, DWORD, void*, DWORD,
                             void*) {
  g_anyUser = authnLevel == RPC_C_AUTHN_LEVEL_NONE;
  return S_OK;
}

HRESULT CoRegisterClassObject(REFCLSID clsid, IUnknown* factory, DWORD context, DWORD flags,
                              DWORD* cookie) {
  if (factory == nullptr || cookie == nullptr) return E_INVALIDARG;
  *cookie = 0;
  if ((context & CLSCTX_LOCAL_SERVER) == 0) return E_INVALIDARG;
  void* classFactory = nullptr;
  HRESULT hr = factory->QueryInterface(IID_IClassFactory, &classFactory);
  if (FAILED(hr)) return hr;
  auto* typed = static_cast<IClassFactory*>(classFactory);
  std::unique_ptr<qx::ClassServer> server;
  hr = qx::ClassServer::Open(clsid, typed, g_anyUser.load(), &server);
  typed->Release();
  if (FAILED(hr)) return hr;
  if ((flags & REGCLS_SUSPENDED) == 0) server->Resume();
  Registrations& registrations = TheRegistrations();
  std::lock_guard lock(registrations.mutex);
  *cookie = registrations.nextCookie++;
  registrations.servers[*cookie] = std::move(server);
  return S_OK;
}

HRESULT CoResumeClassObjects() {
  Registrations& registrations = TheRegistrations();
  std::lock_guard lock(registrations.mutex);
  for (auto& [cookie, server] : registrations.servers) server->Resume();
  return S_OK;
}

HRESULT CoSuspendClassObjects() {
  Registrations& registrations = TheRegistrations();
  std::lock_guard lock(registrations.mutex);
  for (auto& [cookie, server] : registrations.servers) server->Suspend();
  return S_OK;
}

HRESULT CoRevokeClassObject(DWORD cookie) {
  std::unique_ptr<qx::ClassServer> server;
  {
    Registrations& registrations = TheRegistrations();
    std::lock_guard lock(registrations.mutex);
    auto found = registrations.servers.find(cookie);
    if (found == registrations.servers.end()) return CO_E_OBJNOTREG;
    server = std::move(found->second);
    registrations.servers.erase(found);
  }
  return S_OK;  // the server ends here, outside the lock
}
