#include "diagnostics/versions.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "platform/process_info.h"

namespace qx {

std::string FourPartVersion(std::string_view text) {
  std::array<unsigned, 4> parts{};
  size_t count = 0;
  for (size_t pos = 0; pos < text.size() && count < parts.size();) {
    if (text[pos] < '0' || text[pos] > '9') {
      ++pos;
      continue;
    }
    unsigned value = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
      // Each part is 16 bits wide, as in a file version.
      value = std::min(value * 10 + static_cast<unsigned>(text[pos] - '0'), 0xFFFFu);
    }
    parts[count++] = value;
  }
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%u.%u.%u.%u", parts[0], parts[1], parts[2], parts[3]);
  return buffer;
}

const std::string& VersaoSistema() {
  static const std::string versao = FourPartVersion(KernelRelease());
  return versao;
}

const std::string& VersaoSuite() {
  static const std::string versao = FourPartVersion(kVersaoProjeto);
  return versao;
}

}  // namespace qx
