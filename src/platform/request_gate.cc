#include "platform/request_gate.h"

#include <arpa/inet.h>
#include <errno.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/clock.h"

namespace qx {
namespace {

constexpr size_t kChunk = 4096;
// Whole connections not yet taken by a worker; past this, new ones are closed.
constexpr size_t kMaxWhole = 256;

// A listening socket for address:port, or -1 with *error.
int Listen(const std::string& address, int port, std::string* error) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_PASSIVE;
  addrinfo* found = nullptr;
  const std::string service = std::to_string(port);
  if (const int failure = getaddrinfo(address.c_str(), service.c_str(), &hints, &found)) {
    *error = gai_strerror(failure);
    return -1;
  }
  int fd = -1;
  for (const addrinfo* at = found; at != nullptr && fd < 0; at = at->ai_next) {
    fd = socket(at->ai_family, at->ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, at->ai_protocol);
    if (fd < 0) continue;
    const int yes = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    if (bind(fd, at->ai_addr, at->ai_addrlen) != 0 || listen(fd, SOMAXCONN) != 0) {
      *error = std::strerror(errno);
      close(fd);
      fd = -1;
    }
  }
  freeaddrinfo(found);
  return fd;
}

void Describe(const sockaddr_storage& address, std::string* text, int* port) {
  char buffer[INET6_ADDRSTRLEN] = "";
  if (address.ss_family == AF_INET) {
    const auto& v4 = reinterpret_cast<const sockaddr_in&>(address);
    inet_ntop(AF_INET, &v4.sin_addr, buffer, sizeof buffer);
    *port = ntohs(v4.sin_port);
  } else if (address.ss_family == AF_INET6) {
    const auto& v6 = reinterpret_cast<const sockaddr_in6&>(address);
    inet_ntop(AF_INET6, &v6.sin6_addr, buffer, sizeof buffer);
    *port = ntohs(v6.sin6_port);
  }
  *text = buffer;
}

template <class Name>
void NameOf(int fd, Name name, std::string* text, int* port) {
  sockaddr_storage address{};
  socklen_t length = sizeof address;
  *port = 0;
  text->clear();
  if (name(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0) Describe(address, text, port);
}

// Waits up to waitMs for the socket to be ready for `events`: > 0 ready, 0 not in time,
// < 0 failure.
int WaitFor(int fd, short events, int waitMs) {
  for (;;) {
    pollfd one = {fd, events, 0};
    const int ready = poll(&one, 1, waitMs);
    if (ready < 0 && errno == EINTR) continue;
    return ready;
  }
}

}  // namespace

GateConnection::GateConnection(int fd, std::string received)
    : fd_(fd), received_(std::move(received)) {}

GateConnection::GateConnection(GateConnection&& other) noexcept { *this = std::move(other); }

GateConnection& GateConnection::operator=(GateConnection&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) close(fd_);
    fd_ = std::exchange(other.fd_, -1);
    received_ = std::move(other.received_);
    given_ = std::exchange(other.given_, 0);
  }
  return *this;
}

GateConnection::~GateConnection() {
  if (fd_ >= 0) close(fd_);
}

long GateConnection::Read(char* out, size_t size, int waitMs) {
  if (given_ < received_.size()) {
    const size_t count = std::min(size, received_.size() - given_);
    std::memcpy(out, received_.data() + given_, count);
    given_ += count;
    return static_cast<long>(count);
  }
  for (;;) {
    if (WaitFor(fd_, POLLIN, waitMs) <= 0) return -1;
    const ssize_t got = recv(fd_, out, size, 0);
    if (got >= 0) return got;
    if (errno != EINTR && errno != EAGAIN) return -1;
  }
}

bool GateConnection::Write(const char* bytes, size_t size, int waitMs) {
  while (size > 0) {
    const ssize_t sent = send(fd_, bytes, size, MSG_NOSIGNAL);
    if (sent > 0) {
      bytes += sent;
      size -= static_cast<size_t>(sent);
    } else if (sent < 0 && errno == EAGAIN) {
      if (WaitFor(fd_, POLLOUT, waitMs) <= 0) return false;
    } else if (sent == 0 || errno != EINTR) {
      return false;
    }
  }
  return true;
}

void GateConnection::Peer(std::string* address, int* port) const {
  NameOf(fd_, getpeername, address, port);
}

void GateConnection::Local(std::string* address, int* port) const {
  NameOf(fd_, getsockname, address, port);
}

RequestGate::RequestGate(const std::string& address, int port, uint32_t deadlineMs, Judge judge)
    : judge_(std::move(judge)), deadlineMs_(deadlineMs) {
  listener_ = Listen(address, port, &error_);
  if (listener_ < 0) return;
  std::string ignored;
  NameOf(listener_, getsockname, &ignored, &port_);
  if (pipe2(wake_, O_CLOEXEC) != 0) {
    error_ = std::strerror(errno);
    close(listener_);
    listener_ = -1;
    return;
  }
  reader_ = std::thread([this] { Run(); });
}

RequestGate::~RequestGate() {
  Stop();
  if (listener_ >= 0) close(listener_);
  for (int fd : wake_) {
    if (fd >= 0) close(fd);
  }
}

bool RequestGate::Next(GateConnection* connection) {
  std::unique_lock lock(mutex_);
  ready_.wait(lock, [this] { return stopped_ || !whole_.empty(); });
  if (stopped_) return false;
  *connection = std::move(whole_.front());
  whole_.pop_front();
  return true;
}

void RequestGate::Stop() {
  {
    std::lock_guard lock(mutex_);
    if (stopped_) return;
    stopped_ = true;
    whole_.clear();
  }
  ready_.notify_all();
  if (reader_.joinable()) {
    const char wake = 0;
    const ssize_t ignored = write(wake_[1], &wake, 1);
    (void)ignored;
    reader_.join();
  }
}

void RequestGate::Run() {
  std::deque<Waiting> waiting;
  std::vector<pollfd> polled;
  for (;;) {
    const uint64_t now = GetTickCount64();
    std::erase_if(waiting, [now](const Waiting& w) {
      if (w.deadline > now) return false;
      close(w.fd);
      return true;
    });
    polled.assign({{wake_[0], POLLIN, 0}, {listener_, POLLIN, 0}});
    for (const Waiting& w : waiting) polled.push_back({w.fd, POLLIN, 0});
    const int waitMs = waiting.empty() ? -1 : static_cast<int>(waiting.front().deadline - now);
    if (poll(polled.data(), polled.size(), waitMs) < 0 && errno != EINTR) break;
    if (polled[0].revents != 0) break;
    // The connections that were polled are the first waiting ones, in order.
    size_t at = 0;
    std::erase_if(waiting, [&](Waiting& w) {
      const short events = polled[2 + at++].revents;
      return events != 0 && !Receive(w);
    });
    if (polled[1].revents != 0) Accept(&waiting);
  }
  for (const Waiting& w : waiting) close(w.fd);
}

void RequestGate::Accept(std::deque<Waiting>* waiting) {
  for (;;) {
    const int fd = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (fd < 0) return;
    if (waiting->size() >= kMaxWaiting) {
      close(waiting->front().fd);
      waiting->pop_front();
    }
    waiting->push_back({fd, GetTickCount64() + deadlineMs_, {}});
  }
}

bool RequestGate::Receive(Waiting& connection) {
  char chunk[kChunk];
  const ssize_t got = recv(connection.fd, chunk, sizeof chunk, 0);
  if (got < 0 && (errno == EAGAIN || errno == EINTR)) return true;
  Arrival arrival = Arrival::kRefused;
  if (got > 0) {
    connection.received.append(chunk, static_cast<size_t>(got));
    arrival = judge_(connection.received);
  }
  if (arrival == Arrival::kMore) return true;
  if (arrival == Arrival::kWhole) {
    HandOver(connection);
  } else {
    close(connection.fd);
  }
  return false;
}

void RequestGate::HandOver(Waiting& connection) {
  {
    std::lock_guard lock(mutex_);
    if (whole_.size() < kMaxWhole) {
      whole_.emplace_back(connection.fd, std::move(connection.received));
      connection.fd = -1;
    }
  }
  if (connection.fd >= 0) {
    close(connection.fd);
  } else {
    ready_.notify_one();
  }
}

}  // namespace qx
