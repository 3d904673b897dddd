#include <gtest/gtest.h>

#include <cerrno>
#include <utility>

#include "contract/hresult.h"
#include "diagnostics/errno_codes.h"
#include "diagnostics/machine_faults.h"

namespace qx {
namespace {

constexpr HRESULT H(uint32_t code) { return static_cast<HRESULT>(code); }

TEST(ErrorsModelTest, HresultPartsAndIgnoredCodeList) {
  EXPECT_EQ(HresultSeverity(E_QXCR_NAO_INICIALIZADO), 1);
  EXPECT_EQ(HresultFacility(E_QXCR_NAO_INICIALIZADO), 264);
  EXPECT_EQ(HresultCode(E_QXCR_NAO_INICIALIZADO), 2564);
  EXPECT_EQ(HresultSeverity(0x000405F7), 0);
  EXPECT_EQ(HresultFacility(0x000405F7), FACILITY_ITF);
  EXPECT_EQ(HresultCode(0x000405F7), 0x05F7);
  EXPECT_EQ(HresultFacility(H(0xFFFFFFFFu)), 0x1FFF);  // thirteen bits

  // The list ends at its end mark: what follows it is not in it.
  const HRESULT list[] = {H(0x800405F7u), kFimListaCodigos, E_QXCR_SEM_OBJETO};
  EXPECT_TRUE(IgnoredCodeList(H(0x800405F7u), list));
  EXPECT_FALSE(IgnoredCodeList(E_QXCR_SEM_OBJETO, list));
  EXPECT_FALSE(IgnoredCodeList(kFimListaCodigos, list));
  EXPECT_FALSE(IgnoredCodeList(S_OK, nullptr));
}

TEST(ErrorsModelTest, MachineFaultsGiveTheFatalCodes) {
  const std::pair<uint32_t, uint32_t> faults[] = {{EXCEPTION_ACCESS_VIOLATION, 0x8004EAC5u},
                                                  {EXCEPTION_GUARD_PAGE, 0x8004EAD0u},
                                                  {EXCEPTION_INT_DIVIDE_BY_ZERO, 0x8004EAD3u},
                                                  {EXCEPTION_STACK_OVERFLOW, 0x8004EADAu},
                                                  {0x80000029u, 0x8004EADBu},
                                                  {0xE06D7363u, 0x8004EE47u}};
  for (const auto& [fault, code] : faults) {
    EXPECT_EQ(HresultFromMachineFault(fault), H(code)) << std::hex << fault;
    EXPECT_TRUE(QXIsFatalHresult(H(code))) << std::hex << code;
  }
  for (uint32_t code : {0x8004EAC4u, 0x8004EADCu, 0u, 0x81080BB1u}) {
    EXPECT_FALSE(QXIsFatalHresult(H(code))) << std::hex << code;
  }
  // Only the twenty-two machine faults are caught, not 0x80000029 or a C++ throw.
  EXPECT_TRUE(MachineFaultHandled(EXCEPTION_ACCESS_VIOLATION));
  EXPECT_TRUE(MachineFaultHandled(EXCEPTION_SINGLE_STEP));
  EXPECT_FALSE(MachineFaultHandled(0x80000029u));
  EXPECT_FALSE(MachineFaultHandled(0xE06D7363u));
}

TEST(ErrorsModelTest, ErrnoValuesGetTheRuntimesConsecutiveCodes) {
  // The runtime's numbering has gaps (15, 26, 35, 37, 43..79): those are unknown.
  const std::pair<int, uint32_t> known[] = {
      {1, 0x8004EADCu},  {14, 0x8004EAE9u},       {16, 0x8004EAEAu}, {25, 0x8004EAF3u},
      {27, 0x8004EAF4u}, {34, 0x8004EAFBu},       {36, 0x8004EAFCu}, {38, 0x8004EAFDu},
      {42, 0x8004EB01u}, {STRUNCATE, 0x8004EB02u}};
  for (const auto& [value, code] : known)
    EXPECT_EQ(HresultFromRuntimeErrno(value), H(code)) << value;
  for (int unknown : {0, 15, 26, 35, 37, 43, 79, 81, -1}) {
    EXPECT_EQ(HresultFromRuntimeErrno(unknown), H(0x8004EA60u)) << unknown;
  }

  // The platform's errno is read as the runtime's number first.
  const std::pair<int, int> platform[] = {{EACCES, 13},    {EDEADLK, 36}, {ENAMETOOLONG, 38},
                                          {ENOTEMPTY, 41}, {EILSEQ, 42},  {ETXTBSY, 26},
                                          {EOVERFLOW, 0}};
  for (const auto& [value, runtime] : platform) {
    EXPECT_EQ(RuntimeErrnoFromPlatform(value), runtime) << value;
  }
  errno = EINVAL;
  EXPECT_EQ(HresultFromCurrentErrno(), H(0x8004EAF0u));
  errno = EILSEQ;
  EXPECT_EQ(HresultFromCurrentErrno(), H(0x8004EB01u));
  errno = ETXTBSY;
  EXPECT_EQ(HresultFromCurrentErrno(), H(0x8004EA60u));
}

}  // namespace
}  // namespace qx
