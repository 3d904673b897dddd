// CFile operations on an open descriptor. The position lives in the object, so Read and Write
// are one pread or pwrite each.
#include "platform/file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>

#include "platform/file_faults.h"
#include "platform/path.h"

using qx::FileOp;

CFile::~CFile() { CFile::Abort(); }

uint64_t CFile::GetPosition() const { return m_position; }

std::string CFile::GetFileName() const {
  size_t separator = qx::LastSeparator(m_strFilePath);
  return separator == std::string::npos ? m_strFilePath : m_strFilePath.substr(separator + 1);
}

std::string CFile::GetFilePath() const { return m_strFilePath; }

void CFile::SetFilePath(const char* path) {
  if (path == nullptr) throw new CInvalidArgException;
  m_strFilePath = path;
}

uint64_t CFile::Seek(int64_t offset, SeekPosition from) {
  qx::FileFaults::ThrowIfInjected(FileOp::Seek, m_strFilePath);
  if (!IsOpen()) ThrowOsError(EBADF);
  int64_t origin = 0;
  switch (from) {
    case begin:
      break;
    case current:
      origin = static_cast<int64_t>(m_position);
      break;
    case end:
      origin = static_cast<int64_t>(Length());
      break;
    default:
      Throw(CFileException::badSeek, EINVAL);
  }
  int64_t position;
  if (__builtin_add_overflow(origin, offset, &position) || position < 0) {
    Throw(CFileException::badSeek, EINVAL);
  }
  m_position = static_cast<uint64_t>(position);
  return m_position;
}

void CFile::SetLength(uint64_t length) {
  qx::FileFaults::ThrowIfInjected(FileOp::SetLength, m_strFilePath);
  if (IsOpen() && !m_bWritable) Throw(CFileException::accessDenied, EACCES);
  if (length > INT64_MAX) Throw(CFileException::badSeek, EINVAL);
  m_knownLength = -1;
  int result;
  do {
    result = ftruncate(m_hFile, static_cast<off_t>(length));
  } while (result != 0 && errno == EINTR);
  if (result != 0) ThrowOsError(errno);
  if (m_bKeepsLength) m_knownLength = static_cast<int64_t>(length);
  m_position = length;  // as the framework does, the position moves to the new end
}

uint64_t CFile::GetLength() const {
  qx::FileFaults::ThrowIfInjected(FileOp::GetLength, m_strFilePath);
  return Length();
}

uint64_t CFile::Length() const {
  if (m_knownLength >= 0) return static_cast<uint64_t>(m_knownLength);
  struct stat status;
  if (fstat(m_hFile, &status) != 0) ThrowOsError(errno);
  if (m_bKeepsLength) m_knownLength = status.st_size;
  return static_cast<uint64_t>(status.st_size);
}

uint32_t CFile::Read(void* buffer, uint32_t count) {
  qx::FileFaults::ThrowIfInjected(FileOp::Read, m_strFilePath);
  if (!m_bReadable && IsOpen()) Throw(CFileException::accessDenied, EACCES);
  ssize_t done;
  do {
    done = pread(m_hFile, buffer, count, static_cast<off_t>(m_position));
  } while (done < 0 && errno == EINTR);
  if (done < 0) ThrowOsError(errno);
  m_position += static_cast<uint64_t>(done);
  return static_cast<uint32_t>(done);
}

void CFile::Write(const void* buffer, uint32_t count) {
  // An injected failure may come after part of the bytes, as on a disk that fills up.
  uint32_t before = 0;
  const int injected = qx::FileFaults::Check(FileOp::Write, m_strFilePath, &before);
  if (injected != 0 && before == 0) Throw(injected, CFileException::ExceptionToOsError(injected));
  if (!m_bWritable && IsOpen()) Throw(CFileException::accessDenied, EACCES);
  if (injected != 0) count = std::min(count, before);
  // Unknown until the write has succeeded whole.
  const int64_t known = m_knownLength;
  m_knownLength = -1;
  const char* bytes = static_cast<const char*>(buffer);
  while (count > 0) {
    ssize_t done = pwrite(m_hFile, bytes, count, static_cast<off_t>(m_position));
    if (done < 0) {
      if (errno == EINTR) continue;
      ThrowOsError(errno);
    }
    m_position += static_cast<uint64_t>(done);
    bytes += done;
    count -= static_cast<uint32_t>(done);
  }
  if (injected != 0) Throw(injected, CFileException::ExceptionToOsError(injected));
  if (known >= 0) m_knownLength = std::max(known, static_cast<int64_t>(m_position));
}

void CFile::Abort() {
  if (IsOpen()) close(m_hFile);
  Forget();
}

void CFile::Flush() {
  qx::FileFaults::ThrowIfInjected(FileOp::Flush, m_strFilePath);
  if (IsOpen() && fsync(m_hFile) != 0) ThrowOsError(errno);
}

void CFile::Close() {
  // The descriptor is gone after close whatever it returns (an injected failure too); EINTR is
  // no failure.
  if (!IsOpen()) return Forget();
  std::string path = m_strFilePath;
  int error = close(m_hFile) != 0 && errno != EINTR ? errno : 0;
  Forget();
  qx::FileFaults::ThrowIfInjected(FileOp::Close, path);
  if (error != 0) CFileException::ThrowOsError(error, path.c_str());
}

void CFile::Forget() {
  m_hFile = hFileNull;
  m_bReadable = false;
  m_bWritable = false;
  m_bKeepsLength = false;
  m_knownLength = -1;
  m_position = 0;
  m_strFilePath.clear();
}

void CFile::ThrowOsError(int osError) const {
  CFileException::ThrowOsError(osError, m_strFilePath.c_str());
}

void CFile::Throw(int cause, long osError) const {
  CFileException::Throw(cause, osError, m_strFilePath.c_str());
}
