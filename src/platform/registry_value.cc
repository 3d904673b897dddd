#include "platform/registry_value.h"

#include "platform/codepage.h"
#include "platform/registry.h"

namespace qx {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The bytes of "hex...:aa,bb,\<newline>  cc"; false when unreadable.
bool HexBytes(const std::string& data, std::string* bytes) {
  bytes->clear();
  size_t colon = data.find(':');
  for (size_t i = colon + 1; i < data.size();) {
    char c = data[i];
    if (c == ',' || c == ' ' || c == '\t' || c == '\\' || c == '\n') {
      ++i;
    } else if (i + 1 < data.size() && HexDigit(c) >= 0 && HexDigit(data[i + 1]) >= 0) {
      bytes->push_back(static_cast<char>(HexDigit(c) * 16 + HexDigit(data[i + 1])));
      i += 2;
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace

uint32_t RegItemType(const RegItem& item) {
  if (item.kind == RegItem::kString) return REG_SZ;
  if (item.kind == RegItem::kDword) return REG_DWORD;
  if (item.data.starts_with("hex:")) return REG_BINARY;
  if (!item.data.starts_with("hex(")) return REG_NONE;
  uint32_t type = 0;
  size_t i = 4;
  for (; i < item.data.size() && HexDigit(item.data[i]) >= 0 && i < 12; ++i) {
    type = type * 16 + static_cast<uint32_t>(HexDigit(item.data[i]));
  }
  return item.data.compare(i, 2, "):") == 0 && i > 4 ? type : REG_NONE;
}

long RegItemString(const RegItem& item, std::string* value) {
  uint32_t type = RegItemType(item);
  if (type == REG_SZ && item.kind == RegItem::kString) {
    *value = Utf8ToCp1252(item.data);
    return ERROR_SUCCESS;
  }
  std::string bytes;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return ERROR_UNSUPPORTED_TYPE;
  if (!HexBytes(item.data, &bytes)) return ERROR_INVALID_DATA;
  std::u16string units;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    char16_t unit = static_cast<unsigned char>(bytes[i]) |
                    static_cast<char16_t>(static_cast<unsigned char>(bytes[i + 1]) << 8);
    if (unit == 0) break;
    units.push_back(unit);
  }
  *value = Utf16ToCp1252(units);
  return ERROR_SUCCESS;
}

long RegItemDword(const RegItem& item, uint32_t* value) {
  if (item.kind == RegItem::kDword) {
    *value = item.dword;
    return ERROR_SUCCESS;
  }
  std::string bytes;
  if (RegItemType(item) != REG_DWORD) return ERROR_UNSUPPORTED_TYPE;
  if (!HexBytes(item.data, &bytes) || bytes.size() != 4) return ERROR_INVALID_DATA;
  *value = 0;
  for (int i = 3; i >= 0; --i) *value = (*value << 8) | static_cast<unsigned char>(bytes[i]);
  return ERROR_SUCCESS;
}

}  // namespace qx
