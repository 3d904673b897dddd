// UTF-8 <-> UTF-16 and Windows-1252 <-> UTF-8.
#include <algorithm>
#include <cstdio>

#include "platform/codepage.h"

namespace qx {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// The bytes before the first that is not ASCII: in UTF-8 and in Windows-1252
// alike each stands for itself.
size_t Ascii(std::string_view text) {
  size_t n = 0;
  while (n < text.size() && static_cast<unsigned char>(text[n]) < 0x80) ++n;
  return n;
}

void AppendUtf8(char32_t cp, std::string* out) {
  if (cp < 0x80) {
    out->push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

}  // namespace

char32_t NextUtf8CodePoint(std::string_view text, size_t* pos) {
  auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  unsigned char lead = byte(*pos);
  int extra = 0;
  if (lead < 0x80) {
    ++*pos;
    return lead;
  } else if (lead >= 0xC2 && lead < 0xE0) {
    extra = 1;
  } else if (lead >= 0xE0 && lead < 0xF0) {
    extra = 2;
  } else if (lead >= 0xF0 && lead < 0xF5) {
    extra = 3;
  }
  if (extra == 0 || *pos + extra >= text.size()) {
    ++*pos;
    return kReplacement;
  }
  char32_t cp = lead & (0x3F >> extra);
  for (int k = 1; k <= extra; ++k) {
    if ((byte(*pos + k) & 0xC0) != 0x80) {
      ++*pos;
      return kReplacement;
    }
    cp = (cp << 6) | (byte(*pos + k) & 0x3F);
  }
  static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
  if (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++*pos;
    return kReplacement;
  }
  *pos += extra + 1;
  return cp;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t cp = text[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[++i] - 0xDC00);
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = kReplacement;
    }
    AppendUtf8(cp, &out);
  }
  return out;
}

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (size_t pos = 0; pos < text.size();) {
    char32_t cp = NextUtf8CodePoint(text, &pos);
    if (cp >= 0x10000) {
      out.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
  }
  return out;
}

std::string Cp1252ToUtf8(std::string_view text) {
  // ASCII, as most texts are, reads the same in both.
  const auto ascii = [](char c) { return static_cast<unsigned char>(c) < 0x80; };
  const auto first = std::find_if_not(text.begin(), text.end(), ascii);
  std::string out(text.begin(), first);
  if (first == text.end()) return out;
  out.reserve(text.size() + 8);
  for (auto c = first; c != text.end(); ++c) {
    AppendUtf8(Cp1252ToUnicode(static_cast<unsigned char>(*c)), &out);
  }
  return out;
}

std::string Utf8ToCp1252(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  out.assign(text.substr(0, Ascii(text)));
  for (size_t pos = out.size(); pos < text.size();) {
    int b = UnicodeToCp1252(NextUtf8CodePoint(text, &pos));
    out.push_back(b < 0 ? '?' : static_cast<char>(b));
  }
  return out;
}

std::string Latin1ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) AppendUtf8(static_cast<unsigned char>(c), &out);
  return out;
}

size_t FirstMalformedUtf8(std::string_view text) {
  for (size_t pos = Ascii(text); pos < text.size();) {
    const size_t at = pos;
    // U+FFFD written out takes three bytes; a malformed byte reads as it in one.
    if (NextUtf8CodePoint(text, &pos) == kReplacement && pos == at + 1) return at;
  }
  return std::string_view::npos;
}

std::vector<std::string> MissingFromCp1252(std::string_view text) {
  std::vector<std::string> missing;
  for (size_t pos = Ascii(text); pos < text.size();) {
    const size_t at = pos;
    const char32_t cp = NextUtf8CodePoint(text, &pos);
    if (UnicodeToCp1252(cp) >= 0) continue;
    std::string character(text.substr(at, pos - at));
    if (cp == kReplacement && pos == at + 1) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(text[at]));
      character = escaped;
    }
    if (std::find(missing.begin(), missing.end(), character) == missing.end()) {
      missing.push_back(std::move(character));
    }
  }
  return missing;
}

}  // namespace qx
