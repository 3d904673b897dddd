#include "diagnostics/win32_errors.h"

#include <cerrno>

namespace qx {
namespace {

struct Pair {
  long from;
  long to;
};

// Windows system error numbers used below.
constexpr long kFileNotFound = 2;
constexpr long kPathNotFound = 3;
constexpr long kTooManyOpenFiles = 4;
constexpr long kAccessDenied = 5;
constexpr long kInvalidHandle = 6;
constexpr long kNotEnoughMemory = 8;
constexpr long kCurrentDirectory = 16;
constexpr long kNotSameDevice = 17;
constexpr long kWriteProtect = 19;
constexpr long kGenFailure = 31;
constexpr long kSharingViolation = 32;
constexpr long kLockViolation = 33;
constexpr long kHandleEof = 38;
constexpr long kFileExists = 80;
constexpr long kCannotMake = 82;
constexpr long kInvalidParameter = 87;
constexpr long kDiskFull = 112;
constexpr long kNegativeSeek = 131;
constexpr long kDirNotEmpty = 145;
constexpr long kBusy = 170;
constexpr long kFilenameExcedRange = 206;
constexpr long kFileTooLarge = 223;
constexpr long kIoDevice = 1117;

constexpr Pair kErrnoTable[] = {
    {EPERM, kAccessDenied},      {ENOENT, kFileNotFound},     {EIO, kIoDevice},
    {ENXIO, kFileNotFound},      {EBADF, kInvalidHandle},     {EAGAIN, kLockViolation},
    {ENOMEM, kNotEnoughMemory},  {EACCES, kAccessDenied},     {EBUSY, kBusy},
    {EEXIST, kFileExists},       {EXDEV, kNotSameDevice},     {ENODEV, kFileNotFound},
    {ENOTDIR, kPathNotFound},    {EISDIR, kAccessDenied},     {EINVAL, kInvalidParameter},
    {ENFILE, kTooManyOpenFiles}, {EMFILE, kTooManyOpenFiles}, {ETXTBSY, kSharingViolation},
    {EFBIG, kFileTooLarge},      {ENOSPC, kDiskFull},         {ESPIPE, kNegativeSeek},
    {EROFS, kWriteProtect},      {EDEADLK, kLockViolation},   {ENAMETOOLONG, kFilenameExcedRange},
    {ENOLCK, kLockViolation},    {ENOTEMPTY, kDirNotEmpty},   {ELOOP, kPathNotFound},
    {EDQUOT, kDiskFull},
};

constexpr Pair kCauseTable[] = {
    {CFileException::fileNotFound, kFileNotFound},
    {CFileException::badPath, kPathNotFound},
    {CFileException::tooManyOpenFiles, kTooManyOpenFiles},
    {CFileException::accessDenied, kAccessDenied},
    {CFileException::invalidFile, kInvalidHandle},
    {CFileException::removeCurrentDir, kCurrentDirectory},
    {CFileException::directoryFull, kCannotMake},
    {CFileException::badSeek, kNegativeSeek},
    {CFileException::hardIO, kIoDevice},
    {CFileException::sharingViolation, kSharingViolation},
    {CFileException::lockViolation, kLockViolation},
    {CFileException::diskFull, kDiskFull},
    {CFileException::endOfFile, kHandleEof},
};

template <size_t N>
long Find(const Pair (&table)[N], long from, long otherwise) {
  for (const Pair& pair : table) {
    if (pair.from == from) return pair.to;
  }
  return otherwise;
}

}  // namespace

long Win32ErrorFromErrno(long platformErrno) { return Find(kErrnoTable, platformErrno, 0); }

long Win32ErrorFromFileCause(int cause) { return Find(kCauseTable, cause, kGenFailure); }

long Win32ErrorOf(const CFileException& e) {
  // Share modes and locks are emulated with record locks, so the errno of
  // those failures says nothing the cause does not say better.
  if (e.m_cause == CFileException::sharingViolation || e.m_cause == CFileException::lockViolation) {
    return Win32ErrorFromFileCause(e.m_cause);
  }
  const long fromOs = e.m_lOsError > 0 ? Win32ErrorFromErrno(e.m_lOsError) : 0;
  return fromOs != 0 ? fromOs : Win32ErrorFromFileCause(e.m_cause);
}

}  // namespace qx
