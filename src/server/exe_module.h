// The executable module of a local server: the lock count of its live
// objects and server locks, and the shutdown monitor that ends the process
// once the count has stayed at 0 for the idle time.
#pragma once

#include <atomic>
#include <cstdint>
#include <thread>

#include "platform/auto_reset_event.h"

namespace qx {

inline constexpr uint32_t kTempoOcioso = 5000;  // ms

class ExeModule {
 public:
  explicit ExeModule(uint32_t tempoOcioso = kTempoOcioso) : m_dwTimeOut(tempoOcioso) {}
  // Stops the monitor if it still runs.
  virtual ~ExeModule();
  ExeModule(const ExeModule&) = delete;
  ExeModule& operator=(const ExeModule&) = delete;

  // Each live object and server lock counts one. When the count falls to 0
  // the activity flag is set and the monitor is told.
  long Lock();
  long Unlock();
  long GetLockCount() const { return m_nLockCnt.load(); }

  // Starts the monitor thread: after the idle time passes with no lock and no
  // activity it suspends the class objects and, if still nothing happened,
  // posts the quit message; a client that came meanwhile resumes them.
  void StartMonitor();
  // Tells the monitor that the process may be idle (as the last Unlock does).
  void SinalizaOcioso() { m_hEventShutdown.Set(); }
  // The message loop: waits for the quit message, or for `milliseconds`.
  void AguardaFim() { m_quit.Wait(); }
  bool AguardaFim(uint32_t milliseconds) { return m_quit.WaitFor(milliseconds); }
  void PostQuit() { m_quit.Set(); }

  uint32_t TempoOcioso() const { return m_dwTimeOut; }

 private:
  void MonitorShutdown();
  bool Ocupado() const { return m_bActivity.load() || m_nLockCnt.load() != 0; }

  std::atomic<long> m_nLockCnt{0};
  std::atomic<bool> m_bActivity{false};
  std::atomic<bool> m_bEncerrando{false};
  AutoResetEvent m_hEventShutdown;
  AutoResetEvent m_quit;
  const uint32_t m_dwTimeOut;
  std::thread m_monitor;
};

}  // namespace qx
