// The checks of the side files without month: the control file, the import
// layouts and the explanatory notes.
#pragma once

#include "storage/check/finding.h"
#include "storage/check/folder_files.h"

namespace qx::check {

void CheckControlFile(const LoadedFile& file, Findings* findings);
void CheckImportLayouts(const LoadedFile& file, Findings* findings);
// Either file may be missing.
void CheckNotes(const std::optional<LoadedFile>& index, const std::optional<LoadedFile>& texts,
                Findings* findings);

}  // namespace qx::check
