#include "server/exe_module.h"

#include "platform/com_runtime.h"

namespace qx {

ExeModule::~ExeModule() {
  if (!m_monitor.joinable()) return;
  m_bEncerrando = true;
  m_hEventShutdown.Set();
  m_monitor.join();
}

long ExeModule::Lock() { return ++m_nLockCnt; }

long ExeModule::Unlock() {
  const long restantes = --m_nLockCnt;
  if (restantes == 0) {
    m_bActivity = true;
    m_hEventShutdown.Set();
  }
  return restantes;
}

void ExeModule::StartMonitor() {
  if (!m_monitor.joinable()) m_monitor = std::thread([this] { MonitorShutdown(); });
}

void ExeModule::MonitorShutdown() {
  while (!m_bEncerrando) {
    m_hEventShutdown.Wait();
    bool sinalizado = true;
    while (sinalizado && !m_bEncerrando) {
      m_bActivity = false;
      sinalizado = m_hEventShutdown.WaitFor(m_dwTimeOut);
    }
    if (m_bEncerrando || Ocupado()) continue;
    CoSuspendClassObjects();
    if (!Ocupado()) break;
    // A client arrived while the classes were being withdrawn: serve it.
    CoResumeClassObjects();
  }
  PostQuit();
}

}  // namespace qx
