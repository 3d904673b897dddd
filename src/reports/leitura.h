#pragma once
// The reading of stored entries by a client: the keys a search collected, the
// entries behind them read with keyed reading in pages well under the frame
// limit, and one entry on its own.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "reports/sessao.h"
#include "values/qx_data.h"
#include "values/qx_mes_ano.h"

namespace qx {

struct LancamentoLido {
  CQXMesAno mes;
  int32_t posicao = 0;
  RegDados dados{};
  std::string complemento;  // Windows-1252, without its closing line end
  bool excluido = false;
};

using Visita = std::function<void(const LancamentoLido&)>;

// A month open for keyed reading (AbreEspecial) while it lives.
class MesAberto {
 public:
  MesAberto(SessaoLancamento& servico, CQXMesAno mes);
  ~MesAberto();
  MesAberto(const MesAberto&) = delete;
  MesAberto& operator=(const MesAberto&) = delete;

 private:
  SessaoLancamento& servico_;
};

// The keys the last search collected (BuscaLancamentos).
std::vector<int32_t> ChavesDaBusca(SessaoLancamento& servico, int32_t quantidade);

// The entries behind search keys based at `base` (high byte: month offset,
// low 24 bits: position), month by month in key order, with keyed reading;
// their complement texts only when asked for.
std::vector<LancamentoLido> LeChaves(SessaoLancamento& servico, CQXMesAno base,
                                     const std::vector<int32_t>& chaves, bool complementos = true);

// The entries at those positions of one month, in that order.
void LeDoMes(SessaoLancamento& servico, CQXMesAno mes, const std::vector<int32_t>& posicoes,
             bool complementos, const Visita& visita);

// Which stored entries a report reads: the live ones of the user's active
// branches, of one branch or with one managerial account in their split when
// asked for.
struct Selecao {
  uint16_t filial = 0;         // 0: every active branch
  int32_t contaGerencial = 0;  // 0: with or without a split
};

// Every entry of the selection dated from `de` to `ate`, month by month in
// position order. The service's filter is left clear.
void PercorreLancamentos(SessaoLancamento& servico, CQXData de, CQXData ate, const Selecao& selecao,
                         bool complementos, const Visita& visita);

// One account's entries (debit or credit) from `de` to `ate`, in date order,
// of one branch when `filial` is not 0.
void PercorreConta(SessaoLancamento& servico, int32_t conta, CQXData de, CQXData ate,
                   uint16_t filial, bool complementos, const Visita& visita);

// One stored entry (a deleted one too, marked so); a failure throws FalhaServico.
LancamentoLido LeUm(SessaoLancamento& servico, CQXMesAno mes, int32_t posicao);

// The complement text of a stored entry ("" without one).
std::string Complemento(SessaoLancamento& servico, CQXMesAno mes, int32_t posicao);

}  // namespace qx
