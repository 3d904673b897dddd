#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cfenv>
#include <stdexcept>
#include <thread>
#include <vector>

#include "platform/fault_guard.h"
#include "platform/fault_guard_codes.h"
#include "platform/invalid_parameter.h"
#include "test_support.h"

namespace qx {
namespace {

constexpr uint32_t kAccessViolation = 0xC0000005u;
constexpr uint32_t kIntDivideByZero = 0xC0000094u;
constexpr uint32_t kStackOverflow = 0xC00000FDu;

constexpr StackBounds kNoStack{0, 4096};

// Every code the mapping knows: the error log records them as they are.
TEST(FaultCodes, SignalsAndDetailsMapToTheirWindowsCodes) {
  const struct {
    int signal, code;
    uint32_t expected;
  } cases[] = {
      {SIGSEGV, SEGV_MAPERR, kAccessViolation}, {SIGBUS, BUS_ADRERR, kAccessViolation},
      {SIGBUS, BUS_ADRALN, 0x80000002u},        {SIGFPE, FPE_INTDIV, kIntDivideByZero},
      {SIGFPE, FPE_INTOVF, 0xC0000095u},        {SIGFPE, FPE_FLTDIV, 0xC000008Eu},
      {SIGFPE, FPE_FLTOVF, 0xC0000091u},        {SIGFPE, FPE_FLTUND, 0xC0000093u},
      {SIGFPE, FPE_FLTRES, 0xC000008Fu},        {SIGFPE, FPE_FLTINV, 0xC0000090u},
      {SIGFPE, FPE_FLTSUB, 0xC000008Cu},        {SIGILL, ILL_ILLOPC, 0xC000001Du},
      {SIGILL, ILL_PRVOPC, 0xC0000096u},        {SIGTRAP, TRAP_BRKPT, 0x80000003u},
      {SIGTRAP, SI_KERNEL, 0x80000003u},        {SIGTRAP, TRAP_TRACE, 0x80000004u},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FaultExceptionCode(c.signal, c.code, 0x1000, kNoStack), c.expected)
        << "signal " << c.signal << " code " << c.code;
  }

  // Access faults at the stack's end are stack overflows: a large frame's first touch lands
  // below the guard page (but not 70000 bytes below it); the reach does not wrap around below
  // address 0, and unknown bounds never give a stack overflow.
  const uintptr_t lowest = 0x7f0000100000;
  const StackBounds stack{lowest, 4096};
  EXPECT_EQ(FaultExceptionCode(SIGSEGV, SEGV_ACCERR, lowest - 4096, stack), kStackOverflow);
  EXPECT_EQ(FaultExceptionCode(SIGSEGV, SEGV_MAPERR, lowest - 64096, stack), kStackOverflow);
  EXPECT_EQ(FaultExceptionCode(SIGBUS, BUS_ADRERR, lowest - 8, stack), kStackOverflow);
  EXPECT_EQ(FaultExceptionCode(SIGSEGV, SEGV_MAPERR, lowest - 74096, stack), kAccessViolation);
  EXPECT_EQ(FaultExceptionCode(SIGSEGV, SEGV_MAPERR, lowest + 4096, stack), kAccessViolation);
  EXPECT_EQ(FaultExceptionCode(SIGSEGV, SEGV_MAPERR, 8, StackBounds{16, 4096}), kStackOverflow);
  EXPECT_EQ(FaultExceptionCode(SIGSEGV, SEGV_MAPERR, 8, kNoStack), kAccessViolation);
}

// The faults themselves, kept out of the optimiser's and the sanitizers' reach: the
// sanitizers would report the undefined behaviour before the machine faults.
#define QX_FAULTING __attribute__((noinline, no_sanitize("address"), no_sanitize("undefined")))

QX_FAULTING void WriteThroughNull() {
  volatile int* volatile target = nullptr;
  *target = 42;
}

QX_FAULTING int Divide(int a, int b) {
  volatile int dividend = a;
  volatile int divisor = b;
  return dividend / divisor;
}

QX_FAULTING int Recurse(int depth) {
  volatile char frame[1024];
  frame[depth % 1024] = static_cast<char>(depth);
  if (depth < 0) return 0;
  return Recurse(depth + 1) + frame[(depth + 1) % 1024];
}

QX_FAULTING void ExecuteIllegalInstruction() { __builtin_trap(); }

// The code of the fault that ends body, or 0 when body returns.
template <typename Body>
uint32_t FaultOf(Body body) {
  uint32_t code = 0;
  return QXRunGuarded(body, &code) ? 0 : code;
}

bool GuardedCallWorks() {
  int ran = 0;
  return QXRunGuarded([&] { ++ran; }, nullptr) && ran == 1;
}

// The stack text names the faulting function first and ends at main; it is kept until the
// next fault and belongs to the faulting thread.
TEST(FaultGuard, MachineFaultsStackOverflowsAndTrapsGiveTheirCodesAndStackTextsAndTheThreadGoesOn) {
  ASSERT_EQ(FaultOf(WriteThroughNull), kAccessViolation);
  std::string text = QXLastFaultStackText();
  ASSERT_FALSE(text.empty());
  EXPECT_NE(text.substr(0, text.find('\n')).find("WriteThroughNull"), std::string::npos) << text;
  EXPECT_NE(text.find("AndStackTextsAndTheThreadGoesOn"), std::string::npos);
  EXPECT_EQ(text.substr(text.rfind('\n', text.size() - 2) + 1), "main\n") << text;
  EXPECT_TRUE(GuardedCallWorks());
  EXPECT_EQ(QXLastFaultStackText(), text);
  std::string elsewhere = "unset";
  std::thread([&] { elsewhere = QXLastFaultStackText(); }).join();
  EXPECT_EQ(elsewhere, "");

  EXPECT_EQ(FaultOf(ExecuteIllegalInstruction), 0xC000001Du);
#if defined(__x86_64__) || defined(__i386__)
  EXPECT_EQ(FaultOf([] { Divide(7, 0); }), kIntDivideByZero);
  EXPECT_EQ(FaultOf([] { asm volatile("int3"); }), 0x80000003u);
#endif
  sigset_t blocked;
  sigprocmask(SIG_BLOCK, nullptr, &blocked);
  EXPECT_FALSE(sigismember(&blocked, SIGSEGV)) << "the signal mask comes back";
  EXPECT_FALSE(sigismember(&blocked, SIGFPE));
  EXPECT_EQ(FaultOf([] { Recurse(0); }), kStackOverflow);
  EXPECT_EQ(FaultOf([] { Recurse(0); }), kStackOverflow) << "the guard page is still there";
  uint32_t onThread = 0;
  std::thread([&] { onThread = FaultOf([] { Recurse(0); }); }).join();
  EXPECT_EQ(onThread, kStackOverflow);

  // A bus error on a mapping without pages is an access violation.
  test::TempDir dir;
  int fd = open((dir / "empty").c_str(), O_RDWR | O_CREAT, 0600);
  ASSERT_GE(fd, 0);
  void* mapping = mmap(nullptr, 4096, PROT_READ, MAP_SHARED, fd, 0);
  close(fd);
  ASSERT_NE(mapping, MAP_FAILED);
  const volatile char* byte = static_cast<const volatile char*>(mapping);
  EXPECT_EQ(FaultOf([&] { (void)*byte; }), kAccessViolation);
  munmap(mapping, 4096);

  // A fault after an inner guard closed, normally or by a throw, ends the outer guard; nested
  // guards each on their own are the threads' case below.
  EXPECT_EQ(FaultOf([] {
              EXPECT_TRUE(GuardedCallWorks());
              try {
                QXRunGuarded([] { throw std::runtime_error("out"); }, nullptr);
              } catch (const std::runtime_error&) {
              }
              WriteThroughNull();
            }),
            kAccessViolation);
  EXPECT_THROW(QXRunGuarded([] { throw 7L; }, nullptr), long);

  // A floating-point trap, and the environment comes back.
  std::feclearexcept(FE_ALL_EXCEPT);
  if (feenableexcept(FE_DIVBYZERO) == -1) GTEST_SKIP() << "no floating-point traps here";
  volatile double zero = 0.0;
  EXPECT_EQ(FaultOf([&] { [[maybe_unused]] volatile double result = 1.0 / zero; }), 0xC000008Eu);
  EXPECT_EQ(fegetexcept() & FE_DIVBYZERO, FE_DIVBYZERO) << "traps as they were at the opening";
  fedisableexcept(FE_ALL_EXCEPT);
}

TEST(FaultGuard, FaultsNeverLeakAcrossThreads) {
  std::atomic<int> wrong{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 8; ++t) {
    threads.emplace_back([&, t] {
      for (int round = 0; round < 300; ++round) {
#if defined(__x86_64__) || defined(__i386__)
        bool divide = (round + t) % 2 == 0;
#else
        bool divide = false;
#endif
        uint32_t got = FaultOf([&] { divide ? (void)Divide(round, 0) : WriteThroughNull(); });
        if (got != (divide ? kIntDivideByZero : kAccessViolation) || !GuardedCallWorks()) ++wrong;
        int done = 0;
        bool outer = QXRunGuarded(
            [&] {
              if (FaultOf(WriteThroughNull) == kAccessViolation) ++done;
              ++done;
            },
            nullptr);
        if (!outer || done != 2) ++wrong;
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(wrong.load(), 0);
}

// How a child process that runs body ends: its exit code or 128 + the signal.
int EndOfChild(void (*body)()) {
  return test::Child([body](test::Child&) {
           rlimit noCore{0, 0};
           setrlimit(RLIMIT_CORE, &noCore);
           body();
           return 0;
         })
      .Wait();
}

// Whether a child running body died of SIGSEGV (or, under AddressSanitizer, whose handler
// came before ours, reported and exited).
bool SegvEnds(void (*body)()) {
  int end = EndOfChild(body);
  return test::kAddressSanitizer ? end != 0 : end == 128 + SIGSEGV;
}

TEST(FaultGuard, OutsideAGuardTheDefaultActionStands) {
  EXPECT_EQ(EndOfChild([] {
              EXPECT_TRUE(GuardedCallWorks());
              ExecuteIllegalInstruction();
            }),
            128 + SIGILL);
  EXPECT_TRUE(SegvEnds([] {
    EXPECT_TRUE(GuardedCallWorks());
    WriteThroughNull();
  }));
  // A signal sent to the thread is no machine fault, even inside a guard.
  EXPECT_TRUE(SegvEnds([] { QXRunGuarded([] { raise(SIGSEGV); }, nullptr); }));
}

thread_local int tReports = 0;
thread_local int tErrno = 0;

void Record(const char16_t* expression, const char16_t* function, const char16_t* file,
            unsigned line, uintptr_t) {
  EXPECT_EQ(std::u16string(expression) + function + file, u"size <= capacityCopycopy.cc");
  EXPECT_EQ(line, 13u);
  tErrno = errno;
  ++tReports;
}

void Throw(const char16_t*, const char16_t*, const char16_t*, unsigned, uintptr_t) {
  throw static_cast<long>(errno);
}

TEST(InvalidParameter, HandlerGetsTheReportWithErrnoSetAndIsPerThread) {
  _set_thread_local_invalid_parameter_handler(Record);
  InvalidParameter(u"size <= capacity", u"Copy", u"copy.cc", 13);
  EXPECT_EQ(tErrno, EINVAL);
  InvalidParameter(u"size <= capacity", u"Copy", u"copy.cc", 13, ERANGE);
  EXPECT_EQ(tErrno, ERANGE);
  EXPECT_EQ(tReports, 2);
  EXPECT_EQ(_set_thread_local_invalid_parameter_handler(Throw), Record);
  EXPECT_THROW(InvalidParameter(u"x", u"f", u"g", 1), long);

  _invalid_parameter_handler seen = Throw;
  std::thread([&] {
    seen = _get_thread_local_invalid_parameter_handler();
    _set_thread_local_invalid_parameter_handler(Record);
  }).join();
  EXPECT_EQ(seen, nullptr) << "a new thread starts without a handler";
  // Untouched by the other.
  EXPECT_EQ(_set_thread_local_invalid_parameter_handler(nullptr), Throw);
  errno = 0;
  InvalidParameter(u"x", u"f", u"g", 1);  // no handler: the caller fails on its own
  EXPECT_EQ(errno, EINVAL);
}

}  // namespace
}  // namespace qx
