// The server of one registered class: its lock file, its listening socket, the thread that
// accepts connections and the connections themselves.
#pragma once

#include <list>
#include <memory>
#include <string>
#include <thread>

#include "platform/com_runtime.h"
#include "platform/com_runtime_hooks.h"
#include "platform/localserver_connection.h"
#include "platform/localserver_lock.h"

namespace qx {

class ClassServer {
 public:
  // Takes the class's lock and listens, without accepting yet. CO_E_OBJISREG when another
  // server holds the lock; E_ACCESSDENIED, reported, when the runtime folder cannot be
  // trusted (runtime_folder.h); E_FAIL when the socket cannot be made. Holds a reference
  // on the factory.
  static HRESULT Open(const CLSID& clsid, IClassFactory* factory, bool anyUser,
                      std::unique_ptr<ClassServer>* server);
  ClassServer(const ClassServer&) = delete;
  ClassServer& operator=(const ClassServer&) = delete;
  // Stops accepting, ends every connection, removes the socket, then releases the lock.
  ~ClassServer();

  void Resume();
  void Suspend();

 private:
  explicit ClassServer(bool anyUser) : anyUser_(anyUser) {}
  void AcceptLoop();
  // Checks the peer and serves it, or refuses it at once: another user while
  // authentication is on, anyone past the limit of connections (localserver_limits.h).
  void Admit(int fd);
  // Reports, then sends the refusal notice (call id 0, code `why`) and closes.
  void Refuse(int fd, HRESULT why, RuntimeEvent event, const std::string& text);
  void ReapFinished();

  IClassFactory* factory_ = nullptr;
  bool anyUser_;
  std::string socketPath_;
  ClassLock lock_;
  int listener_ = -1;
  int wake_[2] = {-1, -1};
  std::thread acceptor_;
  std::list<std::unique_ptr<ServerConnection>> connections_;  // the acceptor's alone
};

}  // namespace qx
