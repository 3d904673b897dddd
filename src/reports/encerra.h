#pragma once
// Closing a year and reopening it, through the service. The closing saves
// its entries (reports/encerramento.h) in one call of the batch interface,
// all or nothing; reopening removes them one by one and, when a removal
// fails, saves those it had removed again, so that the year stays closed as
// a whole. Both need every branch of the company active for the user: a
// branch the user cannot see would keep its result.
//
// Closing takes no period lock: a company that records its closed periods in
// the accounting master's refused range closes the year first and then the
// period up to its last day, and reopens in the other order.

#include <cstdint>
#include <vector>

#include "reports/encerramento.h"
#include "reports/leitura.h"

namespace qx {

struct PedidoEncerramento {
  int ano = 0;
  int32_t contaResultado = 0;  // the equity account that receives the result
  bool simular = false;        // only work out the entries
};

struct Encerramento {
  Exercicio exercicio;
  Conta patrimonio;
  std::vector<LancamentoLido> lancamentos;  // at their positions; at 0 when simulated
  Total resultado;  // credited to equity: the year's result, a loss negative
};

// A year closed already, an equity account that is not one, a branch the
// user lacks: FalhaLocal, saying what to do. Entries the rules of a save
// refuse: FalhaRecusa. A save the server refuses: FalhaServico (nothing
// saved, or what stayed said).
Encerramento Encerra(SessaoLancamento& servico, const PedidoEncerramento& pedido);

// The year's closing entries, found by their origin key on its last day.
std::vector<LancamentoLido> LeEncerramento(SessaoLancamento& servico, const Exercicio& exercicio);

struct Reabertura {
  Exercicio exercicio;
  std::vector<LancamentoLido> lancamentos;  // those removed (or to remove, when simulated)
};

// A year not closed: FalhaLocal. A removal that fails: FalhaServico, after
// those removed were saved again (or saying which are left when that fails).
Reabertura Reabre(SessaoLancamento& servico, int ano, bool simular);

}  // namespace qx
