#include "lote.h"

#include "common/falhas.h"

namespace qxcn {

int32_t ContaLote(Servico& servico, uint32_t lote, CQXData de, CQXData ate) {
  using qx::cli::Verifica;
  Verifica(servico->LimpaFiltro(), "LimpaFiltro");
  REG_FILTRO_LAN filtro{};
  filtro.bImportacao = 1;
  filtro.lChaveOrigem = static_cast<int32_t>(lote);
  Verifica(servico->SetFiltroOrigem(filtro), "SetFiltroOrigem");
  int32_t quantidade = 0;
  Verifica(servico->BuscaQtdLancamentos(de.Value(), ate.Value(), &quantidade),
           "BuscaQtdLancamentos");
  return quantidade;
}

}  // namespace qxcn
