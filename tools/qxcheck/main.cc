// qxcheck: checks the record files of a company folder, read-only, and
// reports every inconsistency with its file, position and reason.
#include <charconv>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include "company_options.h"
#include "report.h"

namespace {

constexpr int kExitSound = 0;
constexpr int kExitDamaged = 1;
constexpr int kExitUsage = 2;

constexpr char kUsage[] =
    "usage: qxcheck [--json] [--company CODE] [--difference-mode N]\n"
    "               [--difference-per-branch 0|1] [FOLDER]\n"
    "       qxcheck --kinds\n"
    "\n"
    "Checks the files of a company's accounting folder: record sizes and lengths,\n"
    "the entries' status and day bytes, complement offsets, split chains, the\n"
    "quantities and foreign-currency amounts beside them, the debit/credit\n"
    "differences against the entries, the control file, the import layouts and\n"
    "the explanatory notes. Files are opened for reading only and shared with\n"
    "every writer, so a live folder is safe to check.\n"
    "\n"
    "Each finding is damage, or a state the system admits (what an interrupted\n"
    "save, removal or month re-creation leaves, and texts kept by design);\n"
    "--kinds lists them all. The differences are grouped as the company's\n"
    "configuration says: --company reads it from the company's suite database\n"
    "(and gives the folder when FOLDER is left out); without it, and for what the\n"
    "options below set, the company defaults apply: mode 0, not per branch.\n"
    "  --difference-mode N          0 date and user, 1 date, 2 month and user, 3 month\n"
    "  --difference-per-branch 0|1  totals kept per branch\n"
    "  --json                       one JSON object instead of lines\n"
    "\n"
    "Exit status: 0 no damage; 1 damage found; 2 bad arguments, or the folder or\n"
    "the company's configuration cannot be read.\n";

int Usage(const std::string& problem) {
  std::cerr << "qxcheck: " << problem << "\n\n" << kUsage;
  return kExitUsage;
}

std::optional<uint16_t> Number(std::string_view text, unsigned max) {
  unsigned value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty() || value > max) {
    return std::nullopt;
  }
  return static_cast<uint16_t>(value);
}

struct Arguments {
  bool json = false;
  std::string company;
  std::optional<uint16_t> modo;
  std::optional<uint16_t> porFilial;
  std::string folder;
};

// "" when the arguments are read; else the problem.
std::string Parse(int argc, char** argv, Arguments* args) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--json") {
      args->json = true;
    } else if (arg == "--company" && hasValue) {
      args->company = argv[++i];
    } else if (arg == "--difference-mode" && hasValue) {
      if (!(args->modo = Number(argv[++i], 255))) return "a mode is a number from 0 to 255";
    } else if (arg == "--difference-per-branch" && hasValue) {
      if (!(args->porFilial = Number(argv[++i], 1))) return "per branch is 0 or 1";
    } else if (!arg.empty() && arg[0] == '-') {
      return "unknown option or missing value: " + std::string(arg);
    } else if (args->folder.empty()) {
      args->folder = arg;
    } else {
      return "more than one folder";
    }
  }
  if (args->folder.empty() && args->company.empty()) return "no folder given";
  return "";
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      return kExitSound;
    }
    if (arg == "--kinds") {
      qx::check::PrintKinds(std::cout);
      return kExitSound;
    }
  }
  Arguments args;
  if (const std::string problem = Parse(argc, argv, &args); !problem.empty()) {
    return Usage(problem);
  }
  qx::check::DifferenceOptions options;
  std::string error;
  if (!args.company.empty()) {
    if (!qx::check::ReadCompanyOptions(args.company, &options, &error)) {
      std::cerr << "qxcheck: company " << args.company << ": " << error << '\n';
      return kExitUsage;
    }
    if (args.folder.empty()) args.folder = qx::check::CompanyAccountingFolder(args.company);
    if (args.folder.empty()) {
      std::cerr << "qxcheck: company " << args.company << " has no accounting folder\n";
      return kExitUsage;
    }
  }
  if (args.modo) options.modo = *args.modo;
  if (args.porFilial) options.porFilial = *args.porFilial != 0;

  qx::check::Report report;
  if (!qx::check::CheckFolder(args.folder, options, &report, &error)) {
    std::cerr << "qxcheck: " << error << '\n';
    return kExitUsage;
  }
  if (args.json) {
    qx::check::PrintJson(report, std::cout);
  } else {
    qx::check::PrintText(report, std::cout);
  }
  return report.Sound() ? kExitSound : kExitDamaged;
}
