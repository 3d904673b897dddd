// Windows-1252 <-> UTF-16, driven by one table of the 256 bytes.
#include "platform/codepage.h"

#include <array>

namespace qx {
namespace {

// Bytes 0x00-0x7F and 0xA0-0xFF are the Unicode characters of the same value;
// 0x80-0x9F are listed here (undefined bytes map to the C1 control itself).
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 0x88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 0x98
};

constexpr std::array<char16_t, 256> kTable = [] {
  std::array<char16_t, 256> table{};
  for (int b = 0; b < 256; ++b) {
    table[b] = (b >= 0x80 && b < 0xA0) ? kHighControls[b - 0x80] : static_cast<char16_t>(b);
  }
  return table;
}();

}  // namespace

char16_t Cp1252ToUnicode(unsigned char byte) { return kTable[byte]; }

int UnicodeToCp1252(char32_t code_point) {
  if (code_point < 0x80 || (code_point >= 0xA0 && code_point <= 0xFF)) {
    return static_cast<int>(code_point);
  }
  for (int b = 0x80; b < 0xA0; ++b) {
    if (kTable[b] == code_point) return b;
  }
  return -1;
}

std::u16string Cp1252ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (char c : text) out.push_back(Cp1252ToUnicode(static_cast<unsigned char>(c)));
  return out;
}

std::string Utf16ToCp1252(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t u = text[i];
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      ++i;  // a pair stands for one character outside the code page
      out.push_back('?');
      continue;
    }
    int b = UnicodeToCp1252(u);
    out.push_back(b < 0 ? '?' : static_cast<char>(b));
  }
  return out;
}

char32_t UpperCaseCp1252Letter(char32_t cp) {
  if (cp >= U'a' && cp <= U'z') return cp - 32;
  if (cp >= 0xE0 && cp <= 0xFE && cp != 0xF7) return cp - 32;
  switch (cp) {
    case 0xFF:  // ÿ
      return 0x178;
    case 0x161:  // š
    case 0x153:  // œ
    case 0x17E:  // ž
      return cp - 1;
    default:
      return cp;
  }
}

char Cp1252ToUpper(char c) {
  char32_t upper = UpperCaseCp1252Letter(Cp1252ToUnicode(static_cast<unsigned char>(c)));
  return static_cast<char>(UnicodeToCp1252(upper));
}

bool Cp1252EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Cp1252ToUpper(a[i]) != Cp1252ToUpper(b[i])) return false;
  }
  return true;
}

}  // namespace qx
