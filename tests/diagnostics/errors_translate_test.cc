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

TEST(ErrorsTranslateTest, EachKindOfThrownObjectGivesItsCode) {
  EXPECT_EQ(Translated([] { throw _com_error(E_NOINTERFACE); }), E_NOINTERFACE);
  EXPECT_EQ(Translated([] { throw CQXExceptionEx(E_FAIL); }), E_FAIL);
  EXPECT_EQ(Translated([] { throw new CQXException("texto", 1, 5); }),
            static_cast<HRESULT>(0x80040005u));
  EXPECT_EQ(Translated([] { throw new CQXException("texto", 1, 0); }),
            static_cast<HRESULT>(0x8004EA61u));
  EXPECT_EQ(Translated([] { throw new CMemoryException(); }), static_cast<HRESULT>(0x8004EA62u));
  EXPECT_EQ(Translated([] { throw new CInvalidArgException(); }),
            static_cast<HRESULT>(0x8004EA67u));
  EXPECT_EQ(Translated([] { throw new CException(); }), static_cast<HRESULT>(0x8004EA63u));
  EXPECT_EQ(Translated([] { throw static_cast<HRESULT>(0x8004EAF0u); }),
            static_cast<HRESULT>(0x8004EAF0u));
  EXPECT_EQ(Translated([] { throw HRESULT{0}; }), S_OK);
  EXPECT_EQ(Translated([] { throw std::bad_alloc(); }), static_cast<HRESULT>(0x8004EA64u));
  EXPECT_EQ(Translated([] { throw std::runtime_error("x"); }), static_cast<HRESULT>(0x8004EA65u));
  EXPECT_EQ(Translated([] { throw 1.5; }), static_cast<HRESULT>(0x8004EA66u));
  EXPECT_EQ(Translated([] { throw static_cast<CQXException*>(nullptr); }),
            static_cast<HRESULT>(0x8004EA61u));
  EXPECT_EQ(QXTranslateThrownExceptionToHresult(), static_cast<HRESULT>(0x8004EA66u));
}

TEST(ErrorsTranslateTest, FileExceptionGivesItsWindowsErrorAsHresult) {
  EXPECT_EQ(Translated([] { throw new CFileException(CFileException::fileNotFound, ENOENT); }),
            static_cast<HRESULT>(0x80070002u));
  EXPECT_EQ(Translated([] { throw new CFileException(CFileException::accessDenied, EACCES); }),
            static_cast<HRESULT>(0x80070005u));
  EXPECT_EQ(Translated([] { throw new CFileException(CFileException::diskFull, ENOSPC); }),
            static_cast<HRESULT>(0x80070070u));
  // Without an OS error, or with one Windows has no match for, the cause decides.
  EXPECT_EQ(Translated([] { throw new CFileException(CFileException::badSeek); }),
            static_cast<HRESULT>(0x80070083u));
  EXPECT_EQ(Translated([] { throw new CFileException(CFileException::endOfFile, EOVERFLOW); }),
            static_cast<HRESULT>(0x80070026u));
  // A failure never translates to success.
  EXPECT_EQ(Translated([] { throw new CFileException(CFileException::none); }),
            static_cast<HRESULT>(0x8007001Fu));
}

TEST(ErrorsTranslateTest, WindowsErrorsOfFileFailures) {
  EXPECT_EQ(Win32ErrorFromErrno(ENOENT), 2);
  EXPECT_EQ(Win32ErrorFromErrno(EACCES), 5);
  EXPECT_EQ(Win32ErrorFromErrno(ENOSPC), 112);
  EXPECT_EQ(Win32ErrorFromErrno(EOVERFLOW), 0);
  // Share modes and locks are emulated: their cause wins over the errno.
  const CFileException sharing(CFileException::sharingViolation, EAGAIN);
  EXPECT_EQ(Win32ErrorOf(sharing), 32);
  const CFileException lock(CFileException::lockViolation, EACCES);
  EXPECT_EQ(Win32ErrorOf(lock), 33);
  const CFileException notFound(CFileException::genericException, ENOENT);
  EXPECT_EQ(Win32ErrorOf(notFound), 2);
}

TEST(ErrorsTranslateTest, QXExceptionReportText) {
  EXPECT_EQ(CQXException("GetCurrentTime_LocalTime: FileTimeToSystemTime", 1, 0).TextoRelatorio(),
            "GetCurrentTime_LocalTime: FileTimeToSystemTime");
  EXPECT_EQ(CQXException("", 1, 0, 77).TextoRelatorio(),
            "Erro desconhecido encontrado. C\xF3"
            "digo (77)");
  const std::string withOs = CQXException("falhou", 1, EACCES).TextoRelatorio();
  EXPECT_EQ(withOs.rfind("falhou\nErro do SO: 13 - ", 0), 0u) << withOs;
  EXPECT_GT(withOs.size(), std::string("falhou\nErro do SO: 13 - ").size());
}

}  // namespace
}  // namespace qx
