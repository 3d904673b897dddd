// Cross-references from a file beside the dumped one: which records of the
// entry file name each complement offset or split line, which note index
// records name each note text.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "file_kind.h"

namespace qx::dump {

// Offset (or position) named -> positions of the records naming it, ascending.
using References = std::map<uint64_t, std::vector<int64_t>>;

// Reads every whole record of the file at path; field gives what a record
// names, 0 for nothing. nullopt when the file cannot be opened or read.
std::optional<References> LoadReferences(
    const std::string& path, uint32_t recordSize,
    const std::function<uint64_t(const std::vector<unsigned char>&)>& field);

// The entry file (CNLC) of the month of a month file, when its name gives one.
std::optional<std::string> EntryFileBeside(const FileName& name);

}  // namespace qx::dump
