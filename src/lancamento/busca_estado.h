// What the searches and listings keep in an entry service object between
// calls: the collected entry keys, the scratch list of the account search,
// the company list and the date range of the last web listing.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "contract/records_search.h"
#include "values/qx_data.h"

// One entry taken by the account search, sorted by date and then position.
struct REGSORT_CONTA {
  CQXData Data;
  uint32_t Posicao = 0;
};

namespace qx {

struct BuscaEstado {
  // Indlan keys: month offset from the search's base month in the high 8
  // bits, record position in the low 24.
  std::vector<int32_t> resultado;
  // Emptied at the end of every account search.
  std::vector<REGSORT_CONTA> ordenacaoConta;
  // Kept from GetQuantidadeEmpresas to GetEmpresas; empty optional: no list.
  std::optional<std::vector<EmpresasLancamento>> empresas;
  // Day numbers set by every web listing (as the filter gave them in its
  // filtered mode); 0 until the first.
  uint32_t dataInicialWeb = 0;
  uint32_t dataFinalWeb = 0;
};

}  // namespace qx
