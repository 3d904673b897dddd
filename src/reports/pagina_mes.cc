#include "reports/pagina_mes.h"

#include <algorithm>

#include "reports/falha.h"

namespace qx {
namespace {

int32_t UltimaPosicao(SessaoLancamento& servico, CQXMesAno mes) {
  int32_t lancamentos = 0, excluidos = 0, gerenciais = 0, importados = 0;
  Verifica(servico->PegaQuantidadeRegistros(static_cast<uint16_t>(mes.Value()), &lancamentos,
                                            &excluidos, &gerenciais, &importados),
           "PegaQuantidadeRegistros");
  return lancamentos;
}

}  // namespace

PaginaDoMes LePaginaDoMes(SessaoLancamento& servico, CQXMesAno mes, int32_t inicio,
                          int32_t quantidade) {
  PaginaDoMes pagina;
  pagina.ultima = UltimaPosicao(servico, mes);
  const int32_t fim =
      std::min(pagina.ultima, inicio + std::min(quantidade, kLancamentosPorPagina) - 1);
  std::vector<int32_t> chaves;
  for (int32_t posicao = std::max(inicio, 1); posicao <= fim; ++posicao) chaves.push_back(posicao);
  pagina.lancamentos = LeChaves(servico, mes, chaves);
  // Keyed reading gives a deleted entry without its date.
  for (LancamentoLido& lido : pagina.lancamentos) lido.excluido = lido.dados.DataLancamento == 0;
  return pagina;
}

}  // namespace qx
