// CFileException and the one table from errno values to file failure causes.
#include "platform/file_exception.h"

#include <cerrno>

namespace {

struct ErrnoCause {
  long osError;
  int cause;
};

// The first row of each cause gives its representative errno. The causes follow what the
// original platform reports for the same situation: a directory opened as a file, or a name
// that already exists, is access denied; a file in use (EBUSY, ETXTBSY) is a sharing
// violation; lock conflicts are lock violations.
constexpr ErrnoCause kErrnoCauses[] = {
    {0, CFileException::none},
    {ENOENT, CFileException::fileNotFound},
    {EINVAL, CFileException::badPath},  // an invalid name or argument of a path call
    {ENOTDIR, CFileException::badPath},
    {ENAMETOOLONG, CFileException::badPath},
    {ELOOP, CFileException::badPath},
    {EXDEV, CFileException::badPath},
    {ENODEV, CFileException::badPath},
    {ENXIO, CFileException::badPath},
    {EMFILE, CFileException::tooManyOpenFiles},
    {ENFILE, CFileException::tooManyOpenFiles},
    {EACCES, CFileException::accessDenied},
    {EPERM, CFileException::accessDenied},
    {EROFS, CFileException::accessDenied},
    {EISDIR, CFileException::accessDenied},
    {EEXIST, CFileException::accessDenied},
    {EBADF, CFileException::invalidFile},
    {ENOTEMPTY, CFileException::removeCurrentDir},
    {EMLINK, CFileException::directoryFull},
    {ESPIPE, CFileException::badSeek},
    {EOVERFLOW, CFileException::badSeek},
    {EIO, CFileException::hardIO},
    {ESTALE, CFileException::hardIO},
    {EBUSY, CFileException::sharingViolation},
    {ETXTBSY, CFileException::sharingViolation},
    {EAGAIN, CFileException::lockViolation},  // also EWOULDBLOCK, the same value here
    {EDEADLK, CFileException::lockViolation},
    {ENOLCK, CFileException::lockViolation},
    {ENOSPC, CFileException::diskFull},
    {EDQUOT, CFileException::diskFull},
    {EFBIG, CFileException::diskFull},
};

}  // namespace

CFileException::CFileException(int cause, long lOsError, const char* fileName)
    : m_cause(cause), m_lOsError(lOsError), m_strFileName(fileName ? fileName : "") {}

int CFileException::OsErrorToException(long lOsError) {
  for (const ErrnoCause& row : kErrnoCauses) {
    if (row.osError == lOsError) return row.cause;
  }
  return genericException;
}

long CFileException::ExceptionToOsError(int cause) {
  for (const ErrnoCause& row : kErrnoCauses) {
    if (row.cause == cause) return row.osError;
  }
  return -1;
}

void CFileException::Throw(int cause, long lOsError, const char* fileName) {
  throw new CFileException(cause, lOsError, fileName);
}

void CFileException::ThrowOsError(long lOsError, const char* fileName) {
  Throw(OsErrorToException(lOsError), lOsError, fileName);
}
