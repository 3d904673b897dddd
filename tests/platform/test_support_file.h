#pragma once

#include <string>

#include "platform/file.h"

namespace qx::test {

// The flags of the record files' mode letters, and of a mark.
inline constexpr unsigned kModeC = CFile::modeCreate | CFile::modeReadWrite | CFile::shareDenyWrite;
inline constexpr unsigned kModeG =
    CFile::modeReadWrite | CFile::shareDenyWrite | CFile::modeNoTruncate;
inline constexpr unsigned kModeL = CFile::modeRead | CFile::shareDenyNone | CFile::modeNoTruncate;
inline constexpr unsigned kMark = CFile::modeCreate | CFile::modeReadWrite | CFile::shareExclusive;

// The cause of the CFileException that action throws; none when it throws nothing.
template <typename Action>
int CauseOf(Action action) {
  try {
    action();
  } catch (CFileException* e) {
    int cause = e->m_cause;
    e->Delete();
    return cause;
  }
  return CFileException::none;
}

// The cause with which a fresh open of path fails; none when it succeeds (it is closed again).
inline int OpenCause(const std::string& path, unsigned flags) {
  CFile file;
  CFileException error;
  return file.Open(path.c_str(), flags, &error) ? CFileException::none : error.m_cause;
}

}  // namespace qx::test
