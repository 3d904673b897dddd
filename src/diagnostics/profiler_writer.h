// Writing one profiler record to its file.
#pragma once

#include <string>

#include "diagnostics/profiler_record.h"

namespace qx {

// A new pairing id (a GUID as text without braces); empty when none can be made.
std::string NewPairingId();

// Appends the record as one line of the given type: types 0 to 2 to
// "QXProfiler.log" in the installation folder, type 3 to the month's error
// file of the identity's company (or of the programs, without a company).
// The time of the line is record.dataHora. False when the line was dropped:
// no folder to write into, or the file could not be written.
bool WriteProfilerRecord(const ProfilerRecord& record, ProfilerRecordType type);

}  // namespace qx
