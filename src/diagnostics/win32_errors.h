// Windows system error codes of this platform's failures, for the codes that
// are reported the Windows way (HRESULT_FROM_WIN32).
#pragma once

#include "platform/file_exception.h"

namespace qx {

// The Windows system error for an errno value (ENOENT -> ERROR_FILE_NOT_FOUND 2,
// EACCES -> ERROR_ACCESS_DENIED 5, ...); 0 when there is no close equivalent.
long Win32ErrorFromErrno(long platformErrno);

// The Windows system error that the framework associates with a file failure
// cause; genericException and none give ERROR_GEN_FAILURE (31), so that a
// failure never reads as success.
long Win32ErrorFromFileCause(int cause);

// The Windows error of a file exception: that of its OS error when it has one
// with a Windows equivalent, otherwise that of its cause. Sharing and lock
// violations always take their cause's error.
long Win32ErrorOf(const CFileException& e);

}  // namespace qx
