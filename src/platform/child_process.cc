#include "platform/child_process.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace qx {

int RunInChildProcess(const std::function<int()>& body, unsigned timeoutSeconds) {
  const pid_t child = fork();
  if (child < 0) return -1;
  if (child == 0) {
    alarm(timeoutSeconds);
    _exit(body());
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace qx
