// Hands a failure to the suite's error-report library "QXMens", which shows or
// stores it as the suite does. Without the library this does nothing.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/com_types.h"

namespace qx {

// The library's entry point, with its ten values in call order: report code,
// HRESULT, number (0x7FFFFFFF), company text (null for none), source unit,
// line, flag (1), reserved (null), full path of the executable (at most 260
// characters) and report text. Texts are Windows-1252. The result is ignored.
using QXTrataErroExportedFn = int (*)(HRESULT codigo, HRESULT hr, int32_t numero,
                                      const char* empresa, const char* unidade, int linha, int flag,
                                      const char* reservado, const char* executavel,
                                      const char* texto);

inline constexpr int32_t kNumeroRelatorio = 0x7FFFFFFF;
inline constexpr size_t kMaxCaminhoExecutavel = 260;

// Loads the library from the installation's "x64" folder, calls its
// QXTrataErroExported and unloads it. empresa may be null.
void ReportaErro(HRESULT codigo, HRESULT hr, const char* empresa, const char* unidade, int linha,
                 const char* texto);

}  // namespace qx
