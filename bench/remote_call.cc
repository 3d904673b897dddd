// The entry service across processes: a KeepAlive round trip through proxy, wire and stub to
// a server process, next to a bare Unix-socket echo of frames of the same sizes in the same
// run (target: at most twice the echo; the counter x_echo gives the ratio), and the calls
// per second that 1, 4 and 16 client processes get together from one server process. The
// server is a process of this program offering the real class with the generated stub.
#include <benchmark/benchmark.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include "contract/interface_ids.h"
#include "platform/clock.h"
#include "platform/com_runtime.h"
#include "platform/runtime_folder.h"
#include "platform/unix_socket.h"
#include "platform/wire_frame.h"
#include "qxcom/qxcom.h"
#include "remote/lancamento_remote.h"
#include "server/class_factory.h"

namespace {

constexpr size_t kRequestSize = sizeof(qx::WireRequestHeader) + sizeof(int32_t);
constexpr size_t kReplySize = sizeof(qx::WireReplyHeader) + sizeof(int32_t);

// A private runtime folder and empty registry (no installation, no profiler configuration).
void UsePrivateFolder() {
  static const std::string folder = [] {
    char pattern[] = "/tmp/qx-bench-remote-XXXXXX";
    std::string made = mkdtemp(pattern) != nullptr ? pattern : "/tmp";
    setenv("QX_RUNTIME_DIR", (made + "/run").c_str(), 1);
    setenv("QX_REGISTRY", (made + "/machine.reg").c_str(), 1);
    setenv("QX_REGISTRY_USER", (made + "/user.reg").c_str(), 1);
    return made;
  }();
}

// The server process, ended when this program ends.
class Server {
 public:
  Server() {
    UsePrivateFolder();
    pid_ = fork();
    if (pid_ == 0) {
      qx::RegisterLancamentoStub();
      // The server's own class object; no monitor runs, so the process lives on.
      static qx::ExeModule modulo;
      static qx::FabricaLancamento factory(modulo);
      DWORD cookie = 0;
      if (FAILED(CoRegisterClassObject(CLSID_QXCN_Lancamento, &factory, CLSCTX_LOCAL_SERVER,
                                       REGCLS_MULTIPLEUSE, &cookie))) {
        _exit(1);
      }
      for (;;) pause();
    }
    std::string path = qx::ClassSocketPath(qx::RuntimeFolder(), CLSID_QXCN_Lancamento);
    for (int i = 0; i < 500; ++i) {
      int fd = qx::ConnectUnix(path);
      if (fd >= 0) {
        qx::CloseSocket(fd);
        break;
      }
      Sleep(10);
    }
  }
  ~Server() {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }

 private:
  pid_t pid_;
};

IQXCN_Lancamento* NewService() {
  static Server server;
  MULTI_QI qi = {&IID_IQXCN_Lancamento, nullptr, S_OK};
  CoCreateInstanceEx(CLSID_QXCN_Lancamento, nullptr, CLSCTX_LOCAL_SERVER, nullptr, 1, &qi);
  return static_cast<IQXCN_Lancamento*>(qi.pItf);
}

double g_echoNs = 0;

double NsPerIteration(std::chrono::steady_clock::time_point start, benchmark::State& state) {
  std::chrono::duration<double, std::nano> spent = std::chrono::steady_clock::now() - start;
  return spent.count() / static_cast<double>(state.iterations());
}

void BM_SocketEcho(benchmark::State& state) {
  int fds[2];
  if (socketpair(AF_UNIX, SOCK_STREAM, 0, fds) != 0) return state.SkipWithError("socketpair");
  pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    uint8_t frame[kRequestSize] = {};
    while (qx::ReceiveAll(fds[1], frame, kRequestSize) && qx::SendAll(fds[1], frame, kReplySize)) {
    }
    _exit(0);
  }
  close(fds[1]);
  uint8_t frame[kRequestSize] = {};
  auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    qx::SendAll(fds[0], frame, kRequestSize);
    qx::ReceiveAll(fds[0], frame, kReplySize);
  }
  g_echoNs = NsPerIteration(start, state);
  close(fds[0]);
  waitpid(pid, nullptr, 0);
}
BENCHMARK(BM_SocketEcho);

void BM_KeepAliveOutOfProcess(benchmark::State& state) {
  IQXCN_Lancamento* servico = NewService();
  if (servico == nullptr) return state.SkipWithError("no service object");
  int32_t ok = 0;
  auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    if (FAILED(servico->KeepAlive(&ok))) return state.SkipWithError("KeepAlive failed");
  }
  if (g_echoNs > 0) state.counters["x_echo"] = NsPerIteration(start, state) / g_echoNs;
  servico->Release();
}
BENCHMARK(BM_KeepAliveOutOfProcess);

constexpr int kCallsPerClient = 2000;

// Each client process makes its object, waits for the go byte, then calls kCallsPerClient times.
void BM_CallsPerSecond(benchmark::State& state) {
  const int clients = static_cast<int>(state.range(0));
  NewService()->Release();  // the server is up before the clients start
  for (auto _ : state) {
    int go[2], ready[2];
    if (pipe(go) != 0 || pipe(ready) != 0) return state.SkipWithError("pipe");
    std::vector<pid_t> pids;
    for (int i = 0; i < clients; ++i) {
      pid_t pid = fork();
      if (pid == 0) {
        close(go[1]);
        IQXCN_Lancamento* servico = NewService();
        char byte = 0;
        if (servico == nullptr || write(ready[1], &byte, 1) != 1 || read(go[0], &byte, 1) != 1) {
          _exit(1);
        }
        int32_t ok = 0;
        for (int call = 0; call < kCallsPerClient; ++call) {
          if (FAILED(servico->KeepAlive(&ok))) _exit(1);
        }
        servico->Release();
        _exit(0);
      }
      pids.push_back(pid);
    }
    close(go[0]);
    close(ready[1]);
    std::vector<char> bytes(clients);
    for (int got = 0, n = 0; got < clients; got += n) {  // every client has its object
      n = static_cast<int>(read(ready[0], bytes.data(), clients - got));
      if (n <= 0) break;
    }
    auto start = std::chrono::steady_clock::now();
    if (write(go[1], bytes.data(), clients) != clients) state.SkipWithError("go");
    close(go[1]);
    close(ready[0]);
    bool failed = false;
    for (pid_t pid : pids) {
      int status = 0;
      waitpid(pid, &status, 0);
      failed = failed || !WIFEXITED(status) || WEXITSTATUS(status) != 0;
    }
    std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
    state.SetIterationTime(spent.count());
    if (failed) return state.SkipWithError("a client failed");
  }
  state.SetItemsProcessed(state.iterations() * clients * kCallsPerClient);
}
BENCHMARK(BM_CallsPerSecond)->Arg(1)->Arg(4)->Arg(16)->UseManualTime()->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
