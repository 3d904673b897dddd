// Loading a stored entry into the current entry: the fields of its record and
// its foreign-currency amount. Shared by the direct and the keyed reads.
#pragma once

#include <cstdint>

#include "lancamento/lancamento_atual.h"
#include "storage/qx_arq.h"
#include "storage/records/entry_records.h"

namespace qx {

// The record's fields and the month and position it was read from; no
// foreign-currency amount yet. The complement text and the previous split
// position are left to the caller.
void CarregaLancamento(const EntryRecord& registro, uint16_t mesAno, uint32_t indlan,
                       LancamentoAtual* atual);

// Reads entry `indlan`'s amount from the month's open CNLM into ValorMoeda;
// a zero amount sets cGravarZero to 'S'. 0 or the failing read's status.
int CarregaValorMoeda(CQXarq& moeda, uint32_t indlan, LancamentoAtual* atual);

}  // namespace qx
