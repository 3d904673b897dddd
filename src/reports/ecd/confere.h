#pragma once
// The checker of a bookkeeping file (ECD, leiaute 9, book type G), over any
// file, streamed: its form (fields, formats, order, block counts, 9900,
// 9999), the chart, the balances, the entries, the closing, the statements
// and the signatories. It holds the chart, the month's balances by account
// and the statements, never the entries.

#include <cstdint>
#include <functional>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

namespace qx::ecd {

// One problem: where, which rule, what was found and what to change in the
// books or in the registration. Texts are UTF-8.
struct Problema {
  uint64_t linha = 0;  // 0: the file as a whole
  std::string registro;
  std::string regra;
  std::string encontrado;
  std::string correcao;
};

// "linha 12 (I250) LANCAMENTO_PARTIDAS: found. Corrija: what to change".
std::string TextoProblema(const Problema& problema);

// Reads the whole file, handing each problem to `relata` (the end's in line
// order); the number of problems.
uint64_t ConfereEcd(std::istream& arquivo, const std::function<void(const Problema&)>& relata);

// The rules of the authority's validation program this checker does not
// check, one a line, for people to know what remains to the program.
const std::vector<std::string_view>& RegrasNaoConferidas();

}  // namespace qx::ecd
