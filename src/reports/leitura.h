#pragma once
// The reading of stored entries by a client: the keys a search collected, the
// entries behind them read in pages of the batch interface well under the
// frame limit, and one entry on its own.

#include <cstdint>
#include <string>
#include <vector>

#include "reports/sessao.h"
#include "values/qx_mes_ano.h"

namespace qx {

struct LancamentoLido {
  CQXMesAno mes;
  int32_t posicao = 0;
  RegDados dados{};
  std::string complemento;  // Windows-1252, without its closing line end
  bool excluido = false;
};

// A complement as people read it: without its closing carriage return.
std::string SemFimDeLinha(std::string texto);

// The keys the last search collected, in pages of the batch interface; the
// service's list is then emptied, as BuscaLancamentos leaves it.
std::vector<int32_t> ChavesDaBusca(SessaoLancamento& servico, int32_t quantidade);

// The entries behind search keys based at `base` (high byte: month offset,
// low 24 bits: position), month by month in key order: through the batch
// interface's keyed read, and those it leaves out (deleted, of an inactive
// branch) with keyed reading, as a search's own list reads them.
std::vector<LancamentoLido> LeChaves(SessaoLancamento& servico, CQXMesAno base,
                                     const std::vector<int32_t>& chaves);

// One stored entry (a deleted one too, marked so); a failure throws FalhaServico.
LancamentoLido LeUm(SessaoLancamento& servico, CQXMesAno mes, int32_t posicao);

// The complement text of a stored entry ("" without one).
std::string Complemento(SessaoLancamento& servico, CQXMesAno mes, int32_t posicao);

// A cost-centre split in the service's records: its lines and their
// quantities, in order.
struct RegistrosRateio {
  std::vector<RegLan_Ger> linhas;
  std::vector<RegQtd_Ger> quantidades;  // none where the company keeps none
};

// The split of the entry LeUm has just loaded as the current one, as
// LeGerencial reads it.
RegistrosRateio RateioDoLido(SessaoLancamento& servico);

// The debit/credit differences the company keeps.
std::vector<Reg_Dif> LeDiferencas(SessaoLancamento& servico);

// The position in the note index of the explanatory note of the item (mes,
// chave); 0 when it has none.
int32_t PosicaoDaNota(SessaoLancamento& servico, CQXMesAno mes, int32_t chave);
// The text of the note at that position (Windows-1252).
std::string TextoDaNota(SessaoLancamento& servico, int32_t posicao);

}  // namespace qx
