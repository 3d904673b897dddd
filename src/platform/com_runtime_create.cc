// The client's calls: connecting to a class's server (starting it on demand) and creating
// objects there.
#include <errno.h>

#include <algorithm>

#include "platform/clock.h"
#include "platform/com_runtime.h"
#include "platform/com_runtime_client.h"
#include "platform/com_runtime_hooks.h"
#include "platform/localserver_launch.h"
#include "platform/localserver_lock.h"
#include "platform/peer_cred.h"
#include "platform/runtime_folder.h"
#include "platform/unix_socket.h"

namespace qx {
namespace {

constexpr uint32_t kStartWaitMs = 10000;
constexpr uint32_t kStartStepMs = 20;
constexpr uint32_t kRelaunchAfterMs = 100;
constexpr int kCreateAttempts = 6;
constexpr uint32_t kCreateRetryStepMs = 10;

// S_OK with *fd, or S_FALSE when nobody listens, or the failure. A server of another user
// (root excepted) is left at once, without a byte sent to it.
HRESULT TryConnect(const std::string& folder, const std::string& path, int* fd) {
  *fd = ConnectUnix(path);
  if (*fd == -ENOENT || *fd == -ECONNREFUSED) return S_FALSE;
  if (*fd < 0) return *fd == -EACCES || *fd == -EPERM ? E_ACCESSDENIED : RPC_S_SERVER_UNAVAILABLE;
  PeerCredentials server;
  if (GetPeerCredentials(*fd, &server) && PeerAllowed(server, false)) return S_OK;
  CloseSocket(*fd);
  *fd = -1;
  ReportRuntimeEvent(RuntimeEvent::kUntrustedServer,
                     RuntimeFolderRefusal(folder, "tem em " + path + " um servidor do usuário " +
                                                      std::to_string(server.uid) + " (pid " +
                                                      std::to_string(server.pid) +
                                                      "), que não é este nem o root; nada lhe "
                                                      "foi enviado"));
  return E_ACCESSDENIED;
}

}  // namespace

HRESULT ConnectToClass(const CLSID& clsid, std::shared_ptr<ClientConnection>* connection) {
  const std::string folder = RuntimeFolder();
  const std::string problem = CheckRuntimeFolder(folder, RuntimeSide::kClient);
  if (!problem.empty()) {
    ReportRuntimeEvent(RuntimeEvent::kUnsafeRuntimeFolder, problem);
    return E_ACCESSDENIED;
  }
  std::string path = ClassSocketPath(folder, clsid);
  int fd = -1;
  HRESULT hr = TryConnect(folder, path, &fd);
  if (hr == S_FALSE) {
    std::string command;
    hr = LocalServerCommand(clsid, &command);
    if (SUCCEEDED(hr)) hr = LaunchLocalServer(command);
    // A server binds its socket a few milliseconds after the launch: look
    // often at first, then every kStartStepMs. The server started may have
    // found the class held by one that ended since (the client met it ending)
    // and gone: while nothing listens and no server holds the class, start one
    // again, at growing intervals.
    uint32_t waited = 0;
    uint32_t sinceLaunch = 0;
    uint32_t relaunchAfter = kRelaunchAfterMs;
    for (uint32_t step = 1; SUCCEEDED(hr); step = std::min(2 * step, kStartStepMs)) {
      hr = TryConnect(folder, path, &fd);
      if (hr != S_FALSE) break;
      if (waited >= kStartWaitMs) {
        hr = CO_E_SERVER_START_TIMEOUT;
        break;
      }
      if (sinceLaunch >= relaunchAfter && !ClassLock::IsHeld(ClassLockPath(folder, clsid))) {
        hr = LaunchLocalServer(command);
        sinceLaunch = 0;
        relaunchAfter *= 2;
      }
      Sleep(step);
      waited += step;
      sinceLaunch += step;
    }
  }
  if (FAILED(hr)) return hr;
  *connection = std::make_shared<ClientConnection>(fd);
  return S_OK;
}

}  // namespace qx

HRESULT CoInitializeEx(void*, DWORD) { return S_OK; }

void CoUninitialize() {}

HRESULT CoCreateInstanceEx(REFCLSID clsid, IUnknown* outer, DWORD context, COSERVERINFO*,
                           DWORD count, MULTI_QI* results) {
  if (count == 0 || results == nullptr) return E_INVALIDARG;
  for (DWORD i = 0; i < count; ++i) {
    if (results[i].pIID == nullptr) return E_INVALIDARG;
    results[i].pItf = nullptr;
    results[i].hr = E_NOINTERFACE;
  }
  if (outer != nullptr) return CLASS_E_NOAGGREGATION;
  if ((context & CLSCTX_LOCAL_SERVER) == 0) return REGDB_E_CLASSNOTREG;
  // A server that closes a new connection without an answer was ending (at its
  // idle delay, or killed) as the client came, and what it held of the
  // connection went with it: another connection, a little later each time so
  // that an ending server has gone, finds the server that runs now, or starts
  // one.
  HRESULT hr = RPC_S_SERVER_UNAVAILABLE;
  for (int attempt = 0; attempt < qx::kCreateAttempts && hr == RPC_S_SERVER_UNAVAILABLE; ++attempt) {
    if (attempt > 0) Sleep(attempt * qx::kCreateRetryStepMs);
    std::shared_ptr<qx::ClientConnection> connection;
    hr = qx::ConnectToClass(clsid, &connection);
    if (SUCCEEDED(hr)) hr = connection->CreateObject(*results[0].pIID, &results[0].pItf);
  }
  results[0].hr = hr;
  if (FAILED(hr)) {
    for (DWORD i = 1; i < count; ++i) results[i].hr = hr;
    return hr;
  }
  DWORD obtained = 1;
  for (DWORD i = 1; i < count; ++i) {
    void* object = nullptr;
    results[i].hr = results[0].pItf->QueryInterface(*results[i].pIID, &object);
    results[i].pItf = static_cast<IUnknown*>(object);
    if (SUCCEEDED(results[i].hr)) ++obtained;
  }
  return obtained == count ? S_OK : CO_S_NOTALLINTERFACES;
}

HRESULT CoSetProxyBlanket(IUnknown*, DWORD, DWORD, OLECHAR*, DWORD, DWORD, void*, DWORD) {
  return S_OK;
}
