// qxdump: prints a record file of a company folder as a table or as JSON.
#include <charconv>
#include <cstring>
#include <iostream>
#include <optional>
#include <string_view>

#include "dump.h"

namespace {

constexpr char kUsage[] =
    "usage: qxdump [--json] FILE [FIRST[-[LAST]]]\n"
    "\n"
    "Prints one record file of a company folder as a table, or with --json as\n"
    "one JSON object (texts in UTF-8). The layout follows the file name, in any\n"
    "spelling:\n"
    "  CNLCmmyy.DAT  entries, dates rebuilt from the day and the file's month\n"
    "  CNLGmmyy.DAT  managerial split lines and their chains\n"
    "  CNLQmmyy.DAT  managerial quantities\n"
    "  CNLMmmyy.DAT  foreign-currency amounts\n"
    "  CNLHmmyy.DAT  complement texts by offset (split by the entries of CNLC)\n"
    "  QXCTLARQ.DAT  names of the files made by controlled creation\n"
    "  CNDIFDC.DAT   debit/credit differences\n"
    "  CNFORIMP.DAT  import layouts (also CNFORIMP.TMP)\n"
    "  CNNTEXPL.DAT  explanatory note index\n"
    "  CNNTEXCP.DAT  explanatory note texts by offset\n"
    "\n"
    "The range selects record positions (byte offsets for CNLH and CNNTEXCP);\n"
    "without it every data record is printed. The file is opened for reading\n"
    "and shared with every writer, so a live folder is safe to read.\n"
    "\n"
    "Exit status: 0 printed; 1 the file cannot be opened; 2 bad arguments or a\n"
    "file name of no known layout; 3 printed what could be read of a damaged\n"
    "file (see the notes).\n";

std::optional<uint64_t> ParseNumber(std::string_view text) {
  uint64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return {};
  return value;
}

// "N", "N-M" or "N-".
std::optional<qx::dump::Range> ParseRange(std::string_view text) {
  const size_t dash = text.find('-');
  const auto first = ParseNumber(text.substr(0, dash));
  if (!first) return {};
  if (dash == std::string_view::npos) return qx::dump::Range{*first, *first};
  if (dash + 1 == text.size()) return qx::dump::Range{*first, UINT64_MAX};
  const auto last = ParseNumber(text.substr(dash + 1));
  if (!last || *last < *first) return {};
  return qx::dump::Range{*first, *last};
}

int Usage(const char* problem) {
  std::cerr << "qxdump: " << problem << "\n\n" << kUsage;
  return qx::dump::kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
  qx::dump::Options options;
  const char* file = nullptr;
  const char* range = nullptr;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      return qx::dump::kExitOk;
    }
    if (arg == "--json") {
      options.json = true;
    } else if (arg.size() > 1 && arg[0] == '-') {
      return Usage("unknown option");
    } else if (!file) {
      file = argv[i];
    } else if (!range) {
      range = argv[i];
    } else {
      return Usage("too many arguments");
    }
  }
  if (!file) return Usage("no file given");
  if (range) {
    options.range = ParseRange(range);
    if (!options.range) return Usage("a range is FIRST, FIRST-LAST or FIRST-");
  }
  return qx::dump::DumpFile(file, options, std::cout, std::cerr);
}
