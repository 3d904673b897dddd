// Report of a text that does not fit its fixed-size field (code 987654358).
#pragma once

#include <cstddef>
#include <string_view>

namespace qx {

inline constexpr int kCodigoTextoLongo = 987654358;

// When `texto` is longer than `tamanhoCampo`, hands the field size and the
// text's length to the suite's error reporter, naming the source unit and line.
void ReportaTextoLongo(std::string_view texto, size_t tamanhoCampo, const char* unidade, int linha);

}  // namespace qx
