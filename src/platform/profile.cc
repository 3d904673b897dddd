#include "platform/profile.h"

#include <fcntl.h>
#include <unistd.h>

#include <climits>
#include <optional>

#include "platform/codepage.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// The file as Windows-1252 text; nothing when it cannot be read.
std::optional<std::string> ReadText(const std::string& file) {
  int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::string bytes;
  char buffer[16384];
  ssize_t n;
  while ((n = read(fd, buffer, sizeof buffer)) > 0) bytes.append(buffer, static_cast<size_t>(n));
  close(fd);
  if (n < 0) return std::nullopt;
  if (bytes.starts_with("\xFF\xFE")) {
    std::u16string units;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
      units.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                            static_cast<unsigned char>(bytes[i + 1]) << 8));
    }
    return qx::Utf16ToCp1252(units);
  }
  if (bytes.starts_with("\xEF\xBB\xBF")) return qx::Utf8ToCp1252(std::string_view(bytes).substr(3));
  return bytes;
}

std::optional<std::string> FindValue(std::string_view section, std::string_view key,
                                     const std::string& file) {
  std::optional<std::string> text = ReadText(file);
  if (!text) return std::nullopt;
  section = Trim(section);
  key = Trim(key);
  bool in_section = false, section_seen = false;
  std::string_view rest = *text;
  while (!rest.empty()) {
    size_t end = rest.find('\n');
    std::string_view line = Trim(rest.substr(0, end));
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      if (in_section) return std::nullopt;  // only the first matching section counts
      std::string_view name = Trim(line.substr(1, line.find(']') - 1));
      in_section = !section_seen && qx::Cp1252EqualNoCase(name, section);
      section_seen |= in_section;
      continue;
    }
    size_t equals = line.find('=');
    if (!in_section || equals == std::string_view::npos) continue;
    if (!qx::Cp1252EqualNoCase(Trim(line.substr(0, equals)), key)) continue;
    std::string_view value = Trim(line.substr(equals + 1));
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0]) {
      value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
  }
  return std::nullopt;
}

}  // namespace

std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view default_value, const std::string& file) {
  if (std::optional<std::string> value = FindValue(section, key, file)) return *value;
  while (!default_value.empty() && IsBlank(default_value.back())) default_value.remove_suffix(1);
  return std::string(default_value);
}

int GetPrivateProfileInt(std::string_view section, std::string_view key, int default_value,
                         const std::string& file) {
  std::optional<std::string> value = FindValue(section, key, file);
  if (!value) return default_value;
  size_t i = 0;
  while (i < value->size() && IsBlank((*value)[i])) ++i;
  bool negative = false;
  if (i < value->size() && ((*value)[i] == '-' || (*value)[i] == '+'))
    negative = (*value)[i++] == '-';
  size_t first_digit = i;
  long long number = 0;
  for (; i < value->size() && (*value)[i] >= '0' && (*value)[i] <= '9'; ++i) {
    if (number <= INT_MAX) number = number * 10 + ((*value)[i] - '0');
  }
  if (i == first_digit) return default_value;
  if (negative) number = -number;
  return static_cast<int>(number > INT_MAX ? INT_MAX : number < INT_MIN ? INT_MIN : number);
}
