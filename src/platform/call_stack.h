// Call stacks: capture of a thread's return addresses (fit for a signal handler) and their
// text with function names.
#pragma once

#include <string>

namespace qx {

inline constexpr int kMaxCallStackFrames = 64;

// Loads the unwinder now: its first use loads a library, which must not happen inside a
// signal handler.
void WarmUpCallStack();

// Fills frames with the calling thread's return addresses, innermost first, and gives their
// count. When `start` is among them, the frames before it (the capturing code's own, a signal
// handler's) are dropped and `start` comes first. Allocates nothing and takes no lock of its
// own once the unwinder is loaded; the unwinder itself takes the loader's lock to find the
// unwind tables.
int CaptureCallStack(void** frames, int capacity, const void* start);

// One line per frame, each ended by '\n': the demangled name of the function, or
// "module+0xoffset" when the module names none, or the bare address outside every module.
// Ends after a frame named "main" or "RaiseException". Frames after the first are return
// addresses and are looked up one byte back, inside the call instruction.
std::string CallStackText(void* const* frames, int count);

// The demangled name of the function that holds `address` (its "module+0xoffset", or the
// bare address, when no name is known).
std::string FunctionNameAt(const void* address);

}  // namespace qx
