// Reading the registry export format.
#include <cstdlib>

#include "platform/codepage.h"
#include "platform/registry_format.h"

namespace qx {
namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";
constexpr std::string_view kOldHeader = "REGEDIT4";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimEnd(std::string_view s) {
  while (!s.empty() && (IsBlank(s.back()) || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  return TrimEnd(s);
}

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

bool IsValidUtf8(std::string_view s) {
  for (size_t pos = 0; pos < s.size();) {
    size_t start = pos;
    if (NextUtf8CodePoint(s, &pos) == 0xFFFD && s.substr(start, 3) != "\xEF\xBF\xBD") {
      return false;
    }
  }
  return true;
}

// Reads a quoted text starting at s[*pos] == '"'; \\ and \" are escapes, any
// other backslash stands for itself. Advances past the closing quote.
bool ReadQuoted(std::string_view s, size_t* pos, std::string* out) {
  out->clear();
  for (size_t i = *pos + 1; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 1 < s.size() && (s[i + 1] == '\\' || s[i + 1] == '"')) {
      out->push_back(s[++i]);
    } else if (s[i] == '"') {
      *pos = i + 1;
      return true;
    } else {
      out->push_back(s[i]);
    }
  }
  return false;
}

bool ParseDword(std::string_view digits, uint32_t* value) {
  if (digits.empty() || digits.size() > 8) return false;
  *value = 0;
  for (char c : digits) {
    int d = (c >= '0' && c <= '9')   ? c - '0'
            : (c >= 'a' && c <= 'f') ? c - 'a' + 10
            : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                     : -1;
    if (d < 0) return false;
    *value = *value * 16 + static_cast<uint32_t>(d);
  }
  return true;
}

// A type prefix such as "hex:", "hex(7):" or "qword:".
bool HasTypePrefix(std::string_view data) {
  size_t colon = data.find(':');
  if (colon == 0 || colon == std::string_view::npos) return false;
  for (char c : data.substr(0, colon)) {
    bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
              c == '(' || c == ')';
    if (!ok) return false;
  }
  return true;
}

class Parser {
 public:
  explicit Parser(std::string_view text) {
    for (size_t start = 0; start < text.size();) {
      size_t end = text.find('\n', start);
      if (end == std::string_view::npos) end = text.size();
      lines_.push_back(text.substr(start, end - start));
      start = end + 1;
    }
  }

  ParsedRegistry Run() {
    current_ = result_.root.get();
    bool header_seen = false;
    for (index_ = 0; index_ < lines_.size(); ++index_) {
      std::string_view line = Trim(lines_[index_]);
      if (line.empty()) continue;
      if (!header_seen && (line == kHeader || line == kOldHeader)) {
        header_seen = true;
      } else if (line[0] == ';') {
        Keep(line, false);
      } else if (line[0] == '[') {
        Section(line);
      } else if ((line[0] == '"' || line[0] == '@') && current_ != result_.root.get()) {
        if (!Value(line)) Keep(line, true);
      } else {
        Keep(line, true);
      }
    }
    return std::move(result_);
  }

 private:
  void Keep(std::string_view line, bool malformed) {
    current_->items.push_back({RegItem::kVerbatim, "", std::string(line), 0});
    if (malformed) {
      result_.malformed_lines.push_back(index_ + 1);
      result_.malformed_texts.emplace_back(line);
    }
  }

  void Section(std::string_view line) {
    if (line.size() < 3 || line.back() != ']') return Unreadable(line);
    if (line[1] == '-') return;  // a deletion, meaningful only to an import
    RegPath path = SplitRegPath(line.substr(1, line.size() - 2));
    std::string_view root = path.empty() ? std::string_view() : RegRootName(path[0]);
    if (root.empty()) return Unreadable(line);
    path[0] = std::string(root);
    if (root == "HKEY_CLASSES_ROOT") {
      path[0] = "Classes";
      path.insert(path.begin(), {"HKEY_LOCAL_MACHINE", "SOFTWARE"});
    }
    current_ = MakeRegKey(result_.root.get(), path);
  }

  // An unreadable section header: its lines go to the root as unreadable too.
  void Unreadable(std::string_view line) {
    current_ = result_.root.get();
    Keep(line, true);
  }

  bool Value(std::string_view line) {
    RegItem item;
    size_t pos = 0;
    if (line[0] == '@') {
      pos = 1;
    } else if (!ReadQuoted(line, &pos, &item.name)) {
      return false;
    }
    while (pos < line.size() && IsBlank(line[pos])) ++pos;
    if (pos >= line.size() || line[pos] != '=') return false;
    std::string_view data = Trim(line.substr(pos + 1));
    if (data == "-") return true;  // a deletion, meaningful only to an import
    if (StartsWith(data, "\"")) {
      size_t end = 0;
      item.kind = RegItem::kString;
      if (!ReadQuoted(data, &end, &item.data) || !Trim(data.substr(end)).empty()) return false;
    } else if (StartsWith(data, "dword:")) {
      item.kind = RegItem::kDword;
      if (!ParseDword(data.substr(6), &item.dword)) return false;
    } else if (HasTypePrefix(data)) {
      item.kind = RegItem::kOther;
      item.data = std::string(data);
      while (item.data.back() == '\\' && index_ + 1 < lines_.size()) {
        item.data += '\n';
        item.data += TrimEnd(lines_[++index_]);
      }
      // A continuation on the file's last line continues with nothing: kept, it
      // would swallow whatever line a rewrite puts after it.
      while (!item.data.empty() && item.data.back() == '\\') {
        item.data.pop_back();
        item.data.resize(TrimEnd(item.data).size());
      }
    } else {
      return false;
    }
    current_->SetValue(std::move(item));
    return true;
  }

  std::vector<std::string_view> lines_;
  size_t index_ = 0;
  ParsedRegistry result_;
  RegNode* current_ = nullptr;
};

}  // namespace

std::string DecodeRegistryBytes(std::string_view bytes) {
  auto utf16 = [&](bool little_endian) {
    std::u16string units;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
      auto lo = static_cast<unsigned char>(bytes[i + (little_endian ? 0 : 1)]);
      auto hi = static_cast<unsigned char>(bytes[i + (little_endian ? 1 : 0)]);
      units.push_back(static_cast<char16_t>(lo | (hi << 8)));
    }
    return Utf16ToUtf8(units);
  };
  if (StartsWith(bytes, "\xFF\xFE")) return utf16(true);
  if (StartsWith(bytes, "\xFE\xFF")) return utf16(false);
  if (StartsWith(bytes, "\xEF\xBB\xBF")) bytes.remove_prefix(3);
  if (StartsWith(bytes, kOldHeader) || !IsValidUtf8(bytes)) return Cp1252ToUtf8(bytes);
  return std::string(bytes);
}

ParsedRegistry ParseRegistryText(std::string_view text) { return Parser(text).Run(); }

}  // namespace qx
