#pragma once
// A month's stored entries and split lines as a client reads them in bulk,
// through the batch interface: each page is one call, in position order,
// well under the frame limit, so a month of any size is read. This is the
// way for reports (trial balance, statements, ledger, cost centres) and
// views that take whole months; searches with the service's filter go
// through reports/leitura.h.
//
//   for (CQXMesAno mes : meses) {
//     PercorreLancamentosDoMes(servico, mes, false, [&](const auto& pagina) {
//       for (const LancamentoDoMes& l : pagina) if (!l.Excluido()) ...
//     });
//   }
//
// Entries of branches that are not active for the session's user are left
// out, as the service's own month listing leaves them. A failure throws
// FalhaServico.

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "reports/sessao.h"
#include "values/qx_mes_ano.h"

namespace qx {

// One stored entry: its data as stored (a deleted one keeps its date and
// accounts), its position in the month and its status byte.
struct LancamentoDoMes {
  int32_t posicao = 0;
  uint8_t status = 0;       // 0 live, 1 deleted, 2 live with a foreign-currency amount
  RegDados dados{};         // Gerencial: the position of its first split line, 0 for none
  std::string complemento;  // Windows-1252, without its closing line end; only when asked for
  bool Excluido() const { return status == 1; }
};

// One stored split line: removed lines are zero, and the owner word (low 28
// bits of linha.Indlan) names the entry that a chain belongs to.
struct LinhaGerencialDoMes {
  int32_t posicao = 0;
  RegLan_Ger linha{};
  CURRENCY quantidade{};  // 0 where the company keeps no quantities
};

// Entries per page and split lines per page, the most the server gives.
inline constexpr int32_t kLancamentosPorPagina = 8192;
inline constexpr int32_t kLinhasGerenciaisPorPagina = 16384;

// Calls `pagina` with each page of the month's entries, from position 1 to
// the last; `complementos` also reads their complement texts.
void PercorreLancamentosDoMes(
    SessaoLancamento& servico, CQXMesAno mes, bool complementos,
    const std::function<void(const std::vector<LancamentoDoMes>&)>& pagina);
std::vector<LancamentoDoMes> LancamentosDoMes(SessaoLancamento& servico, CQXMesAno mes,
                                              bool complementos);
// The entries behind search keys based at `base` (at most
// kLancamentosPorPagina), with their complements, into *lidos (whose texts'
// room is used again), each with its key as its position: in the order
// asked, without keys of positions their month does not hold nor entries of
// inactive branches.
void LancamentosDasChaves(SessaoLancamento& servico, CQXMesAno base, std::vector<int32_t>& chaves,
                          std::vector<LancamentoDoMes>* lidos);

// The same for the month's split lines.
void PercorreGerenciaisDoMes(
    SessaoLancamento& servico, CQXMesAno mes,
    const std::function<void(const std::vector<LinhaGerencialDoMes>&)>& pagina);
std::vector<LinhaGerencialDoMes> GerenciaisDoMes(SessaoLancamento& servico, CQXMesAno mes);

// The split of each live entry that has one, by the entry's position: the
// chain of lines from its first one while the owner word's low 28 bits stay
// those of the first line, as the service reads a split.
std::map<int32_t, std::vector<LinhaGerencialDoMes>> RateiosDoMes(
    const std::vector<LancamentoDoMes>& lancamentos,
    const std::vector<LinhaGerencialDoMes>& linhas);

}  // namespace qx
