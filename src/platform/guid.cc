#include "platform/guid.h"

#include <cstdio>
#include <cstring>

#include "platform/random_bytes.h"

HRESULT CoCreateGuid(GUID* guid) {
  uint8_t bytes[sizeof(GUID)];
  if (!qx::RandomBytes(bytes, sizeof bytes)) {
    std::memset(guid, 0, sizeof *guid);
    return E_FAIL;
  }
  std::memcpy(guid, bytes, sizeof *guid);
  // Version 4 (random) and the RFC 4122 variant, as the Windows generator sets them.
  guid->Data3 = static_cast<uint16_t>((guid->Data3 & 0x0FFF) | 0x4000);
  guid->Data4[0] = static_cast<uint8_t>((guid->Data4[0] & 0x3F) | 0x80);
  return S_OK;
}

namespace qx {
namespace {

constexpr size_t kTextLength = 36;
// Where the dashes stand in the text without braces.
constexpr size_t kDashes[] = {8, 13, 18, 23};

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The 16 bytes of the text in reading order, or false.
bool ReadHexBytes(std::string_view text, uint8_t (&bytes)[16]) {
  size_t next = 0;
  for (size_t i = 0; i < kTextLength;) {
    if (i == kDashes[0] || i == kDashes[1] || i == kDashes[2] || i == kDashes[3]) {
      if (text[i] != '-') return false;
      ++i;
      continue;
    }
    int high = HexValue(text[i]);
    int low = HexValue(text[i + 1]);
    if (high < 0 || low < 0) return false;
    bytes[next++] = static_cast<uint8_t>(high * 16 + low);
    i += 2;
  }
  return true;
}

}  // namespace

std::string GuidToText(const GUID& g) {
  char text[kTextLength + 1];
  std::snprintf(text, sizeof text, "%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X",
                static_cast<unsigned>(g.Data1), g.Data2, g.Data3, g.Data4[0], g.Data4[1],
                g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
  return text;
}

std::string GuidToBracedText(const GUID& guid) { return "{" + GuidToText(guid) + "}"; }

bool GuidFromText(std::string_view text, GUID* guid) {
  if (text.size() == kTextLength + 2) {
    if (text.front() != '{' || text.back() != '}') return false;
    text = text.substr(1, kTextLength);
  }
  uint8_t b[16];
  if (text.size() != kTextLength || !ReadHexBytes(text, b)) return false;
  guid->Data1 = static_cast<uint32_t>(b[0]) << 24 | static_cast<uint32_t>(b[1]) << 16 |
                static_cast<uint32_t>(b[2]) << 8 | b[3];
  guid->Data2 = static_cast<uint16_t>(b[4] << 8 | b[5]);
  guid->Data3 = static_cast<uint16_t>(b[6] << 8 | b[7]);
  std::memcpy(guid->Data4, b + 8, 8);
  return true;
}

}  // namespace qx
