#pragma once
// Entries as qxcn shows them, and the reading of the entries behind the keys
// of a search.

#include <cstdint>
#include <string>
#include <vector>

#include "comandos.h"
#include "values/qx_mes_ano.h"

namespace qxcn {

struct LancamentoLido {
  CQXMesAno mes;
  int32_t posicao = 0;
  RegDados dados{};
  std::string complemento;  // Windows-1252
  bool excluido = false;
};

// An origin key as "module:key" ("21:4711"); "" for none.
std::string Origem(int32_t lChaveModulo);

// The columns of an entry listing; `extra` columns are appended after them.
std::vector<std::string> ColunasLancamento(std::vector<std::string> extra = {});
// The cells of one entry, in the order of ColunasLancamento.
std::vector<Celula> CelulasLancamento(const LancamentoLido& lancamento);

// The keys the last search collected (BuscaLancamentos).
std::vector<int32_t> ChavesDaBusca(Servico& servico, int32_t quantidade);

// The entries behind search keys based at `base` (high byte: month offset,
// low 24 bits: position), in key order, month by month with keyed reading.
std::vector<LancamentoLido> LeChaves(Servico& servico, CQXMesAno base,
                                     const std::vector<int32_t>& chaves);

// One stored entry (a deleted one too, marked so); a failure throws Falha.
LancamentoLido LeUm(Servico& servico, CQXMesAno mes, int32_t posicao);

// The complement text of a stored entry ("" without one).
std::string Complemento(Servico& servico, CQXMesAno mes, int32_t posicao);

}  // namespace qxcn
