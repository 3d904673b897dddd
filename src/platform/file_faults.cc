// The process-wide plan of injected file failures.
#include "platform/file_faults.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <mutex>
#include <vector>

#include "platform/codepage.h"
#include "platform/file_exception.h"

namespace qx {
namespace {

constexpr size_t kOps = static_cast<size_t>(FileOp::Any) + 1;
// The cause of a rule that ends the process (no failure cause has it).
constexpr int kCausaSaida = -1;

struct Rule {
  FileOp op;
  uint64_t first;
  uint64_t count;
  int cause;
  std::string pathPart;
  uint32_t written = 0;  // bytes a failing Write writes first
  uint64_t seen = 0;
};

struct Plan {
  std::mutex mutex;
  std::vector<Rule> rules;
  bool counting = false;
  std::string countPart;
  std::array<uint64_t, kOps> calls{};
};

Plan& ThePlan() {
  static Plan plan;
  return plan;
}

bool ContainsIgnoringCase(const std::string& path, const std::string& part) {
  auto same = [](char a, char b) { return Cp1252ToUpper(a) == Cp1252ToUpper(b); };
  return std::search(path.begin(), path.end(), part.begin(), part.end(), same) != path.end();
}

}  // namespace

std::atomic<bool> FileFaults::active_{false};

void FileFaults::Arm(FileOp op, int nth, int cause, std::string_view pathPart, int count) {
  Plan& plan = ThePlan();
  std::lock_guard lock(plan.mutex);
  plan.rules.push_back({op, static_cast<uint64_t>(std::max(nth, 1)),
                        static_cast<uint64_t>(std::max(count, 1)), cause, std::string(pathPart)});
  active_.store(true, std::memory_order_relaxed);
}

void FileFaults::ArmPartialWrite(int nth, int cause, uint32_t bytes, std::string_view pathPart) {
  Plan& plan = ThePlan();
  std::lock_guard lock(plan.mutex);
  plan.rules.push_back(
      {FileOp::Write, static_cast<uint64_t>(std::max(nth, 1)), 1, cause, std::string(pathPart), bytes});
  active_.store(true, std::memory_order_relaxed);
}

void FileFaults::ArmExit(int nth, std::string_view pathPart) {
  Plan& plan = ThePlan();
  std::lock_guard lock(plan.mutex);
  plan.rules.push_back(
      {FileOp::Write, static_cast<uint64_t>(std::max(nth, 1)), 1, kCausaSaida, std::string(pathPart)});
  active_.store(true, std::memory_order_relaxed);
}

void FileFaults::Count(std::string_view pathPart) {
  Plan& plan = ThePlan();
  std::lock_guard lock(plan.mutex);
  plan.counting = true;
  plan.countPart = pathPart;
  plan.calls.fill(0);
  active_.store(true, std::memory_order_relaxed);
}

uint64_t FileFaults::Calls(FileOp op) {
  Plan& plan = ThePlan();
  std::lock_guard lock(plan.mutex);
  return plan.calls[static_cast<size_t>(op)];
}

void FileFaults::Clear() {
  Plan& plan = ThePlan();
  std::lock_guard lock(plan.mutex);
  plan.rules.clear();
  plan.counting = false;
  plan.countPart.clear();
  plan.calls.fill(0);
  active_.store(false, std::memory_order_relaxed);
}

int FileFaults::CheckArmed(FileOp op, const std::string& path, uint32_t* written) {
  Plan& plan = ThePlan();
  std::lock_guard lock(plan.mutex);
  if (plan.counting && ContainsIgnoringCase(path, plan.countPart)) {
    ++plan.calls[static_cast<size_t>(op)];
    ++plan.calls[static_cast<size_t>(FileOp::Any)];
  }
  int cause = 0;
  for (Rule& rule : plan.rules) {
    if ((rule.op != FileOp::Any && rule.op != op) || !ContainsIgnoringCase(path, rule.pathPart)) {
      continue;
    }
    ++rule.seen;
    if (cause == 0 && rule.seen >= rule.first && rule.seen - rule.first < rule.count) {
      if (rule.cause == kCausaSaida) _exit(kCodigoSaida);
      cause = rule.cause;
      if (written != nullptr) *written = rule.written;
    }
  }
  return cause;
}

void FileFaults::ThrowInjected(int cause, const std::string& path) {
  CFileException::Throw(cause, CFileException::ExceptionToOsError(cause), path.c_str());
}

}  // namespace qx
