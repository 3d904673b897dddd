#include <gtest/gtest.h>

#include <cerrno>
#include <new>
#include <stdexcept>

#include "diagnostics/exceptions.h"
#include "diagnostics/translate.h"
#include "diagnostics/win32_errors.h"
#include "platform/file_exception.h"

namespace qx {
namespace {

constexpr HRESULT H(uint32_t code) { return static_cast<HRESULT>(code); }

template <typename Thrower>
HRESULT Translated(Thrower thrower) {
  try {
    thrower();
  } catch (...) {
    return QXTranslateThrownExceptionToHresult();
  }
  ADD_FAILURE() << "nothing was thrown";
  return S_OK;
}

HRESULT FileFailure(int cause, long osError = -1) {
  return Translated([=] { throw new CFileException(cause, osError); });
}

TEST(ErrorsTranslateTest, EachKindOfThrownObjectGivesItsCode) {
  EXPECT_EQ(Translated([] { throw _com_error(E_NOINTERFACE); }), E_NOINTERFACE);
  EXPECT_EQ(Translated([] { throw CQXExceptionEx(E_FAIL); }), E_FAIL);
  EXPECT_EQ(Translated([] { throw new CQXException("texto", 1, 5); }), H(0x80040005u));
  EXPECT_EQ(Translated([] { throw new CQXException("texto", 1, 0); }), H(0x8004EA61u));
  EXPECT_EQ(Translated([] { throw new CMemoryException(); }), H(0x8004EA62u));
  EXPECT_EQ(Translated([] { throw new CInvalidArgException(); }), H(0x8004EA67u));
  EXPECT_EQ(Translated([] { throw new CException(); }), H(0x8004EA63u));
  EXPECT_EQ(Translated([] { throw H(0x8004EAF0u); }), H(0x8004EAF0u));
  EXPECT_EQ(Translated([] { throw HRESULT{0}; }), S_OK);
  EXPECT_EQ(Translated([] { throw std::bad_alloc(); }), H(0x8004EA64u));
  EXPECT_EQ(Translated([] { throw std::runtime_error("x"); }), H(0x8004EA65u));
  EXPECT_EQ(Translated([] { throw 1.5; }), H(0x8004EA66u));
  // A thrown null pointer used to crash the translation.
  EXPECT_EQ(Translated([] { throw static_cast<CQXException*>(nullptr); }), H(0x8004EA61u));
  EXPECT_EQ(QXTranslateThrownExceptionToHresult(), H(0x8004EA66u));  // nothing in flight
}

TEST(ErrorsTranslateTest, FileExceptionGivesItsWindowsErrorAsHresult) {
  // The errno, as its Windows system error, decides over a generic cause.
  EXPECT_EQ(FileFailure(CFileException::fileNotFound, ENOENT), H(0x80070002u));
  EXPECT_EQ(FileFailure(CFileException::accessDenied, EACCES), H(0x80070005u));
  EXPECT_EQ(FileFailure(CFileException::diskFull, ENOSPC), H(0x80070070u));
  EXPECT_EQ(FileFailure(CFileException::genericException, ENOENT), H(0x80070002u));
  // Without an OS error, or with one Windows has no match for, the cause decides.
  EXPECT_EQ(FileFailure(CFileException::badSeek), H(0x80070083u));
  EXPECT_EQ(FileFailure(CFileException::endOfFile, EOVERFLOW), H(0x80070026u));
  // A failure never translates to success.
  EXPECT_EQ(FileFailure(CFileException::none), H(0x8007001Fu));
  // Share modes and locks are emulated: their cause wins over the errno.
  EXPECT_EQ(Win32ErrorOf(CFileException(CFileException::sharingViolation, EAGAIN)), 32);
  EXPECT_EQ(Win32ErrorOf(CFileException(CFileException::lockViolation, EACCES)), 33);
}

TEST(ErrorsTranslateTest, QXExceptionReportText) {
  EXPECT_EQ(CQXException("GetCurrentTime_LocalTime: FileTimeToSystemTime", 1, 0).TextoRelatorio(),
            "GetCurrentTime_LocalTime: FileTimeToSystemTime");
  EXPECT_EQ(CQXException("", 1, 0, 77).TextoRelatorio(),
            "Erro desconhecido encontrado. C\xF3"
            "digo (77)");
  const std::string prefix = "falhou\nErro do SO: 13 - ";
  const std::string withOs = CQXException("falhou", 1, EACCES).TextoRelatorio();
  EXPECT_EQ(withOs.rfind(prefix, 0), 0u) << withOs;
  EXPECT_GT(withOs.size(), prefix.size());
}

}  // namespace
}  // namespace qx
