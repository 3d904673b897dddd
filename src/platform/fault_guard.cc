// How the guard works.
//
// One handler is installed, once per process, for the five fault signals (SIGSEGV, SIGBUS,
// SIGFPE, SIGILL, SIGTRAP), to run on the thread's alternate signal stack. Each thread keeps
// the innermost open guard in a thread-local pointer (the guards of a thread form a chain
// through their `outer` links); opening a guard saves the thread's context with sigsetjmp and
// points the thread's pointer at it; closing restores the outer one. The kernel delivers a
// machine fault to the thread that caused it, so the handler reads the pointer of the faulting
// thread: when a guard is open it records the exception code and the raw call stack, unlinks
// that guard, puts back the signal mask the faulting code ran with (the fault signals are
// blocked while the handler runs, and would stay so) and jumps back into the guard with
// siglongjmp. The guard then reports the fault; other threads and outer guards never see it.
// The context is saved without the signal mask: that would cost a system call on every guarded
// call, and the faulting code's mask is the guard's own, as guarded code does not change it.
//
// A fault outside every guard, or a signal sent by kill() rather than raised by the machine
// (si_code <= 0), goes to the action that was in place before ours: a previous handler (the
// sanitizer runtime's, for one) is called; the default action is put back and the signal
// raised again, so that it ends the process exactly as if we were not there (a null pointer
// written outside a guard kills the process with SIGSEGV and a core dump, as it always did).
// Under AddressSanitizer, whose SIGSEGV, SIGBUS and SIGFPE handlers are installed before
// ours, guarded code is ours (stack overflows included) and a fault elsewhere still gets the
// sanitizer's report, as its handler is the previous action.
//
// The alternate stack is what makes a stack overflow catchable: the fault comes from the
// guard page below an exhausted stack, and the kernel, finding no room there for the signal
// frame, would kill the process instead of calling a handler on that stack. Each thread gets
// its alternate stack when it first opens a guard; a thread that never did keeps the default
// behaviour for stack overflows.
//
// Signal safety is best effort: the handler touches only thread-local data of fixed size and
// calls the unwinder (backtrace, loaded beforehand) to take the return addresses. Turning
// them into names (file reads, allocation, demangling) happens after the jump, on the
// thread's own stack, outside the handler. A fault while the faulting thread held the
// loader's lock (inside dlopen) could still hang the unwinder.
#include "platform/fault_guard.h"

#include <setjmp.h>
#include <signal.h>
#include <ucontext.h>

#include <atomic>
#include <cfenv>
#include <iterator>
#include <mutex>

#include "platform/call_stack.h"
#include "platform/fault_guard_codes.h"
#include "platform/fault_guard_thread.h"

namespace qx {
namespace {

struct GuardFrame {
  sigjmp_buf context;
  GuardFrame* outer;
  std::fenv_t floatingPoint;  // the handler runs with a fresh one, which the jump keeps
};

// What the handler reads and writes: plain data, constant-initialised, so that its access
// never runs an initialiser inside the handler.
struct ThreadGuards {
  GuardFrame* innermost;
  bool prepared;
  StackBounds stack;
  uint32_t exceptionCode;
  int frameCount;
  void* frames[kMaxCallStackFrames];
};

constinit thread_local ThreadGuards tGuards{};
thread_local std::string tLastStackText;

constexpr int kFaultSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGTRAP};
struct sigaction gPrevious[std::size(kFaultSignals)];

const struct sigaction& PreviousAction(int signal) {
  size_t i = 0;
  while (kFaultSignals[i] != signal) ++i;
  return gPrevious[i];
}

void PassOn(int signal, siginfo_t* info, void* context) {
  const struct sigaction& previous = PreviousAction(signal);
  if ((previous.sa_flags & SA_SIGINFO) != 0) {
    previous.sa_sigaction(signal, info, context);
  } else if (previous.sa_handler != SIG_DFL && previous.sa_handler != SIG_IGN) {
    previous.sa_handler(signal);
  } else if (previous.sa_handler == SIG_DFL || info->si_code > 0) {
    // A machine fault cannot be ignored: the kernel applies the default action to it.
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    sigaction(signal, &fallback, nullptr);
    raise(signal);  // pending until this handler returns
  }
}

// The address of the faulting instruction, where the machine's context is known.
const void* FaultingInstruction(void* context) {
  const auto* machine = static_cast<const ucontext_t*>(context);
#if defined(__x86_64__)
  return reinterpret_cast<const void*>(machine->uc_mcontext.gregs[REG_RIP]);
#elif defined(__aarch64__)
  return reinterpret_cast<const void*>(machine->uc_mcontext.pc);
#else
  (void)machine;
  return nullptr;  // the stack text then starts with the handler's own frames
#endif
}

void OnFault(int signal, siginfo_t* info, void* context) {
  GuardFrame* guard = tGuards.innermost;
  if (guard == nullptr || info->si_code <= 0) {
    PassOn(signal, info, context);
    return;
  }
  tGuards.exceptionCode = FaultExceptionCode(
      signal, info->si_code, reinterpret_cast<uintptr_t>(info->si_addr), tGuards.stack);
  tGuards.frameCount =
      CaptureCallStack(tGuards.frames, kMaxCallStackFrames, FaultingInstruction(context));
  tGuards.innermost = guard->outer;
  pthread_sigmask(SIG_SETMASK, &static_cast<const ucontext_t*>(context)->uc_sigmask, nullptr);
  siglongjmp(guard->context, 1);
}

void InstallHandlers() {
  WarmUpCallStack();
  struct sigaction action {};
  action.sa_sigaction = OnFault;
  action.sa_flags = SA_SIGINFO | SA_ONSTACK;
  // A second fault while the handler runs is not ours to catch: with every fault signal
  // blocked, the kernel ends the process on it.
  sigemptyset(&action.sa_mask);
  for (int signal : kFaultSignals) sigaddset(&action.sa_mask, signal);
  for (size_t i = 0; i < std::size(kFaultSignals); ++i) {
    sigaction(kFaultSignals[i], nullptr, &gPrevious[i]);
    sigaction(kFaultSignals[i], &action, nullptr);
  }
}

void PrepareCallingThread() {
  static std::once_flag installed;
  std::call_once(installed, InstallHandlers);
  if (!tGuards.prepared) {
    tGuards.stack = PrepareThreadForGuards();
    tGuards.prepared = true;
  }
}

void SetInnermost(GuardFrame* guard) {
  tGuards.innermost = guard;
  std::atomic_signal_fence(std::memory_order_seq_cst);
}

bool AfterFault(const GuardFrame& guard, uint32_t* exceptionCode) {
  std::fesetenv(&guard.floatingPoint);
  tLastStackText = CallStackText(tGuards.frames, tGuards.frameCount);
  if (exceptionCode != nullptr) *exceptionCode = tGuards.exceptionCode;
  return false;
}

}  // namespace

bool RunGuardedCall(void (*body)(void*), void* context, uint32_t* exceptionCode) {
  PrepareCallingThread();
  GuardFrame guard;
  guard.outer = tGuards.innermost;
  std::fegetenv(&guard.floatingPoint);
  if (sigsetjmp(guard.context, 0) != 0) return AfterFault(guard, exceptionCode);
  SetInnermost(&guard);
  try {
    body(context);
  } catch (...) {
    SetInnermost(guard.outer);
    throw;
  }
  SetInnermost(guard.outer);
  return true;
}

}  // namespace qx

std::string QXLastFaultStackText() { return qx::tLastStackText; }
