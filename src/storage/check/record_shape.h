// The shape every record file shares: a whole number of records, record 0
// all zero.
#pragma once

#include <cstdint>

#include "storage/check/finding.h"
#include "storage/check/folder_files.h"

namespace qx::check {

// Notes an empty file, a file shorter than its zero record, a partial last
// record (a partial tail) and a zero record that is not zero. Returns the whole data records.
uint64_t CheckRecordShape(const LoadedFile& file, uint32_t recordSize, Findings* findings);

// Whether size bytes at offset are all zero.
bool AllZero(const LoadedFile& file, uint64_t offset, uint64_t size);

}  // namespace qx::check
