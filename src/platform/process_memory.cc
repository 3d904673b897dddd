// Memory figures from /proc: the process's anonymous resident memory and the
// machine's physical memory.
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/process_info.h"

namespace qx {
namespace {

// The number after "key:" in a "/proc" file of "key: value kB" lines, in bytes;
// -1 when the key is missing.
int64_t KilobyteField(const char* file, const std::string& key) {
  std::ifstream in(file);
  std::string line;
  while (std::getline(in, line)) {
    if (line.compare(0, key.size(), key) != 0 || line.size() <= key.size() ||
        line[key.size()] != ':')
      continue;
    std::istringstream value(line.substr(key.size() + 1));
    int64_t kilobytes = 0;
    if (value >> kilobytes) return kilobytes * 1024;
    return -1;
  }
  return -1;
}

}  // namespace

int64_t ProcessPrivateMemory() {
  int64_t anonymous = KilobyteField("/proc/self/status", "RssAnon");
  if (anonymous >= 0) return anonymous;
  // Older kernels: resident pages less the file-backed shared ones.
  std::ifstream statm("/proc/self/statm");
  int64_t size = 0, resident = 0, shared = 0;
  if (!(statm >> size >> resident >> shared) || resident < shared) return 0;
  return (resident - shared) * static_cast<int64_t>(sysconf(_SC_PAGESIZE));
}

PhysicalMemory MachinePhysicalMemory() {
  PhysicalMemory memory;
  memory.available = std::max<int64_t>(0, KilobyteField("/proc/meminfo", "MemAvailable"));
  memory.total = std::max<int64_t>(0, KilobyteField("/proc/meminfo", "MemTotal"));
  return memory;
}

}  // namespace qx
