#pragma once

#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <thread>

namespace qx::test {

// Whether this build runs under AddressSanitizer (gcc and clang say so differently).
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool kAddressSanitizer = true;
#else
inline constexpr bool kAddressSanitizer = false;
#endif
#else
inline constexpr bool kAddressSanitizer = false;
#endif

// Sets an environment variable for the object's lifetime, then restores it.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = getenv(name)) old_ = old;
    setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// A fresh folder of its own under the temporary folder, removed with its content.
class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qx-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) abort();
    path_ = pattern;
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }

  const std::string& path() const { return path_; }
  std::string operator/(std::string_view name) const { return path_ + "/" + std::string(name); }

 private:
  std::string path_;
};

inline void WriteText(const std::string& path, std::string_view text) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

// The file's bytes; "" when it is not there. A read that fails midway (a /proc file of a
// process that ends meanwhile) ends the text instead of throwing.
inline std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The permission bits of path (with set-group-id and sticky); ~0u when it is not there.
inline unsigned ModeOf(const std::string& path) {
  struct stat status {};
  return stat(path.c_str(), &status) == 0 ? status.st_mode & 07777 : ~0u;
}

// The exit code of a child, waiting up to the deadline; -1 when it was killed
// by a signal or took longer (it is then killed and reaped).
inline int WaitChild(pid_t child, std::chrono::steady_clock::time_point deadline) {
  int status = 0;
  while (waitpid(child, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(child, SIGKILL);
      waitpid(child, &status, 0);
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A forked child running body. Parent and child exchange single bytes over two pipes; the
// child ends with _exit(body's result) and is killed by alarm() if it outlives its budget.
// A child still running when the object goes is killed.
class Child {
 public:
  explicit Child(const std::function<int(Child&)>& body) {
    if (pipe(toChild_) != 0 || pipe(toParent_) != 0) abort();
    pid_ = fork();
    if (pid_ < 0) abort();
    inChild_ = pid_ == 0;
    close(inChild_ ? toChild_[1] : toChild_[0]);
    close(inChild_ ? toParent_[0] : toParent_[1]);
    if (inChild_) {
      alarm(30);
      _exit(body(*this));
    }
  }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;
  ~Child() {
    if (pid_ > 0) Kill();
    close(inChild_ ? toChild_[0] : toChild_[1]);
    close(inChild_ ? toParent_[1] : toParent_[0]);
  }

  void Send(char c) {
    ssize_t ignored = write(inChild_ ? toParent_[1] : toChild_[1], &c, 1);
    (void)ignored;
  }
  // The next byte from the other side; '\0' after 20 seconds or when the other side is gone.
  char Receive() {
    pollfd in = {inChild_ ? toChild_[0] : toParent_[0], POLLIN, 0};
    char c = '\0';
    if (poll(&in, 1, 20000) != 1 || read(in.fd, &c, 1) != 1) return '\0';
    return c;
  }
  // The child's exit code, or 128 + the signal that ended it; -1 once it was
  // waited for (waitpid(-1) would reap any child).
  int Wait() {
    if (pid_ <= 0) return -1;
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  // Kills the child unless it was waited for already (kill(-1) would signal everyone).
  void Kill() {
    if (pid_ > 0) kill(pid_, SIGKILL);
    Wait();
  }

 private:
  pid_t pid_ = -1;
  bool inChild_ = false;
  int toChild_[2] = {-1, -1};
  int toParent_[2] = {-1, -1};
};

}  // namespace qx::test
