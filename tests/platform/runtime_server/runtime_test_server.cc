// The test class's local server, as the runtime starts it on demand: it writes its command
// line to "server-args" in the runtime folder, and whether descriptor 200 reached it to
// "server-fd200", serves until its last object is released, then withdraws its class and
// ends. Without "-Embedding" it ends at once with 2.
#include <fcntl.h>
#include <unistd.h>

#include <condition_variable>
#include <cstring>
#include <fstream>
#include <mutex>

#include "platform/environment.h"
#include "runtime_adder.h"

int main(int argc, char** argv) {
  alarm(60);
  bool embedding = false;
  std::string words;
  for (int i = 1; i < argc; ++i) {
    embedding = embedding || std::strcmp(argv[i], "-Embedding") == 0;
    words += std::string(i > 1 ? " " : "") + argv[i];
  }
  if (!embedding) return 2;
  std::ofstream(qx::GetEnvironmentText("QX_RUNTIME_DIR") + "/server-args") << words;
  std::ofstream(qx::GetEnvironmentText("QX_RUNTIME_DIR") + "/server-fd200")
      << (fcntl(200, F_GETFD) == -1 ? "closed" : "open");

  std::mutex mutex;
  std::condition_variable idle;
  bool done = false;
  qx::SetObjectCountHooks({}, [&](long count) {
    if (count != 0) return;
    std::lock_guard lock(mutex);
    done = true;
    idle.notify_all();
  });
  qx::test::RegisterRuntimeAdder();
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  qx::test::RuntimeAdderFactory factory;
  DWORD cookie = 0;
  if (FAILED(CoRegisterClassObject(qx::test::CLSID_RuntimeAdder, &factory, CLSCTX_LOCAL_SERVER,
                                   REGCLS_MULTIPLEUSE | REGCLS_SUSPENDED, &cookie)) ||
      FAILED(CoResumeClassObjects())) {
    return 3;
  }
  {
    std::unique_lock lock(mutex);
    idle.wait(lock, [&] { return done; });
  }
  CoRevokeClassObject(cookie);
  CoUninitialize();
  return 0;
}
