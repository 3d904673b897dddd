// The profiler's files: their names, their headers and the locked append of
// one line.
#pragma once

#include <string>

#include "platform/clock.h"

namespace qx {

// Header of "QXProfiler.log" and of the monthly error files, built once.
const std::string& ProfilerFileHeader();
const std::string& ErrorFileHeader();

// folder + "QXProfiler.log".
std::string ProfilerFilePath(const std::string& folder);
// folder + "QXProfilerErros_Base_" (a company's file) or "QXProfilerErros_Pgms_",
// + year (1848..4717) and month (0..99) as "%04d%02d" + ".log".
std::string ErrorFilePath(const std::string& folder, bool companyFile, const SYSTEMTIME& when);

// Appends line to path with other writers excluded, starting the file with
// header when it is empty. A failed open is tried again at once, up to 19
// attempts, unless the path cannot be reached at all. False when the line was
// not written.
bool AppendProfilerLine(const std::string& path, const std::string& header,
                        const std::string& line);

}  // namespace qx
