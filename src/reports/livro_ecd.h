#pragma once
// The year's books as the bookkeeping file (ECD) states them
// (reports/ecd/livro.h), read through the service and the company's stores:
// the registration and signatories, the chart with the natures of its
// accounts, the standard histories, each month's balances by account and
// cost centre, the entries (read again each time the writer walks them, a
// month at a time), the result accounts' balances before the closing and the
// statements the chart gives.
//
// An entry's lines: its debit and its credit account for its value; the side
// a split names (each split line's accounting account) goes to the split's
// cost centres, line by line, and what the split leaves without a centre.
// The balances are summed from those same lines, so that the file's monthly
// movements are the sums of its entries' lines. Entries of value zero carry
// nothing and are left out; each branch numbers its entries from 1 in date
// and position order.

#include "reports/ecd/livro.h"
#include "reports/sessao.h"

namespace qx {

// The book of the calendar year `ano`. The balances it opens with sum the
// entries from where the books start (the accounting period's first day, as
// the balance sheet takes it). Only the year that holds closing entries has
// a result before the closing (I350), dated its last day. A failure of the
// service throws FalhaServico; a sum beyond 64 bits FalhaLocal.
ecd::Livro MontaLivroEcd(SessaoLancamento& servico, int ano);

}  // namespace qx
