// Path helpers that accept the original platform's backslash beside the platform separator.
#include "platform/path.h"

#include <algorithm>

namespace qx {

size_t LastSeparator(std::string_view path) { return path.find_last_of("/\\"); }

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string path(folder);
  if (!path.empty() && path.back() != '/' && path.back() != '\\') path += kPathSeparator;
  path += name;
  return path;
}

std::string ToPlatformPath(std::string_view path) {
  std::string converted(path);
  std::replace(converted.begin(), converted.end(), '\\', kPathSeparator);
  return converted;
}

}  // namespace qx
