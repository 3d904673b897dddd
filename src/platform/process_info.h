// Facts about the running process and the machine, for diagnostics.
#pragma once

#include <cstdint>
#include <string>

namespace qx {

// The process's private memory in bytes: its anonymous resident memory.
// 0 when the system does not say.
int64_t ProcessPrivateMemory();

struct PhysicalMemory {
  int64_t available = 0;  // bytes
  int64_t total = 0;      // bytes
};
// The machine's available and total physical memory; zeros when unknown.
PhysicalMemory MachinePhysicalMemory();

// Full path of the running executable; empty when unknown.
std::string ExecutablePath();
// File name of the running executable as it is spelt on disk.
std::string ExecutableFileName();
// File name of the running executable in lower case.
std::string ProcessBaseName();
// Name of the operating-system user the process runs as.
std::string OsUserName();
// Kernel's identifier of the calling thread.
uint32_t CurrentThreadId();
// Kernel's identifier of the process (which a fork changes).
uint32_t CurrentProcessId();
// Kernel release, which stands for the system version.
std::string KernelRelease();

}  // namespace qx
