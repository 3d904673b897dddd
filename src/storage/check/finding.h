// What a check of a company folder finds: one finding per inconsistency, with
// the file, the position (a record number or a byte offset) and the reason.
//
// Each kind of finding has a fixed gravity (finding_kinds.cc lists them all):
// damage, which the system's own writing never leaves behind, or a state the
// system admits: what a save, a removal or a month's re-creation leaves when
// it is interrupted half way (the entry record written and its later steps
// missing), and texts that stay behind by design (replaced complements and
// notes). Only damage makes a folder unsound.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qx::check {

enum class Gravity {
  kDamage,
  kAdmitted,
};

// Where in its file a finding lies.
enum class Unit {
  kFile,    // the file as a whole: no position
  kRecord,  // a record number
  kByte,    // a byte offset (heaps)
};

struct FindingKind {
  const char* name;  // "entry-status", ...
  Gravity gravity;
  const char* meaning;  // one line for people
};

// Every kind, in the order of the checks.
std::span<const FindingKind> FindingKinds();
// The kind of that name; null for none.
const FindingKind* FindKind(std::string_view name);

struct Finding {
  const FindingKind* kind;
  std::string file;  // name without folder, as spelled in the folder
  Unit unit = Unit::kFile;
  uint64_t position = 0;  // first position; kRecord and kByte only
  uint64_t last = 0;      // last position of a run (== position for one)
  std::string reason;
};

class Findings {
 public:
  // kind must name an entry of FindingKinds().
  void Add(std::string_view kind, const std::string& file, std::string reason);
  void At(std::string_view kind, const std::string& file, Unit unit, uint64_t position,
          std::string reason);
  void Run(std::string_view kind, const std::string& file, Unit unit, uint64_t first, uint64_t last,
           std::string reason);

  const std::vector<Finding>& all() const { return findings_; }
  size_t Count(Gravity gravity) const;

 private:
  std::vector<Finding> findings_;
};

}  // namespace qx::check
