#pragma once

#include <string>
#include <string_view>

// File names matched without regard to case, as on the original platform.
namespace qx {

// Whether two names are one name ignoring the case of ASCII letters and of the accented letters
// of Windows-1252. Each name is read as UTF-8 when it is valid UTF-8 and as Windows-1252
// otherwise, so a name given by the system matches the same name copied from a Windows share.
bool SameNameIgnoringCase(std::string_view a, std::string_view b);

// The spelling under which path exists: path itself when it exists; otherwise every component
// that does not exist is replaced by the entry of its folder that matches it ignoring case (the
// smallest such entry, when several do). A component without a match keeps its spelling, so
// the result names the place where a create would put the file.
std::string ResolveNameCase(const std::string& path);

// The errno for a path that was not found: ENOENT when its folder exists, ENOTDIR when the
// folder is missing too (the original platform's path-not-found, which is a bad path).
int MissingPathError(const std::string& path);

}  // namespace qx
