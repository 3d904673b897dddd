#include <gtest/gtest.h>

#include <cerrno>

#include "diagnostics/errno_codes.h"
#include "diagnostics/hresult.h"
#include "diagnostics/machine_faults.h"

namespace qx {
namespace {

TEST(ErrorsModelTest, HresultSplitsIntoSeverityThirteenBitFacilityAndCode) {
  EXPECT_EQ(HresultSeverity(E_QXCR_NAO_INICIALIZADO), 1);
  EXPECT_EQ(HresultFacility(E_QXCR_NAO_INICIALIZADO), 264);
  EXPECT_EQ(HresultCode(E_QXCR_NAO_INICIALIZADO), 2564);
  EXPECT_EQ(HresultSeverity(0x000405F7), 0);
  EXPECT_EQ(HresultFacility(0x000405F7), FACILITY_ITF);
  EXPECT_EQ(HresultCode(0x000405F7), 0x05F7);
  EXPECT_EQ(HresultFacility(static_cast<HRESULT>(0xFFFFFFFFu)), 0x1FFF);
  EXPECT_TRUE(FAILED(E_QXCR_SEM_OBJETO));
  EXPECT_TRUE(SUCCEEDED(0x000405F7));
}

TEST(ErrorsModelTest, IgnoredCodeListStopsAtItsEndMark) {
  const HRESULT list[] = {static_cast<HRESULT>(0x800405F7u), kFimListaCodigos, E_QXCR_SEM_OBJETO};
  EXPECT_TRUE(IgnoredCodeList(static_cast<HRESULT>(0x800405F7u), list));
  EXPECT_FALSE(IgnoredCodeList(E_QXCR_SEM_OBJETO, list));
  EXPECT_FALSE(IgnoredCodeList(kFimListaCodigos, list));
  const HRESULT empty[] = {kFimListaCodigos};
  EXPECT_FALSE(IgnoredCodeList(S_OK, empty));
  EXPECT_FALSE(IgnoredCodeList(S_OK, nullptr));
}

TEST(ErrorsModelTest, MachineFaultsMapToConsecutiveCodesAndOnlyTwentyTwoAreHandled) {
  EXPECT_EQ(HresultFromMachineFault(EXCEPTION_ACCESS_VIOLATION), static_cast<HRESULT>(0x8004EAC5u));
  EXPECT_EQ(HresultFromMachineFault(EXCEPTION_GUARD_PAGE), static_cast<HRESULT>(0x8004EAD0u));
  EXPECT_EQ(HresultFromMachineFault(EXCEPTION_INT_DIVIDE_BY_ZERO),
            static_cast<HRESULT>(0x8004EAD3u));
  EXPECT_EQ(HresultFromMachineFault(EXCEPTION_STACK_OVERFLOW), static_cast<HRESULT>(0x8004EADAu));
  EXPECT_EQ(HresultFromMachineFault(0x80000029u), static_cast<HRESULT>(0x8004EADBu));
  EXPECT_EQ(HresultFromMachineFault(0xE06D7363u), static_cast<HRESULT>(0x8004EE47u));

  EXPECT_TRUE(MachineFaultHandled(EXCEPTION_ACCESS_VIOLATION));
  EXPECT_TRUE(MachineFaultHandled(EXCEPTION_SINGLE_STEP));
  EXPECT_FALSE(MachineFaultHandled(0x80000029u));
  EXPECT_FALSE(MachineFaultHandled(0xE06D7363u));
}

TEST(ErrorsModelTest, FatalCodesAreExactlyThoseOfTheFaultMapping) {
  EXPECT_FALSE(QXIsFatalHresult(static_cast<HRESULT>(0x8004EAC4u)));
  EXPECT_TRUE(QXIsFatalHresult(static_cast<HRESULT>(0x8004EAC5u)));
  EXPECT_TRUE(QXIsFatalHresult(static_cast<HRESULT>(0x8004EADBu)));
  EXPECT_FALSE(QXIsFatalHresult(static_cast<HRESULT>(0x8004EADCu)));
  EXPECT_TRUE(QXIsFatalHresult(static_cast<HRESULT>(0x8004EE47u)));
  EXPECT_FALSE(QXIsFatalHresult(S_OK));
  EXPECT_FALSE(QXIsFatalHresult(E_QXCR_FALHA_INTERNA));
}

TEST(ErrorsModelTest, RuntimeErrnoValuesGetConsecutiveCodes) {
  EXPECT_EQ(HresultFromRuntimeErrno(1), static_cast<HRESULT>(0x8004EADCu));
  EXPECT_EQ(HresultFromRuntimeErrno(14), static_cast<HRESULT>(0x8004EAE9u));
  EXPECT_EQ(HresultFromRuntimeErrno(16), static_cast<HRESULT>(0x8004EAEAu));
  EXPECT_EQ(HresultFromRuntimeErrno(25), static_cast<HRESULT>(0x8004EAF3u));
  EXPECT_EQ(HresultFromRuntimeErrno(27), static_cast<HRESULT>(0x8004EAF4u));
  EXPECT_EQ(HresultFromRuntimeErrno(34), static_cast<HRESULT>(0x8004EAFBu));
  EXPECT_EQ(HresultFromRuntimeErrno(36), static_cast<HRESULT>(0x8004EAFCu));
  EXPECT_EQ(HresultFromRuntimeErrno(38), static_cast<HRESULT>(0x8004EAFDu));
  EXPECT_EQ(HresultFromRuntimeErrno(42), static_cast<HRESULT>(0x8004EB01u));
  EXPECT_EQ(HresultFromRuntimeErrno(STRUNCATE), static_cast<HRESULT>(0x8004EB02u));
  for (int unknown : {0, 15, 26, 35, 37, 43, 79, 81, -1}) {
    EXPECT_EQ(HresultFromRuntimeErrno(unknown), static_cast<HRESULT>(0x8004EA60u)) << unknown;
  }
}

TEST(ErrorsModelTest, PlatformErrnoIsReadAsTheRuntimeNumbersIt) {
  EXPECT_EQ(RuntimeErrnoFromPlatform(EACCES), 13);
  EXPECT_EQ(RuntimeErrnoFromPlatform(EDEADLK), 36);
  EXPECT_EQ(RuntimeErrnoFromPlatform(ENAMETOOLONG), 38);
  EXPECT_EQ(RuntimeErrnoFromPlatform(ENOTEMPTY), 41);
  EXPECT_EQ(RuntimeErrnoFromPlatform(EILSEQ), 42);
  EXPECT_EQ(RuntimeErrnoFromPlatform(ETXTBSY), 26);  // the runtime has no 26
  EXPECT_EQ(RuntimeErrnoFromPlatform(EOVERFLOW), 0);

  errno = EINVAL;
  EXPECT_EQ(HresultFromCurrentErrno(), static_cast<HRESULT>(0x8004EAF0u));
  errno = EILSEQ;
  EXPECT_EQ(HresultFromCurrentErrno(), static_cast<HRESULT>(0x8004EB01u));
  errno = ETXTBSY;
  EXPECT_EQ(HresultFromCurrentErrno(), static_cast<HRESULT>(0x8004EA60u));
}

}  // namespace
}  // namespace qx
