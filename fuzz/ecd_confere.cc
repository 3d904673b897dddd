// The ECD checker over any bytes: every file is read to its end and judged
// without fault, whatever its lines, fields, numbers and counts.
#include <cstdint>
#include <sstream>
#include <string>

#include "reports/ecd/confere.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::istringstream arquivo(std::string(reinterpret_cast<const char*>(data), size));
  uint64_t vistos = 0;
  const uint64_t problemas = qx::ecd::ConfereEcd(arquivo, [&](const qx::ecd::Problema& p) {
    vistos += qx::ecd::TextoProblema(p).empty() ? 0 : 1;
  });
  if (vistos > problemas) __builtin_trap();
  return 0;
}
