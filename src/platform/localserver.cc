#include "platform/localserver.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include "platform/clock.h"
#include "platform/localserver_limits.h"
#include "platform/peer_cred.h"
#include "platform/runtime_folder.h"
#include "platform/unix_socket.h"

namespace qx {
namespace {

// How long a new server waits for the one that holds the class without listening.
constexpr uint32_t kHandoverWaitMs = 10000;
constexpr uint32_t kHandoverStepMs = 2;

// Takes the class's lock. A holder that does not listen is ending (its socket closed, its
// lock not yet released) or has not begun to listen: wait for it, since a client that met a
// server ending and started this one has no other. False when a listening server holds it,
// when the holder stays for kHandoverWaitMs, or when the lock cannot be taken at all.
bool TakeClassLock(ClassLock& lock, const std::string& lockPath, const std::string& socketPath) {
  for (uint32_t waited = 0;; waited += kHandoverStepMs) {
    bool busy = false;
    if (lock.Acquire(lockPath, &busy)) return true;
    const int probe = busy ? ConnectUnix(socketPath) : -1;
    if (probe >= 0) CloseSocket(probe);
    if (!busy || probe >= 0 || waited >= kHandoverWaitMs) return false;
    Sleep(kHandoverStepMs);
  }
}

}  // namespace

HRESULT ClassServer::Open(const CLSID& clsid, IClassFactory* factory, bool anyUser,
                          std::unique_ptr<ClassServer>* server) {
  std::string folder = RuntimeFolder();
  std::string problem = CheckRuntimeFolder(folder, RuntimeSide::kServer);
  if (problem.empty() && !SetRuntimeFolderMode(folder, anyUser)) {
    problem =
        RuntimeFolderRefusal(folder, "não aceita o modo " + std::string(anyUser ? "0711" : "0700"));
  }
  if (!problem.empty()) {
    ReportRuntimeEvent(RuntimeEvent::kUnsafeRuntimeFolder, problem);
    return E_ACCESSDENIED;
  }
  std::unique_ptr<ClassServer> made(new ClassServer(anyUser));
  made->socketPath_ = ClassSocketPath(folder, clsid);
  if (!TakeClassLock(made->lock_, ClassLockPath(folder, clsid), made->socketPath_)) {
    made->socketPath_.clear();
    return CO_E_OBJISREG;
  }
  // Holding the lock, any socket file left there is a dead server's: replace it.
  made->listener_ = ListenUnix(made->socketPath_, 0666);
  if (made->listener_ < 0 || pipe2(made->wake_, O_CLOEXEC) != 0) {
    made->socketPath_.clear();
    return E_FAIL;
  }
  factory->AddRef();
  made->factory_ = factory;
  *server = std::move(made);
  return S_OK;
}

ClassServer::~ClassServer() {
  Suspend();
  CloseSocket(listener_);
  if (!socketPath_.empty()) unlink(socketPath_.c_str());
  for (auto& connection : connections_) connection->Stop();
  connections_.clear();
  for (int fd : wake_) {
    if (fd >= 0) close(fd);
  }
  if (factory_ != nullptr) factory_->Release();
}

void ClassServer::Resume() {
  if (!acceptor_.joinable()) acceptor_ = std::thread([this] { AcceptLoop(); });
}

void ClassServer::Suspend() {
  if (!acceptor_.joinable()) return;
  char wake = 0;
  ssize_t ignored = write(wake_[1], &wake, 1);
  (void)ignored;
  acceptor_.join();
  ignored = read(wake_[0], &wake, 1);
}

void ClassServer::AcceptLoop() {
  for (;;) {
    pollfd waits[2] = {{listener_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
    if (poll(waits, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (waits[1].revents != 0) return;
    if (waits[0].revents == 0) continue;
    int fd = AcceptUnix(listener_);
    if (fd >= 0) Admit(fd);
  }
}

void ClassServer::Admit(int fd) {
  PeerCredentials peer;
  const bool known = GetPeerCredentials(fd, &peer);
  const std::string who =
      "conexão do uid " + std::to_string(peer.uid) + " (pid " + std::to_string(peer.pid) + ")";
  if (!known || !PeerAllowed(peer, anyUser_)) {
    Refuse(fd, E_ACCESSDENIED, RuntimeEvent::kRefusedConnection, who + " recusada");
    return;
  }
  ReapFinished();
  const size_t limit = GetServerLimits().connections;
  if (connections_.size() >= limit) {
    Refuse(fd, RPC_S_SERVER_TOO_BUSY, RuntimeEvent::kTooManyConnections,
           who + " recusada: já há " + std::to_string(limit) + " conexões atendidas");
    return;
  }
  connections_.push_back(std::make_unique<ServerConnection>(fd, factory_));
  connections_.back()->Start();
}

void ClassServer::Refuse(int fd, HRESULT why, RuntimeEvent event, const std::string& text) {
  ReportRuntimeEvent(event, text);  // first, so that the report precedes what the client sees
  std::vector<uint8_t> notice = EncodeReply(0, why, {});
  SendAll(fd, notice.data(), notice.size());
  CloseSocket(fd);
}

void ClassServer::ReapFinished() {
  connections_.remove_if([](const auto& connection) { return connection->done(); });
}

}  // namespace qx
