#pragma once
// The period a report covers and where its opening balances start: the
// balance before the period sums the entries from `desde` to the day before
// `de`.

#include <cstdint>

#include "values/qx_data.h"

namespace qx {

struct Periodo {
  CQXData desde;        // first day the opening balances read
  CQXData de;           // first day of the period
  CQXData ate;          // last day of the period
  uint16_t filial = 0;  // 0: every active branch of the user
};

// Where the books start for a period beginning on `de`: the first day of the
// company's accounting period when it is set and not after `de`, else
// 1 January of the year of `de`.
CQXData InicioDosLivros(CQXData inicioExercicio, CQXData de);

}  // namespace qx
