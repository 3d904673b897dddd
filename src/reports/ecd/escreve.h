#pragma once
// The bookkeeping file (ECD, leiaute 9, book type G) of the books: blocks 0,
// I, J and 9, streamed to the destination. Nothing is held but the model's
// own data and one entry at a time; the entries are walked twice (the
// opening term states the file's line count before the entries come).

#include <ostream>
#include <string>

#include "reports/ecd/livro.h"

namespace qx::ecd {

// The file's number of an entry: unique across branches ("2-1045").
std::string NumeroLancamento(const Lancamento& lancamento);
void EscreveEcd(const Livro& livro, std::ostream& destino);

}  // namespace qx::ecd
