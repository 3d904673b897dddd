// A TCP listener whose connections are handed over only once what they sent is whole, so that
// peers that send slowly, or nothing, never hold a worker. One thread reads every waiting
// connection as its bytes come; one that is not whole within the deadline is closed, and so is
// the oldest waiting one when kMaxWaiting wait at once.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

namespace qx {

// What the bytes received so far are, as a gate's judge says.
enum class Arrival { kMore, kWhole, kRefused };

// A connection handed over by a gate: the bytes that made it whole first, then its socket.
class GateConnection {
 public:
  GateConnection() = default;
  GateConnection(int fd, std::string received);
  GateConnection(GateConnection&& other) noexcept;
  GateConnection& operator=(GateConnection&& other) noexcept;
  ~GateConnection();

  // Up to size bytes, waiting up to waitMs for them: how many, 0 at the peer's end, -1 on a
  // failure or when nothing came in time.
  long Read(char* out, size_t size, int waitMs);
  // All the bytes, waiting up to waitMs each time the peer takes none; false on a failure.
  bool Write(const char* bytes, size_t size, int waitMs);
  // The numeric address and port of the peer, or of this end.
  void Peer(std::string* address, int* port) const;
  void Local(std::string* address, int* port) const;
  int fd() const { return fd_; }

 private:
  int fd_ = -1;
  std::string received_;
  size_t given_ = 0;  // bytes of received_ already read
};

class RequestGate {
 public:
  static constexpr size_t kMaxWaiting = 512;
  using Judge = std::function<Arrival(std::string_view received)>;

  // Listens on address (a numeric address or a name of this machine) and port (0: any free
  // one); see listening().
  RequestGate(const std::string& address, int port, uint32_t deadlineMs, Judge judge);
  ~RequestGate();
  RequestGate(const RequestGate&) = delete;
  RequestGate& operator=(const RequestGate&) = delete;

  // Whether it listens; otherwise why not, for people.
  bool listening() const { return listener_ >= 0; }
  const std::string& error() const { return error_; }
  int port() const { return port_; }

  // Waits for the next connection whose bytes are whole; false once stopped.
  bool Next(GateConnection* connection);
  // Stops reading and handing over, closes every connection not handed over, and wakes Next.
  void Stop();

 private:
  struct Waiting {
    int fd;
    uint64_t deadline;
    std::string received;
  };
  void Run();
  void Accept(std::deque<Waiting>* waiting);
  // Reads what came; true while the connection still waits.
  bool Receive(Waiting& connection);
  void HandOver(Waiting& connection);

  Judge judge_;
  uint32_t deadlineMs_;
  int listener_ = -1;
  int port_ = 0;
  std::string error_;
  int wake_[2] = {-1, -1};
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<GateConnection> whole_;
  bool stopped_ = false;
  std::thread reader_;
};

}  // namespace qx
