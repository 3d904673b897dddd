// The origin selection of the search filter, prepared once per search from
// the flags of SetFiltroOrigem: whether it is active, and which origin module
// codes (low 8 bits of an entry's lChaveModulo) it admits.
#pragma once

#include <array>
#include <cstdint>

#include "contract/records_search.h"

namespace qx {

class SelecaoOrigem {
 public:
  explicit SelecaoOrigem(const REG_FILTRO_LAN& filtro);

  // At least one origin flag other than the six financial ones and the
  // checked/IFRS tests is set; an inactive selection admits everything.
  bool Ativa() const { return m_ativa; }

  // Whether an active selection admits an entry of this origin key: an empty
  // key (0) only with bContabilidade; otherwise the flag its module maps to
  // must be set (a batch with a batch number set must also carry that
  // number as its origin key).
  bool Admite(int32_t lChaveModulo) const;

 private:
  bool m_ativa = false;
  bool m_contabilidade = false;
  int32_t m_numeroLote = 0;
  std::array<bool, 256> m_modulos{};
};

}  // namespace qx
