// The arithmetic of a managerial redistribution: how one split line's amount
// is shared among target accounts by percentages, and the new chain of an
// entry whose lines of one account are redistributed.
#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <vector>

#include "contract/records_split.h"
#include "storage/records/entry_records.h"

namespace qx {

// Lines that the new chain of one entry may hold.
inline constexpr std::size_t kLinhasAreaRedistribuicao = 5000;

// The part of each target account, in order: (valor x percentage, cut to
// cents) / 100, cut to cents; the last account takes what the others leave,
// so that the parts add up to valor exactly (0 if that cannot be held).
std::vector<CURRENCY> PartesDoValor(CURRENCY valor, std::span<const REG_REDISTR_GERENCIAL> contas);

enum class ResultadoCadeia {
  kSemMudanca,     // no line was redistributed
  kRedistribuida,  // *nova holds the new chain (possibly empty)
  kAreaCheia,      // the new chain would exceed kLinhasAreaRedistribuicao lines
};

// Builds the new chain of `antiga`: a line for which `redistribui` is true
// becomes one copy per target account with its part as amount (zero parts
// dropped); every other line is kept as it is.
ResultadoCadeia RedistribuiCadeia(const std::vector<REGLAN_GER>& antiga,
                                  const std::function<bool(const REGLAN_GER&)>& redistribui,
                                  std::span<const REG_REDISTR_GERENCIAL> contas,
                                  std::vector<REGLAN_GER>* nova);

}  // namespace qx
