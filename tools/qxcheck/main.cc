// qxcheck: checks the record files of a company folder, read-only, and
// reports every inconsistency with its file, position and reason.
#include <string>

#include "common/argumentos.h"
#include "common/falhas.h"
#include "common/programa.h"
#include "common/saida.h"
#include "company_options.h"
#include "report.h"

namespace {

using qx::cli::Argumentos;
using qx::cli::FalhaLocal;
using qx::cli::Saida;

constexpr char kNotes[] =
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
    "options set, the company defaults apply: mode 0, not per branch.\n"
    "\n"
    "Exit status: 0 no damage; 1 damage found, or the folder or the company's\n"
    "configuration cannot be read; 2 bad arguments.\n";

void Check(const Argumentos& args, Saida& saida) {
  if (args.Marca("kinds")) {
    qx::check::ShowKinds(saida);
    return;
  }
  const std::string company = args.Valor("company").value_or("");
  std::string folder = args.Posicionais().empty() ? "" : args.Posicionais()[0];
  if (folder.empty() && company.empty()) throw qx::cli::ErroUso{"no folder given"};
  qx::check::DifferenceOptions options;
  std::string error;
  if (!company.empty()) {
    if (!qx::check::ReadCompanyOptions(company, &options, &error)) {
      throw FalhaLocal("company " + company + ": " + error,
                       "see the companies: qxadmin company list");
    }
    if (folder.empty()) folder = qx::check::CompanyAccountingFolder(company);
    if (folder.empty()) throw FalhaLocal("company " + company + " has no accounting folder");
  }
  if (const auto mode = args.Inteiro("difference-mode", 0, 255)) {
    options.modo = static_cast<uint16_t>(*mode);
  }
  if (const auto perBranch = args.Inteiro("difference-per-branch", 0, 1)) {
    options.porFilial = *perBranch != 0;
  }
  qx::check::Report report;
  if (!qx::check::CheckFolder(folder, options, &report, &error)) throw FalhaLocal(error);
  qx::check::Show(report, saida);
  if (!report.Sound()) throw FalhaLocal("damage found in " + folder, "see the findings");
}

}  // namespace

int main(int argc, char** argv) {
  const qx::cli::Programa qxcheck = {
      .nome = "qxcheck",
      .resumo = "checks a company folder's record files, read-only",
      .notas = kNotes,
      .idioma = qx::cli::Idioma::kIngles,
      .globais = qx::cli::OpcoesSaida(qx::cli::Idioma::kIngles),
      .comandos = {{"",
                    "[FOLDER]",
                    "checks the files of FOLDER, or of the company's accounting folder",
                    {{"company", "CODE", "the company whose configuration (and folder) to use"},
                     {"difference-mode", "N", "0 date and user, 1 date, 2 month and user, 3 month"},
                     {"difference-per-branch", "0|1", "totals kept per branch", false, "0 1"},
                     {"kinds", "", "lists the kinds of findings with their gravity"}},
                    Check}},
  };
  return qx::cli::Executa(qxcheck, argc, argv);
}
