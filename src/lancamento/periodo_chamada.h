// The closed period as the entry operations check it. Another process may
// close a period while this object lives, so each call of the interface that
// writes an entry reads it again: once, at the first date it checks, for all
// the entries the call touches (a batch, the removals of an import).
#pragma once

#include <optional>

#include "outside/admin/periodo_fechado.h"
#include "platform/com_types.h"
#include "values/qx_data.h"

class CLancamentoBase;

namespace qx {

// Made at the start of an operation that writes entries, for the length of
// the call, on the calling thread. Inside another operation's on the same
// object (a removal called by the removal of imports) it uses the outer
// one's reading.
class PeriodoDaChamada {
 public:
  explicit PeriodoDaChamada(CLancamentoBase& objeto);
  ~PeriodoDaChamada();
  PeriodoDaChamada(const PeriodoDaChamada&) = delete;
  PeriodoDaChamada& operator=(const PeriodoDaChamada&) = delete;

 private:
  friend HRESULT RecusaPeriodoFechado(CLancamentoBase& objeto, CQXData data);

  // The period, read at the first question; the failure of that reading.
  HRESULT Le(const PeriodoFechado** periodo);

  CLancamentoBase& objeto_;
  PeriodoDaChamada* anterior_;  // the thread's scope before this one
  PeriodoDaChamada* externa_;   // the outer operation's on the same object, or null
  std::optional<PeriodoFechado> periodo_;
  HRESULT leitura_ = S_OK;
};

// kHrPeriodoFechado when `data` lies in the company's closed period, with an
// error log line that names the period, who closed it and how to reopen it;
// the failure to read the period; S_OK otherwise. Outside an operation's
// PeriodoDaChamada the period is read for this check alone.
HRESULT RecusaPeriodoFechado(CLancamentoBase& objeto, CQXData data);

}  // namespace qx
