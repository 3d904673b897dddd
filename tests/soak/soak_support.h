// What the multi-process tests of the server share: a temporary company with
// ostrel registered in its registry store and a runtime folder of its own,
// client objects that reconnect, the server processes of that runtime folder
// (found through /proc) and bounded waits for children.
#pragma once

#include <dirent.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "../entries/test_company.h"
#include "../platform/test_support.h"
#include "qxcom/qxcom.h"

namespace qx::soak {

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The company, with the server registered and its sockets in a folder of this test.
class ServerCompany {
 public:
  ServerCompany() {
    runtime_ = company_.root() + "/run";
    setenv("QX_RUNTIME_DIR", runtime_.c_str(), 1);
    const std::string command = QX_TEST_BINARY_DIR "/tools/ostrel/ostrel -RegServer";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
  }
  ~ServerCompany() {
    KillServers();
    unsetenv("QX_RUNTIME_DIR");
  }

  const TestCompany& company() const { return company_; }

  // The live ostrel processes serving this runtime folder.
  std::vector<pid_t> Servers() const {
    std::vector<pid_t> pids;
    std::string marker = "QX_RUNTIME_DIR=";
    marker.append(runtime_).append(1, '\0');
    DIR* proc = opendir("/proc");
    if (proc == nullptr) return pids;
    while (const dirent* entry = readdir(proc)) {
      const pid_t pid = static_cast<pid_t>(std::atoi(entry->d_name));
      if (pid <= 0) continue;
      const std::string base = std::string("/proc/") + entry->d_name;
      if (ReadFile(base + "/comm") != "ostrel\n") continue;
      const std::string stat = ReadFile(base + "/stat");
      const size_t close = stat.rfind(')');
      if (close == std::string::npos || stat.compare(close + 2, 1, "Z") == 0) continue;
      if ((ReadFile(base + "/environ") + '\0').find(marker) == std::string::npos) continue;
      pids.push_back(pid);
    }
    closedir(proc);
    return pids;
  }

  // Sends SIGKILL to every server of the folder; gives how many there were.
  int KillServersOnce() const {
    const std::vector<pid_t> pids = Servers();
    for (const pid_t pid : pids) kill(pid, SIGKILL);
    return static_cast<int>(pids.size());
  }

  // Kills every server of the folder and waits until none is left (bounded).
  void KillServers() const {
    for (int attempt = 0; attempt < 250; ++attempt) {
      const std::vector<pid_t> pids = Servers();
      if (pids.empty()) return;
      for (const pid_t pid : pids) kill(pid, SIGKILL);
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ADD_FAILURE() << "a server outlived SIGKILL";
  }

 private:
  TestCompany company_;
  std::string runtime_;
};

struct ReleaseService {
  void operator()(IQXCN_Lancamento* s) const { s->Release(); }
};
using Service = std::unique_ptr<IQXCN_Lancamento, ReleaseService>;

// A new initialised object through the server (started on demand); null when none answers.
inline Service Connect() {
  IQXCN_Lancamento* raw = nullptr;
  if (CriaServicoLancamento(&raw) != S_OK || raw == nullptr) return nullptr;
  Service s(raw);
  if (s->Inicializa_Padrao(RegistroInicializacao()) != S_OK) return nullptr;
  return s;
}

// Connect, tried until it works or the deadline passes.
inline Service ConnectUntil(std::chrono::steady_clock::time_point deadline) {
  while (std::chrono::steady_clock::now() < deadline) {
    if (Service s = Connect()) return s;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return nullptr;
}

using test::WaitChild;

// A value of /proc/<pid>/status in kB ("VmRSS", "VmHWM"); 0 when unknown.
inline int64_t StatusKb(pid_t pid, const std::string& field) {
  std::string path = "/proc/";
  path.append(std::to_string(pid)).append("/status");
  std::istringstream lines(ReadFile(path));
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind(field + ":", 0) == 0) return std::atoll(line.c_str() + field.size() + 1);
  }
  return 0;
}

inline constexpr bool kSanitized = test::kAddressSanitizer;

}  // namespace qx::soak
