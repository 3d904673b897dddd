#include <gtest/gtest.h>
#include <signal.h>

#include "platform/fault_guard_codes.h"

namespace qx {
namespace {

constexpr StackBounds kNoStack{0, 4096};

TEST(FaultCodes, EverySignalAndDetailMapsToItsWindowsCode) {
  struct Case {
    int signal;
    int code;
    uint32_t expected;
  };
  const Case cases[] = {
      {SIGSEGV, SEGV_MAPERR, 0xC0000005u}, {SIGSEGV, SEGV_ACCERR, 0xC0000005u},
      {SIGBUS, BUS_ADRERR, 0xC0000005u},   {SIGBUS, BUS_OBJERR, 0xC0000005u},
      {SIGBUS, BUS_ADRALN, 0x80000002u},   {SIGFPE, FPE_INTDIV, 0xC0000094u},
      {SIGFPE, FPE_INTOVF, 0xC0000095u},   {SIGFPE, FPE_FLTDIV, 0xC000008Eu},
      {SIGFPE, FPE_FLTOVF, 0xC0000091u},   {SIGFPE, FPE_FLTUND, 0xC0000093u},
      {SIGFPE, FPE_FLTRES, 0xC000008Fu},   {SIGFPE, FPE_FLTINV, 0xC0000090u},
      {SIGFPE, FPE_FLTSUB, 0xC000008Cu},   {SIGILL, ILL_ILLOPC, 0xC000001Du},
      {SIGILL, ILL_ILLOPN, 0xC000001Du},   {SIGILL, ILL_PRVOPC, 0xC0000096u},
      {SIGILL, ILL_PRVREG, 0xC0000096u},   {SIGTRAP, TRAP_BRKPT, 0x80000003u},
      {SIGTRAP, SI_KERNEL, 0x80000003u},   {SIGTRAP, TRAP_TRACE, 0x80000004u},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FaultExceptionCode(c.signal, c.code, 0x1000, kNoStack), c.expected)
        << "signal " << c.signal << " code " << c.code;
  }
}

TEST(FaultCodes, AccessFaultsAtTheStackEndAreStackOverflows) {
  const uintptr_t lowest = 0x7f0000100000;
  const StackBounds stack{lowest, 4096};
  EXPECT_EQ(FaultExceptionCode(SIGSEGV, SEGV_MAPERR, lowest - 8, stack), 0xC00000FDu);
  EXPECT_EQ(FaultExceptionCode(SIGSEGV, SEGV_ACCERR, lowest - 4096, stack), 0xC00000FDu);
  EXPECT_EQ(FaultExceptionCode(SIGSEGV, SEGV_MAPERR, lowest - 4096 - 60000, stack), 0xC00000FDu)
      << "a large frame's first touch lands below the guard page";
  EXPECT_EQ(FaultExceptionCode(SIGBUS, BUS_ADRERR, lowest - 8, stack), 0xC00000FDu);
  EXPECT_EQ(FaultExceptionCode(SIGSEGV, SEGV_MAPERR, lowest - 4096 - 70000, stack), 0xC0000005u);
  EXPECT_EQ(FaultExceptionCode(SIGSEGV, SEGV_MAPERR, lowest + 4096, stack), 0xC0000005u);
  EXPECT_EQ(FaultExceptionCode(SIGSEGV, SEGV_MAPERR, 0, stack), 0xC0000005u);
  EXPECT_EQ(FaultExceptionCode(SIGSEGV, SEGV_MAPERR, 8, StackBounds{16, 4096}), 0xC00000FDu)
      << "no wrap-around below address 0";
  EXPECT_EQ(FaultExceptionCode(SIGSEGV, SEGV_MAPERR, 8, kNoStack), 0xC0000005u)
      << "unknown bounds never give a stack overflow";
}

}  // namespace
}  // namespace qx
