#include "platform/child_output.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>

#include "platform/environment.h"

namespace qx {
namespace {

// The program's file: the name itself when it has a '/', else the first
// executable of that name in PATH; "" when there is none.
std::string FindProgram(const std::string& name) {
  if (name.empty() || name.find('/') != std::string::npos) return name;
  std::string path = GetEnvironmentText("PATH");
  if (path.empty()) path = "/usr/local/bin:/usr/bin:/bin";
  size_t start = 0;
  for (;;) {
    size_t end = path.find(':', start);
    std::string folder = path.substr(start, end == std::string::npos ? end : end - start);
    std::string candidate = (folder.empty() ? std::string(".") : folder) + "/" + name;
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
    if (end == std::string::npos) return "";
    start = end + 1;
  }
}

// In the child: only async-signal-safe calls from here on.
[[noreturn]] void ExecWithOutput(const char* file, char* const* argv, int out, int errorPipe) {
  int null = open("/dev/null", O_RDWR);
  if (null >= 0) {
    dup2(null, 0);
    dup2(null, 2);
  }
  dup2(out, 1);
  execv(file, argv);
  int error = errno;
  ssize_t ignored = write(errorPipe, &error, sizeof(error));
  (void)ignored;
  _exit(127);
}

// Reads the child's output until it closes the pipe or the deadline passes.
void ReadUntilEnd(int fd, std::chrono::steady_clock::time_point deadline, std::string* output) {
  char buffer[4096];
  for (;;) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return;
    pollfd in = {fd, POLLIN, 0};
    int ready = poll(&in, 1, static_cast<int>(left.count()));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return;
    ssize_t got = read(fd, buffer, sizeof(buffer));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return;
    size_t room = kMaxChildOutput - std::min(output->size(), kMaxChildOutput);
    output->append(buffer, std::min(static_cast<size_t>(got), room));
  }
}

// The errno that the child sent before its exec failed, 0 after a good exec.
int StartError(int fd) {
  int error = 0;
  ssize_t got;
  do {
    got = read(fd, &error, sizeof(error));
  } while (got < 0 && errno == EINTR);
  return got == sizeof(error) ? error : 0;
}

}  // namespace

int RunForOutput(const std::vector<std::string>& argv, uint32_t timeoutMs, std::string* output) {
  output->clear();
  if (argv.empty()) return EINVAL;
  const std::string file = FindProgram(argv[0]);
  if (file.empty()) return ENOENT;
  std::vector<std::string> words = argv;
  std::vector<char*> args;
  for (std::string& word : words) args.push_back(word.data());
  args.push_back(nullptr);

  int out[2], errorPipe[2];
  if (pipe2(out, O_CLOEXEC) != 0) return errno;
  if (pipe2(errorPipe, O_CLOEXEC) != 0) {
    int error = errno;
    close(out[0]);
    close(out[1]);
    return error;
  }
  pid_t child = fork();
  if (child == 0) ExecWithOutput(file.c_str(), args.data(), out[1], errorPipe[1]);
  int error = child < 0 ? errno : 0;
  close(out[1]);
  close(errorPipe[1]);
  if (child > 0) {
    error = StartError(errorPipe[0]);
    if (error == 0) {
      ReadUntilEnd(out[0], std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs),
                   output);
    }
    kill(child, SIGKILL);  // gone already, or past its time
    while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
  }
  close(out[0]);
  close(errorPipe[0]);
  return error;
}

}  // namespace qx
