#include "reports/rateio.h"

#include <memory>

#include "reports/falha.h"
#include "reports/leitura.h"

namespace qx {
namespace {

// The split of the entry just loaded as the current one.
Rateio RateioAtual(SessaoLancamento& servico, bool quantidades) {
  uint16_t quantidade = 0;
  Verifica(servico->LeGerencial(&quantidade), "LeGerencial");
  if (quantidade == 0) return {};
  std::vector<RegLan_Ger> linhas(quantidade);
  Verifica(servico->GetLancamentoGerencial(quantidade, linhas.data()), "GetLancamentoGerencial");
  std::vector<RegQtd_Ger> qtds(quantidade);
  if (quantidades) {
    Verifica(servico->GetQuantidadeGerencial(quantidade, qtds.data()), "GetQuantidadeGerencial");
  }
  Rateio rateio;
  for (uint16_t i = 0; i < quantidade; ++i) {
    rateio.push_back(
        {linhas[i].ContaGerencial, linhas[i].ContaContabil, linhas[i].Valor, qtds[i].Quantidade});
  }
  return rateio;
}

}  // namespace

std::vector<Rateio> LeRateios(SessaoLancamento& servico,
                              const std::vector<PosicaoLancamento>& lancamentos, bool quantidades) {
  std::vector<Rateio> rateios;
  std::unique_ptr<MesAberto> aberto;
  CQXMesAno mesAberto;
  for (const PosicaoLancamento& l : lancamentos) {
    if (!aberto || l.mes != mesAberto) {
      aberto.reset();
      aberto = std::make_unique<MesAberto>(servico, l.mes);
      mesAberto = l.mes;
    }
    Verifica(servico->LeEspecial(l.posicao), "LeEspecial");
    rateios.push_back(RateioAtual(servico, quantidades));
  }
  return rateios;
}

}  // namespace qx
