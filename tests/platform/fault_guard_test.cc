#include "platform/fault_guard.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cfenv>
#include <stdexcept>
#include <thread>
#include <vector>

#include "test_support.h"

namespace qx {
namespace {

constexpr uint32_t kAccessViolation = 0xC0000005u;
constexpr uint32_t kIntDivideByZero = 0xC0000094u;
constexpr uint32_t kStackOverflow = 0xC00000FDu;

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

TEST(FaultGuard, MachineFaultsGiveTheirCodesAndTheThreadGoesOn) {
  EXPECT_EQ(FaultOf(WriteThroughNull), kAccessViolation);
  EXPECT_TRUE(GuardedCallWorks());
  EXPECT_EQ(FaultOf(ExecuteIllegalInstruction), 0xC000001Du);
  EXPECT_EQ(FaultOf(WriteThroughNull), kAccessViolation) << "the handler stays in place";
#if defined(__x86_64__) || defined(__i386__)
  EXPECT_EQ(FaultOf([] { Divide(7, 0); }), kIntDivideByZero);
  EXPECT_EQ(FaultOf([] { asm volatile("int3"); }), 0x80000003u);
#endif
  sigset_t blocked;
  sigprocmask(SIG_BLOCK, nullptr, &blocked);
  EXPECT_FALSE(sigismember(&blocked, SIGSEGV)) << "the signal mask comes back";
  EXPECT_FALSE(sigismember(&blocked, SIGFPE));
  EXPECT_TRUE(GuardedCallWorks());
  EXPECT_EQ(Divide(7, 2), 3);
}

TEST(FaultGuard, BusErrorOnAMappingWithoutPagesIsAnAccessViolation) {
  test::TempDir dir;
  int fd = open((dir / "empty").c_str(), O_RDWR | O_CREAT, 0600);
  ASSERT_GE(fd, 0);
  void* mapping = mmap(nullptr, 4096, PROT_READ, MAP_SHARED, fd, 0);
  close(fd);
  ASSERT_NE(mapping, MAP_FAILED);
  const volatile char* byte = static_cast<const volatile char*>(mapping);
  EXPECT_EQ(FaultOf([&] { (void)*byte; }), kAccessViolation);
  munmap(mapping, 4096);
}

TEST(FaultGuard, FloatingPointTrapAndTheEnvironmentComesBack) {
  std::feclearexcept(FE_ALL_EXCEPT);
  if (feenableexcept(FE_DIVBYZERO) == -1) GTEST_SKIP() << "no floating-point traps here";
  volatile double zero = 0.0;
  EXPECT_EQ(FaultOf([&] {
              volatile double result = 1.0 / zero;
              (void)result;
            }),
            0xC000008Eu);
  EXPECT_EQ(fegetexcept() & FE_DIVBYZERO, FE_DIVBYZERO) << "traps as they were at the opening";
  fedisableexcept(FE_ALL_EXCEPT);
}

TEST(FaultGuard, StackOverflowIsCaughtAgainAndOnOtherThreads) {
  EXPECT_EQ(FaultOf([] { Recurse(0); }), kStackOverflow);
  EXPECT_EQ(FaultOf([] { Recurse(0); }), kStackOverflow) << "the guard page is still there";
  EXPECT_TRUE(GuardedCallWorks());
  uint32_t onThread = 0;
  std::thread([&] { onThread = FaultOf([] { Recurse(0); }); }).join();
  EXPECT_EQ(onThread, kStackOverflow);
}

TEST(FaultGuard, NestedGuardsAndExceptionsPassThrough) {
  bool outerWentOn = false;
  uint32_t inner = 0;
  EXPECT_TRUE(QXRunGuarded(
      [&] {
        inner = FaultOf(WriteThroughNull);
        outerWentOn = true;
      },
      nullptr));
  EXPECT_EQ(inner, kAccessViolation);
  EXPECT_TRUE(outerWentOn);

  // A fault after an inner guard closed, normally or by a throw, ends the outer guard.
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
  EXPECT_TRUE(GuardedCallWorks());
}

TEST(FaultGuard, StackTextNamesTheFaultingFunctionAndEndsAtMain) {
  ASSERT_EQ(FaultOf(WriteThroughNull), kAccessViolation);
  std::string text = QXLastFaultStackText();
  ASSERT_FALSE(text.empty());
  EXPECT_NE(text.substr(0, text.find('\n')).find("WriteThroughNull"), std::string::npos) << text;
  EXPECT_NE(text.find("StackTextNamesTheFaultingFunctionAndEndsAtMain"), std::string::npos);
  EXPECT_EQ(text.substr(text.rfind('\n', text.size() - 2) + 1), "main\n") << text;
  EXPECT_TRUE(GuardedCallWorks());
  EXPECT_EQ(QXLastFaultStackText(), text) << "kept until the next fault";
  std::string elsewhere = "unset";
  std::thread([&] { elsewhere = QXLastFaultStackText(); }).join();
  EXPECT_EQ(elsewhere, "") << "the text belongs to the faulting thread";
}

TEST(FaultGuard, FaultsNeverLeakAcrossThreads) {
  constexpr int kThreads = 8;
  constexpr int kRounds = 300;
  std::atomic<int> wrong{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int round = 0; round < kRounds; ++round) {
#if defined(__x86_64__) || defined(__i386__)
        bool divide = (round + t) % 2 == 0;
#else
        bool divide = false;
#endif
        uint32_t expected = divide ? kIntDivideByZero : kAccessViolation;
        uint32_t got = FaultOf([&] { divide ? (void)Divide(round, 0) : WriteThroughNull(); });
        if (got != expected) ++wrong;
        if (!GuardedCallWorks()) ++wrong;
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

// The wait status of a child process that runs body and would otherwise exit with 0.
int StatusOfChild(void (*body)()) {
  pid_t pid = fork();
  if (pid == 0) {
    rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    alarm(20);
    body();
    _exit(0);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return status;
}

TEST(FaultGuard, OutsideAGuardTheDefaultActionStands) {
  int illegal = StatusOfChild([] {
    EXPECT_TRUE(GuardedCallWorks());
    ExecuteIllegalInstruction();
  });
  ASSERT_TRUE(WIFSIGNALED(illegal));
  EXPECT_EQ(WTERMSIG(illegal), SIGILL);

  auto killedBySegv = [](int status) {
    if (test::kAddressSanitizer) {  // its handler came before ours: it reports and exits
      return WIFSIGNALED(status) || (WIFEXITED(status) && WEXITSTATUS(status) != 0);
    }
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGSEGV;
  };
  EXPECT_TRUE(killedBySegv(StatusOfChild([] {
    EXPECT_TRUE(GuardedCallWorks());
    WriteThroughNull();
  })));
  // A signal sent to the thread is no machine fault, even inside a guard.
  EXPECT_TRUE(killedBySegv(StatusOfChild([] { QXRunGuarded([] { raise(SIGSEGV); }, nullptr); })));
}

}  // namespace
}  // namespace qx
