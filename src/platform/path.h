#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qx {

inline constexpr char kPathSeparator = '/';

// Position of the last '/' or '\\' in path; std::string_view::npos when it has none.
size_t LastSeparator(std::string_view path);

// folder and name joined by one separator. None is added when folder is empty or already ends
// with a separator ('/' or '\\').
std::string JoinPath(std::string_view folder, std::string_view name);

// path with every backslash turned into the platform separator.
std::string ToPlatformPath(std::string_view path);

}  // namespace qx
