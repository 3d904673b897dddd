#include "qxdump_json.h"

#include <cstdlib>
#include <utility>

namespace qx::test {
namespace {

const Json kNullJson;

void AppendUtf8(char32_t cp, std::string* out) {
  const int extra = cp < 0x80 ? 0 : cp < 0x800 ? 1 : cp < 0x10000 ? 2 : 3;
  static constexpr unsigned char kLead[] = {0x00, 0xC0, 0xE0, 0xF0};
  *out += static_cast<char>(kLead[extra] | (cp >> (6 * extra)));
  for (int k = extra - 1; k >= 0; --k) *out += static_cast<char>(0x80 | ((cp >> (6 * k)) & 0x3F));
}

// Well-formed UTF-8: no stray continuation bytes, no overlong forms, no
// surrogates, nothing above U+10FFFF.
bool IsUtf8(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    const size_t length = lead < 0x80                   ? 1
                          : lead >= 0xC2 && lead < 0xE0 ? 2
                          : lead >= 0xE0 && lead < 0xF0 ? 3
                          : lead >= 0xF0 && lead < 0xF5 ? 4
                                                        : 0;
    if (length == 0 || i + length > text.size()) return false;
    char32_t cp = length == 1 ? lead : lead & (0xFF >> (length + 1));
    for (size_t k = 1; k < length; ++k) {
      const unsigned char next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (next & 0x3F);
    }
    static constexpr char32_t kFloor[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kFloor[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000)) return false;
    i += length;
  }
  return true;
}

class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text) {}

  std::optional<Json> Document() {
    Json value;
    if (!Value(&value)) return std::nullopt;
    SkipSpace();
    if (pos_ != text_.size()) return std::nullopt;
    return value;
  }

 private:
  void SkipSpace() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\n' ||
                                   text_[pos_] == '\r' || text_[pos_] == '\t')) {
      ++pos_;
    }
  }
  bool Take(char c) {
    SkipSpace();
    if (pos_ < text_.size() && text_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }
  bool Word(std::string_view word) {
    if (text_.substr(pos_, word.size()) != word) return false;
    pos_ += word.size();
    return true;
  }

  bool Value(Json* out) {
    SkipSpace();
    if (pos_ >= text_.size()) return false;
    const char c = text_[pos_];
    if (c == '{') return Object(out);
    if (c == '[') return Array(out);
    if (c == '"') {
      out->type = Json::kString;
      return String(&out->text);
    }
    if (Word("null")) return true;
    if (Word("true") || Word("false")) {
      out->type = Json::kBool;
      out->boolean = text_[pos_ - 1] == 'e' && text_[pos_ - 4] == 't';
      return true;
    }
    return Number(out);
  }

  bool Number(Json* out) {
    const size_t start = pos_;
    auto digits = [this] {
      const size_t from = pos_;
      while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') ++pos_;
      return pos_ > from;
    };
    if (pos_ < text_.size() && text_[pos_] == '-') ++pos_;
    if (pos_ < text_.size() && text_[pos_] == '0') {
      ++pos_;
    } else if (!digits()) {
      return false;
    }
    if (pos_ < text_.size() && text_[pos_] == '.' && (++pos_, !digits())) return false;
    if (pos_ < text_.size() && (text_[pos_] == 'e' || text_[pos_] == 'E')) {
      ++pos_;
      if (pos_ < text_.size() && (text_[pos_] == '+' || text_[pos_] == '-')) ++pos_;
      if (!digits()) return false;
    }
    out->type = Json::kNumber;
    out->text = std::string(text_.substr(start, pos_ - start));
    out->number = std::strtod(out->text.c_str(), nullptr);
    return true;
  }

  bool Hex4(char32_t* out) {
    if (pos_ + 4 > text_.size()) return false;
    *out = 0;
    for (int i = 0; i < 4; ++i) {
      const char c = text_[pos_++];
      const int digit = c >= '0' && c <= '9'   ? c - '0'
                        : c >= 'a' && c <= 'f' ? c - 'a' + 10
                        : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                               : -1;
      if (digit < 0) return false;
      *out = *out * 16 + static_cast<char32_t>(digit);
    }
    return true;
  }

  bool Escape(std::string* out) {
    if (pos_ >= text_.size()) return false;
    const char c = text_[pos_++];
    static constexpr std::string_view kFrom = "\"\\/bfnrt", kTo = "\"\\/\b\f\n\r\t";
    if (const size_t i = kFrom.find(c); i != std::string_view::npos && c != 'u') {
      *out += kTo[i];
      return true;
    }
    char32_t cp = 0;
    if (c != 'u' || !Hex4(&cp)) return false;
    if (cp >= 0xD800 && cp < 0xDC00) {
      char32_t low = 0;
      if (!Word("\\u") || !Hex4(&low) || low < 0xDC00 || low >= 0xE000) return false;
      cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
    } else if (cp >= 0xDC00 && cp < 0xE000) {
      return false;
    }
    AppendUtf8(cp, out);
    return true;
  }

  bool String(std::string* out) {
    ++pos_;  // the opening quote
    while (pos_ < text_.size()) {
      const unsigned char c = static_cast<unsigned char>(text_[pos_++]);
      if (c == '"') return true;
      if (c < 0x20) return false;
      if (c == '\\') {
        if (!Escape(out)) return false;
      } else {
        *out += static_cast<char>(c);
      }
    }
    return false;
  }

  bool Array(Json* out) {
    out->type = Json::kArray;
    ++pos_;
    if (Take(']')) return true;
    do {
      out->items.emplace_back();
      if (!Value(&out->items.back())) return false;
    } while (Take(','));
    return Take(']');
  }

  bool Object(Json* out) {
    out->type = Json::kObject;
    ++pos_;
    if (Take('}')) return true;
    do {
      std::string name;
      SkipSpace();
      if (pos_ >= text_.size() || text_[pos_] != '"' || !String(&name) || !Take(':')) return false;
      out->members.push_back(JsonMember{std::move(name), Json{}});
      if (!Value(&out->members.back().value)) return false;
    } while (Take(','));
    return Take('}');
  }

  std::string_view text_;
  size_t pos_ = 0;
};

}  // namespace

const Json& Json::operator[](std::string_view name) const {
  for (const auto& [key, value] : members) {
    if (key == name) return value;
  }
  return kNullJson;
}

const Json& Json::operator[](size_t index) const {
  return index < items.size() ? items[index] : kNullJson;
}

std::optional<Json> ParseJson(std::string_view text) {
  if (!IsUtf8(text)) return std::nullopt;
  return Parser(text).Document();
}

}  // namespace qx::test
