// Case-insensitive name matching and the resolution of a path's on-disk spelling.
#include "platform/path_case.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>

#include "platform/codepage.h"

namespace qx {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsAscii(std::string_view name) {
  for (char c : name) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

// The upper-cased characters of a name, read as UTF-8 when valid, else as Windows-1252.
std::u32string FoldedCharacters(std::string_view name) {
  std::u32string chars;
  for (size_t pos = 0; pos < name.size();) {
    char32_t cp = NextUtf8CodePoint(name, &pos);
    if (cp == kReplacement) {
      chars.clear();
      for (char c : name) chars += UpperCaseCp1252Letter(Cp1252ToUnicode(c));
      return chars;
    }
    chars += UpperCaseCp1252Letter(cp);
  }
  return chars;
}

bool Exists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

// The entry of folder that matches name ignoring case; name itself when none does.
std::string FindEntry(const std::string& folder, const std::string& name) {
  DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
  if (dir == nullptr) return name;
  std::string best;
  while (const dirent* entry = readdir(dir)) {
    if (SameNameIgnoringCase(entry->d_name, name) && (best.empty() || best > entry->d_name)) {
      best = entry->d_name;
    }
  }
  closedir(dir);
  return best.empty() ? name : best;
}

// The spelling of a path known not to exist as spelled.
std::string ResolveMissing(const std::string& path) {
  size_t slash = path.find_last_of('/');
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (name.empty() || name == "." || name == "..") return path;
  std::string folder;
  if (slash != std::string::npos) {
    folder = slash == 0 ? "/" : path.substr(0, slash);
    if (!Exists(folder)) folder = ResolveMissing(folder);
  }
  std::string entry = FindEntry(folder, name);
  if (folder.empty()) return entry;
  return folder.back() == '/' ? folder + entry : folder + '/' + entry;
}

}  // namespace

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
  if (IsAscii(a) && IsAscii(b)) {
    return Cp1252EqualNoCase(a, b);
  }
  return FoldedCharacters(a) == FoldedCharacters(b);
}

std::string ResolveNameCase(const std::string& path) {
  return Exists(path) ? path : ResolveMissing(path);
}

int MissingPathError(const std::string& path) {
  size_t slash = path.find_last_of('/');
  if (slash == std::string::npos || slash == 0) return ENOENT;
  struct stat st;
  bool folder = stat(path.substr(0, slash).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
  return folder ? ENOENT : ENOTDIR;
}

}  // namespace qx
