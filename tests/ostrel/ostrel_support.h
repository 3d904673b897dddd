// Helpers of the server process's tests: running the built ostrel program.
#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace qx::test {

inline constexpr const char* kOstrel = QX_OSTREL;

// Runs ostrel with the arguments and the test's environment; its exit status,
// or 128 + the signal that ended it (it is killed after 30 s).
inline int RunOstrel(const std::vector<std::string>& args) {
  pid_t child = fork();
  if (child == 0) {
    alarm(30);  // kept across exec
    std::vector<std::string> words{kOstrel};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    execv(kOstrel, argv.data());
    _exit(127);
  }
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace qx::test
