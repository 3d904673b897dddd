// The checks of the side files without month: the control file, the import
// layouts and the explanatory notes; and who besides the owner reaches the
// folder's files.
#pragma once

#include "storage/check/finding.h"
#include "storage/check/folder_files.h"

namespace qx::check {

void CheckControlFile(const LoadedFile& file, Findings* findings);
void CheckImportLayouts(const LoadedFile& file, Findings* findings);
// Either file may be missing.
void CheckNotes(const std::optional<LoadedFile>& index, const std::optional<LoadedFile>& texts,
                Findings* findings);
// The folder ("." in the findings) when users other than its owner, and its
// group in an office folder, may enter or list it; then each file that those
// who may enter can read or write.
void CheckAccess(const std::string& folder, Findings* findings);

}  // namespace qx::check
