#include "report.h"

#include <algorithm>
#include <ostream>
#include <string>

#include "storage/check/text_forms.h"

namespace qx::check {
namespace {

const char* ClassName(Gravity gravity) {
  return gravity == Gravity::kDamage ? "damage" : "admitted";
}

const char* UnitName(Unit unit) {
  switch (unit) {
    case Unit::kRecord:
      return "record";
    case Unit::kByte:
      return "byte";
    case Unit::kFile:
      break;
  }
  return "file";
}

// "CNLC0324.DAT record 3", "CNLG0324.DAT records 4-6", "CNLH0324.DAT bytes 1-5".
std::string Place(const Finding& finding) {
  std::string place = finding.file;
  if (finding.unit == Unit::kFile) return place;
  place += ' ';
  place += UnitName(finding.unit);
  if (finding.last != finding.position) place += 's';
  place += ' ' + std::to_string(finding.position);
  if (finding.last != finding.position) place += '-' + std::to_string(finding.last);
  return place;
}

std::string Position(const Finding& finding, uint64_t value) {
  return finding.unit == Unit::kFile ? "null" : std::to_string(value);
}

}  // namespace

void PrintText(const Report& report, std::ostream& out) {
  for (const Finding& finding : report.findings.all()) {
    out << ClassName(finding.kind->gravity) << "  " << Place(finding) << ": " << finding.reason
        << " [" << finding.kind->name << "]\n";
  }
  out << report.folder << ": " << report.files << " files checked, "
      << report.findings.Count(Gravity::kDamage) << " damage, "
      << report.findings.Count(Gravity::kAdmitted)
      << " admitted: " << (report.Sound() ? "sound" : "damaged") << '\n';
}

void PrintJson(const Report& report, std::ostream& out) {
  out << "{\"folder\":" << JsonString(report.folder) << ",\"files\":" << report.files
      << ",\"difference_mode\":" << report.options.modo
      << ",\"difference_per_branch\":" << (report.options.porFilial ? "true" : "false")
      << ",\"findings\":[";
  bool first = true;
  for (const Finding& finding : report.findings.all()) {
    out << (first ? "\n" : ",\n") << "{\"class\":\"" << ClassName(finding.kind->gravity)
        << "\",\"kind\":\"" << finding.kind->name << "\",\"file\":" << JsonString(finding.file)
        << ",\"unit\":\"" << UnitName(finding.unit)
        << "\",\"position\":" << Position(finding, finding.position)
        << ",\"last\":" << Position(finding, finding.last)
        << ",\"reason\":" << JsonString(finding.reason) << '}';
    first = false;
  }
  out << "],\n\"damage\":" << report.findings.Count(Gravity::kDamage)
      << ",\"admitted\":" << report.findings.Count(Gravity::kAdmitted)
      << ",\"sound\":" << (report.Sound() ? "true" : "false") << "}\n";
}

void PrintKinds(std::ostream& out) {
  for (const FindingKind& kind : FindingKinds()) {
    std::string name = kind.name;
    name.resize(std::max<size_t>(name.size(), 22), ' ');
    out << name << ' ' << (kind.gravity == Gravity::kDamage ? "damage  " : "admitted") << "  "
        << kind.meaning << '\n';
  }
}

}  // namespace qx::check
