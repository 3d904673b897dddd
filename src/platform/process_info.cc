#include "platform/process_info.h"

#include <pwd.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <vector>

namespace qx {

std::string ExecutablePath() {
  std::vector<char> buffer(256);
  for (;;) {
    ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n < 0) return {};
    if (static_cast<size_t>(n) < buffer.size()) return std::string(buffer.data(), n);
    buffer.resize(buffer.size() * 2);
  }
}

std::string ExecutableFileName() {
  std::string path = ExecutablePath();
  return path.substr(path.find_last_of('/') + 1);
}

std::string ProcessBaseName() {
  std::string name = ExecutableFileName();
  std::transform(name.begin(), name.end(), name.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return name;
}

std::string OsUserName() {
  uid_t uid = geteuid();
  std::vector<char> buffer(1024);
  for (;;) {
    passwd entry{};
    passwd* found = nullptr;
    int rc = getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found);
    if (rc == ERANGE && buffer.size() < (1u << 20)) {
      buffer.resize(buffer.size() * 2);
      continue;
    }
    if (rc == 0 && found != nullptr) return found->pw_name;
    return std::to_string(uid);  // a user without a passwd entry is known by number
  }
}

uint32_t CurrentThreadId() { return static_cast<uint32_t>(gettid()); }

uint32_t CurrentProcessId() { return static_cast<uint32_t>(getpid()); }

std::string KernelRelease() {
  utsname names{};
  if (uname(&names) != 0) return {};
  return names.release;
}

}  // namespace qx
