// "CNFORIMP.DAT" (and a left-over "CNFORIMP.TMP"): every layout as its save
// accepts it: a name, both letter sequences, a known delimiter, filler 0.
#include <cstring>
#include <string>

#include "contract/import_layout_record.h"
#include "storage/check/record_shape.h"
#include "storage/check/side_check.h"

namespace qx::check {
namespace {

std::string LayoutProblem(const REGFORMATOIMPORT& layout) {
  if (layout.cNomeFormatoImportacao[0] == '\0') return "um nome vazio";
  if (layout.cSequenciaContabil[0] == '\0') return "uma sequência contábil vazia";
  if (layout.cSequenciaGerencial[0] == '\0') return "uma sequência gerencial vazia";
  if (layout.cDelimitador == 0 ||
      std::strchr(kImportDelimiters, static_cast<char>(layout.cDelimitador)) == nullptr) {
    return "o delimitador " + std::to_string(layout.cDelimitador) + " não é , : ; nem |";
  }
  if (layout.cFiller != 0) return "preenchimento " + std::to_string(layout.cFiller);
  return "";
}

}  // namespace

void CheckImportLayouts(const LoadedFile& file, Findings* findings) {
  const uint64_t records = CheckRecordShape(file, kImportLayoutRecordSize, findings);
  for (uint64_t p = 1; p <= records; ++p) {
    if (const std::string problem = LayoutProblem(file.At<REGFORMATOIMPORT>(p)); !problem.empty()) {
      findings->At("layout-field", file.name, Unit::kRecord, p, problem);
    }
  }
}

}  // namespace qx::check
