#include "platform/guid.h"

#include <sys/random.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

HRESULT CoCreateGuid(GUID* guid) {
  uint8_t bytes[sizeof(GUID)];
  size_t got = 0;
  while (got < sizeof bytes) {
    ssize_t n = getrandom(bytes + got, sizeof bytes - got, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      std::memset(guid, 0, sizeof *guid);
      return E_FAIL;
    }
    got += static_cast<size_t>(n);
  }
  std::memcpy(guid, bytes, sizeof *guid);
  // Version 4 (random) and the RFC 4122 variant, as the Windows generator sets them.
  guid->Data3 = static_cast<uint16_t>((guid->Data3 & 0x0FFF) | 0x4000);
  guid->Data4[0] = static_cast<uint8_t>((guid->Data4[0] & 0x3F) | 0x80);
  return S_OK;
}

namespace qx {

std::string GuidToText(const GUID& g) {
  char text[37];
  std::snprintf(text, sizeof text, "%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X",
                static_cast<unsigned>(g.Data1), g.Data2, g.Data3, g.Data4[0], g.Data4[1],
                g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
  return text;
}

}  // namespace qx
