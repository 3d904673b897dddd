#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

// A process-wide plan of injected file failures for tests, consulted by every CFile operation.
//
//   qx::FileFaultsGuard guard;  // clears the plan at scope end
//   qx::FileFaults::Arm(qx::FileOp::Write, 3, CFileException::diskFull, "CNLC");
//
// makes the 3rd Write on a path containing "CNLC" (ignoring case) throw diskFull. An injected
// Open failure makes Open return false with the cause; any other operation throws
// CFileException. The failing call does nothing (a failing Close still closes the file), except
// a Write armed with ArmPartialWrite, which first writes part of its bytes, as a disk that fills
// in the middle of a write does, and one armed with ArmExit, which ends the process.
// A fault sweep counts the calls of an operation first (Count, Calls) and then fails each in
// turn. With nothing armed and no counting, a file operation pays one relaxed atomic load.
namespace qx {

enum class FileOp {
  Open,
  Read,
  Write,
  Seek,
  GetLength,
  SetLength,
  Flush,
  Close,
  Remove,
  Rename,
  Any
};

class FileFaults {
 public:
  // Among the calls of op (Any: of every operation) on paths containing pathPart (ignoring case;
  // empty: every path), counted from now and starting at 1, calls nth to nth + count - 1 fail
  // with cause. Several rules may be armed; the first that fires wins.
  static void Arm(FileOp op, int nth, int cause, std::string_view pathPart = {}, int count = 1);
  // The nth Write on paths containing pathPart writes its first `bytes` bytes (all of them when
  // it has fewer) and then fails with cause.
  static void ArmPartialWrite(int nth, int cause, uint32_t bytes, std::string_view pathPart = {});
  // The nth Write on paths containing pathPart ends the process at once, with exit code
  // kCodigoSaida, before it writes: a process killed in the middle of its work.
  static void ArmExit(int nth, std::string_view pathPart = {});
  static constexpr int kCodigoSaida = 77;
  // Starts counting the calls on paths containing pathPart, from zero.
  static void Count(std::string_view pathPart = {});
  // Calls of op counted since Count (Any: of all operations).
  static uint64_t Calls(FileOp op);
  // Disarms every rule and stops counting.
  static void Clear();

  // The cause injected into this call (0 when none); called by the file operations. For a
  // Write, *written (when given) receives the bytes to write before failing: 0 unless the rule
  // was armed with ArmPartialWrite.
  static int Check(FileOp op, const std::string& path, uint32_t* written = nullptr) {
    if (written != nullptr) *written = 0;
    return active_.load(std::memory_order_relaxed) ? CheckArmed(op, path, written) : 0;
  }
  // Throws the failure injected into this call, if any, as CFileException (by pointer).
  static void ThrowIfInjected(FileOp op, const std::string& path) {
    if (int cause = Check(op, path)) ThrowInjected(cause, path);
  }

 private:
  [[noreturn]] static void ThrowInjected(int cause, const std::string& path);
  static int CheckArmed(FileOp op, const std::string& path, uint32_t* written);
  static std::atomic<bool> active_;
};

// Clears the plan when it goes out of scope.
class FileFaultsGuard {
 public:
  FileFaultsGuard() = default;
  FileFaultsGuard(const FileFaultsGuard&) = delete;
  FileFaultsGuard& operator=(const FileFaultsGuard&) = delete;
  ~FileFaultsGuard() { FileFaults::Clear(); }
};

}  // namespace qx
