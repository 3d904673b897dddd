// qxdump: prints a record file of a company folder as a table, JSON or CSV.
#include <charconv>
#include <iostream>
#include <optional>
#include <string_view>

#include "common/argumentos.h"
#include "common/falhas.h"
#include "common/programa.h"
#include "common/saida.h"
#include "dump.h"

namespace {

constexpr char kNotes[] =
    "Prints one record file of a company folder as a table, or as one JSON object\n"
    "(texts in UTF-8), or its records as CSV. The layout follows the file name, in\n"
    "any spelling:\n"
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
    "Exit status: 0 printed; 1 the file cannot be opened, or it is damaged and\n"
    "was printed as far as it reads (see the notes); 2 bad arguments or a file\n"
    "name of no known layout.\n";

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

void Dump(const qx::cli::Argumentos& args, qx::cli::Saida& saida) {
  qx::dump::Options options;
  options.form = saida.formato() == qx::cli::Formato::kJson  ? qx::dump::Form::kJson
                 : saida.formato() == qx::cli::Formato::kCsv ? qx::dump::Form::kCsv
                                                             : qx::dump::Form::kTable;
  const std::vector<std::string>& words = args.Posicionais();
  if (words.size() > 1) {
    options.range = ParseRange(words[1]);
    if (!options.range) throw qx::cli::ErroUso{"a range is FIRST, FIRST-LAST or FIRST-"};
  }
  qx::dump::DumpFile(words[0], options, std::cout);
}

}  // namespace

int main(int argc, char** argv) {
  const qx::cli::Programa qxdump = {
      .nome = "qxdump",
      .resumo = "prints a record file of a company folder",
      .notas = kNotes,
      .globais = qx::cli::OpcoesSaida(),
      .comandos = {{"", "FILE [FIRST[-[LAST]]]", "prints a record file", {}, Dump}},
  };
  return qx::cli::Executa(qxdump, argc, argv);
}
