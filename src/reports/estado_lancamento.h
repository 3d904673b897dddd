// An entry's fields as the records of one event tell them: after a save (its
// new image, complement, split lines and amounts), or before an update or a
// removal (its old image, completed by the state the entry's previous save
// left where that state is the one the old image shows).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "outside/change_log/change_log_events.h"
#include "outside/change_log/reg_lan_atual.h"
#include "reports/historico.h"

namespace qx {

struct EstadoLancamento {
  RegLanAtual imagem{};
  std::string complemento;          // "" for none
  std::vector<LinhaRateioGravada> linhas;  // the split, in order
  int32_t primeiraLinha = 0;        // the split's first position, 0 without split
  std::optional<int64_t> moeda;     // the foreign-currency amount, when there is one
  uint32_t desconhecidos = 0;       // bit 1 << Campo: the log cannot tell that field
};

// nullopt when the event wrote no new record (a removal, an update undone).
std::optional<EstadoLancamento> EstadoDepois(const EventoLog& evento);
// The entry an update or a removal started from; `anterior` is the state
// after the entry's previous save, or null when the log has none.
std::optional<EstadoLancamento> EstadoAntes(const EventoLog& evento,
                                            const EstadoLancamento* anterior);
// The fields whose values differ, in field order; null: no entry on that side.
std::vector<Mudanca> Compara(const EstadoLancamento* antes, const EstadoLancamento* depois);

}  // namespace qx
