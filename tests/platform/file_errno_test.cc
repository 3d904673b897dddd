// The errno table of the file layer and the exceptions it throws.
#include <gtest/gtest.h>

#include <cerrno>

#include "platform/file_exception.h"

namespace {

TEST(FileErrnoTable, MapsErrnoToCause) {
  const struct {
    long osError;
    int cause;
  } cases[] = {
      {0, CFileException::none},
      {ENOENT, CFileException::fileNotFound},
      {ENOTDIR, CFileException::badPath},
      {ENAMETOOLONG, CFileException::badPath},
      {EINVAL, CFileException::badPath},
      {ELOOP, CFileException::badPath},
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
      {EIO, CFileException::hardIO},
      {EBUSY, CFileException::sharingViolation},
      {ETXTBSY, CFileException::sharingViolation},
      {EAGAIN, CFileException::lockViolation},
      {EWOULDBLOCK, CFileException::lockViolation},
      {ENOLCK, CFileException::lockViolation},
      {ENOSPC, CFileException::diskFull},
      {EDQUOT, CFileException::diskFull},
      {EFBIG, CFileException::diskFull},
      {ENOMEM, CFileException::genericException},
      {EINTR, CFileException::genericException},
      {-1, CFileException::genericException},
      {123456, CFileException::genericException},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CFileException::OsErrorToException(c.osError), c.cause) << "errno " << c.osError;
  }
}

TEST(FileErrnoTable, CausesHaveRepresentativeErrno) {
  EXPECT_EQ(CFileException::ExceptionToOsError(CFileException::fileNotFound), ENOENT);
  EXPECT_EQ(CFileException::ExceptionToOsError(CFileException::accessDenied), EACCES);
  EXPECT_EQ(CFileException::ExceptionToOsError(CFileException::sharingViolation), EBUSY);
  EXPECT_EQ(CFileException::ExceptionToOsError(CFileException::diskFull), ENOSPC);
  EXPECT_EQ(CFileException::ExceptionToOsError(CFileException::genericException), -1);
  EXPECT_EQ(CFileException::ExceptionToOsError(CFileException::endOfFile), -1);
  for (int cause = CFileException::none; cause <= CFileException::endOfFile; ++cause) {
    long osError = CFileException::ExceptionToOsError(cause);
    if (osError != -1) {
      EXPECT_EQ(CFileException::OsErrorToException(osError), cause);
    }
  }
}

TEST(FileErrnoTable, ThrowsByPointerWithCauseErrnoAndName) {
  try {
    CFileException::ThrowOsError(ENOSPC, "dir/CNLC0124.DAT");
  } catch (CException* e) {
    auto* file = dynamic_cast<CFileException*>(e);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->m_cause, CFileException::diskFull);
    EXPECT_EQ(file->m_lOsError, ENOSPC);
    EXPECT_EQ(file->m_strFileName, "dir/CNLC0124.DAT");
    e->Delete();
  }
  CFileException empty;
  EXPECT_EQ(empty.m_cause, CFileException::none);
  EXPECT_EQ(empty.m_lOsError, -1);
  EXPECT_EQ(empty.m_strFileName, "");
}

}  // namespace
