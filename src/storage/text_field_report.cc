#include "storage/text_field_report.h"

#include <string>

#include "diagnostics/error_report.h"

namespace qx {

void ReportaTextoLongo(std::string_view texto, size_t tamanhoCampo, const char* unidade,
                       int linha) {
  if (texto.size() <= tamanhoCampo) return;
  const std::string relato = "Tamanho do campo = " + std::to_string(tamanhoCampo) +
                             "\tTamanho do texto = " + std::to_string(texto.size());
  ReportaErro(kCodigoTextoLongo, static_cast<HRESULT>(tamanhoCampo), nullptr, unidade, linha,
              relato.c_str());
}

}  // namespace qx
