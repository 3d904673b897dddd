#pragma once

#include <string>

#include "platform/exception.h"

// A failed file operation: the cause, the operating system's error (errno; -1 when the failure
// did not come from the system) and the path of the file.
class CFileException : public CException {
 public:
  enum {
    none,
    genericException,
    fileNotFound,
    badPath,
    tooManyOpenFiles,
    accessDenied,
    invalidFile,
    removeCurrentDir,
    directoryFull,
    badSeek,
    hardIO,
    sharingViolation,
    lockViolation,
    diskFull,
    endOfFile,
  };

  explicit CFileException(int cause = none, long lOsError = -1, const char* fileName = nullptr);

  // The cause of an errno value (the one errno table of the file layer).
  static int OsErrorToException(long lOsError);
  // A representative errno for a cause (the first row of the table that gives it), -1 when no
  // errno gives it. Used where a failure is produced without the system (injected faults).
  static long ExceptionToOsError(int cause);

  // Throws new CFileException(cause, lOsError, fileName).
  [[noreturn]] static void Throw(int cause, long lOsError, const char* fileName);
  // Throws the exception of an errno value.
  [[noreturn]] static void ThrowOsError(long lOsError, const char* fileName = nullptr);

  int m_cause;
  long m_lOsError;
  std::string m_strFileName;
};
