#include "report.h"

#include <string>

#include "common/tabela.h"
#include "storage/check/text_forms.h"

namespace qx::check {
namespace {

const char* ClassName(Gravity gravity) { return gravity == Gravity::kDamage ? "dano" : "admitido"; }

const char* UnitName(Unit unit) {
  switch (unit) {
    case Unit::kRecord:
      return "registro";
    case Unit::kByte:
      return "byte";
    case Unit::kFile:
      break;
  }
  return "arquivo";
}

// "CNLC0324.DAT registro 3", "CNLG0324.DAT registros 4-6", "CNLH0324.DAT bytes 1-5".
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

cli::Celula Position(const Finding& finding, uint64_t value) {
  return finding.unit == Unit::kFile ? cli::Celula() : cli::Celula(value);
}

}  // namespace

void Show(const Report& report, cli::Saida& saida) {
  saida.Campo("folder", report.folder);
  saida.Campo("files", report.files);
  saida.Campo("difference_mode", report.options.modo);
  saida.Campo("difference_per_branch", report.options.porFilial);
  cli::Tabela findings({"class", "kind", "file", "unit", "position", "last", "reason"});
  for (const Finding& finding : report.findings.all()) {
    findings.Linha({ClassName(finding.kind->gravity), finding.kind->name, finding.file,
                    UnitName(finding.unit), Position(finding, finding.position),
                    Position(finding, finding.last), finding.reason});
    saida.Aviso(std::string(ClassName(finding.kind->gravity)) + "  " + Place(finding) + ": " +
                finding.reason + " [" + finding.kind->name + "]");
  }
  if (!saida.ParaPessoas()) saida.Mostra("findings", "", findings);
  const size_t damage = report.findings.Count(Gravity::kDamage);
  const size_t admitted = report.findings.Count(Gravity::kAdmitted);
  saida.Campo("damage", damage);
  saida.Campo("admitted", admitted);
  saida.Campo("sound", report.Sound());
  saida.Aviso(report.folder + ": " + Counted(report.files, "arquivo") + " conferido" +
              (report.files == 1 ? "" : "s") + ", " + Counted(damage, "dano") + ", " +
              Counted(admitted, "admitido") + ": " + (report.Sound() ? "sem dano" : "com dano"));
}

void ShowKinds(cli::Saida& saida) {
  // The JSON keys and CSV headings stay as scripts know them; people read
  // the headings in Portuguese.
  cli::Tabela kinds(saida.ParaPessoas() ? std::vector<std::string>{"tipo", "classe", "significado"}
                                        : std::vector<std::string>{"kind", "class", "meaning"});
  for (const FindingKind& kind : FindingKinds()) {
    kinds.Linha({kind.name, ClassName(kind.gravity), kind.meaning});
  }
  saida.Mostra("kinds", "", kinds);
}

}  // namespace qx::check
