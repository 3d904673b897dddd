// What a full disk asks of the code that writes: how much room is left, and
// making an empty file beside files that other code of the process holds open
// with POSIX record locks (SQLite's), which any close of a descriptor of the
// same file would drop.
#pragma once

#include <cstdint>
#include <string>

namespace qx {

// Bytes an unprivileged writer may still use on the disk that holds `path`;
// UINT64_MAX when that cannot be learnt.
uint64_t FreeBytes(const std::string& path);

// Makes an empty file at `path`, with the permission bits of the file `like`
// (when `like` is empty or missing, those of a new file of its folder), when
// nothing is there. The file is made under a name of its own and linked
// into place, so that no descriptor of this process is ever opened and closed
// on `path` itself. True when a file is at `path` afterwards.
bool CreateEmptyFileLike(const std::string& path, const std::string& like);

}  // namespace qx
