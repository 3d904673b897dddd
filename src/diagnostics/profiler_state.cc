#include "diagnostics/profiler_state.h"

#include <atomic>
#include <cstdint>
#include <mutex>

#include "diagnostics/profiler.h"
#include "diagnostics/profiler_switches.h"
#include "platform/clock.h"
#include "platform/path.h"
#include "platform/process_info.h"
#include "storage/folders/folders.h"

namespace qx {
namespace {

enum Bit : uint32_t {
  kLigado = 1u << 0,
  kEntrada = 1u << 1,
  kSaida = 1u << 2,
  kCoCreate = 1u << 3,
  kPerformance = 1u << 4,
  kMemory = 1u << 5,
  kFiltro = 1u << 6,
};

// The hot path reads only these two; a due tick of 0 makes the first use read.
constinit std::atomic<uint32_t> g_bits{0};
constinit std::atomic<uint64_t> g_dueTick{0};

struct Reading {
  std::mutex mutex;    // one reader at a time; guards folder
  std::string folder;  // installation folder of the last reading
};

Reading& LastReading() {
  static Reading reading;
  return reading;
}

uint32_t Bits(const ProfilerConfig& c) {
  uint32_t bits = 0;
  if (ProfilerSwitchedOn(c)) bits |= kLigado;
  if (c.entrada) bits |= kEntrada;
  if (c.saida) bits |= kSaida;
  if (c.coCreateInstance) bits |= kCoCreate;
  if (c.performance) bits |= kPerformance;
  if (c.memory) bits |= kMemory;
  if (ProcessFilterPasses(c.processos, ProfilerProcessName())) bits |= kFiltro;
  return bits;
}

void Read(uint64_t now) {
  Reading& reading = LastReading();
  std::lock_guard lock(reading.mutex);
  if (now < g_dueTick.load(std::memory_order_acquire)) return;  // another thread just read
  std::string folder = InstallationFolder(kModuloInstalacao, "");
  ProfilerConfig config =
      folder.empty() ? ProfilerConfig{} : ReadProfilerConfig(JoinPath(folder, "log.ini"));
  reading.folder = folder;
  g_bits.store(Bits(config), std::memory_order_relaxed);
  g_dueTick.store(now + static_cast<uint64_t>(config.timeoutConfigSeconds) * 1000,
                  std::memory_order_release);
}

}  // namespace

bool ProfilerIsOn() {
  QXProfilerGarantirConfiguracao();
  return (g_bits.load(std::memory_order_relaxed) & kLigado) != 0;
}

ProfilerSwitches CurrentProfilerSwitches() {
  uint32_t bits = g_bits.load(std::memory_order_relaxed);
  return {(bits & kLigado) != 0,   (bits & kEntrada) != 0,     (bits & kSaida) != 0,
          (bits & kCoCreate) != 0, (bits & kPerformance) != 0, (bits & kMemory) != 0,
          (bits & kFiltro) != 0};
}

std::string ProfilerInstallationFolder() {
  Reading& reading = LastReading();
  std::lock_guard lock(reading.mutex);
  return reading.folder;
}

void ForgetProfilerConfigurationForTesting() {
  std::lock_guard lock(LastReading().mutex);
  g_dueTick.store(0, std::memory_order_release);
}

const std::string& ProfilerProcessName() {
  static const std::string name = ProcessBaseName();
  return name;
}

const std::string& ProfilerLocalUser() {
  static const std::string user = OsUserName();
  return user;
}

}  // namespace qx

void QXProfilerGarantirConfiguracao() {
  uint64_t now = GetTickCount64();
  if (now >= qx::g_dueTick.load(std::memory_order_acquire)) qx::Read(now);
}
