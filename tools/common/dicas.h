// What to do about the common failures. The descriptions of the codes live
// with the codes (diagnostics/code_texts.h); the hints live here because they
// name the tools' own commands (ostrel -RegServer, qxadmin empresa lista),
// which the server never shows.
#pragma once

#include <string_view>

#include "platform/com_types.h"

namespace qx::cli {

struct Dica {
  HRESULT hr;
  const char* contexto;   // the call it applies to (a prefix), or null for every call
  const char* descricao;  // what the code means after that call, or null for its usual text
  const char* oQueFazer;
};

// The hint for a failure of that call: one for the call first, then one for
// the code alone; null when there is none.
const Dica* ProcuraDica(HRESULT hr, std::string_view contexto);

// Hints of failures without a code.
inline constexpr const char* kDicaPeriodoFechado =
    "o período está fechado para exclusões: veja as datas removal-* e blocked-* em "
    "qxadmin config mostra EMPRESA";

}  // namespace qx::cli
