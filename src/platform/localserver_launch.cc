#include "platform/localserver_launch.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/com_runtime.h"

namespace qx {

std::vector<std::string> SplitCommandLine(const std::string& commandLine) {
  std::vector<std::string> words;
  size_t at = 0;
  while (at < commandLine.size()) {
    char c = commandLine[at];
    if (c == ' ' || c == '\t') {
      ++at;
      continue;
    }
    std::string word;
    bool quoted = false;
    for (; at < commandLine.size(); ++at) {
      c = commandLine[at];
      if (c == '"') {
        quoted = !quoted;
      } else if (!quoted && (c == ' ' || c == '\t')) {
        break;
      } else {
        word += c;
      }
    }
    words.push_back(word);
  }
  return words;
}

namespace {

// In the grandchild: only async-signal-safe calls from here on.
[[noreturn]] void ExecDetached(char* const* argv, int errorPipe) {
  int null = open("/dev/null", O_RDWR);
  if (null >= 0) {
    dup2(null, 0);
    dup2(null, 1);
    dup2(null, 2);
  }
  // Nothing of the client's but the standard three reaches the server: every
  // descriptor from 3 up closes at the exec (the error pipe too, which is how
  // the parent learns that the exec happened). One call; a kernel without
  // close_range's CLOSE_RANGE_CLOEXEC gets each one up to the limit.
  if (close_range(3, ~0U, CLOSE_RANGE_CLOEXEC) != 0) {
    long limit = sysconf(_SC_OPEN_MAX);
    if (limit < 0 || limit > 65536) limit = 65536;
    for (int fd = 3; fd < limit; ++fd) fcntl(fd, F_SETFD, FD_CLOEXEC);
  }
  execv(argv[0], argv);
  int error = errno;
  ssize_t ignored = write(errorPipe, &error, sizeof(error));
  (void)ignored;
  _exit(127);
}

}  // namespace

HRESULT LaunchLocalServer(const std::string& commandLine) {
  std::vector<std::string> words = SplitCommandLine(commandLine);
  if (words.empty()) return CO_E_SERVER_EXEC_FAILURE;
  words.push_back("-Embedding");
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  int errorPipe[2];
  if (pipe2(errorPipe, O_CLOEXEC) != 0) return E_OUTOFMEMORY;
  pid_t child = fork();
  if (child == 0) {
    setsid();
    if (fork() == 0) ExecDetached(argv.data(), errorPipe[1]);
    _exit(0);
  }
  close(errorPipe[1]);
  bool started = child > 0;
  if (started) {
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    ssize_t got;
    do {
      got = read(errorPipe[0], &error, sizeof(error));
    } while (got < 0 && errno == EINTR);
    started = got == 0;
  }
  close(errorPipe[0]);
  if (child < 0) return E_OUTOFMEMORY;
  return started ? S_OK : CO_E_SERVER_EXEC_FAILURE;
}

}  // namespace qx
