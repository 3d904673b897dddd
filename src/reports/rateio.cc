#include "reports/rateio.h"

#include <map>

#include "reports/leitura_mes.h"

namespace qx {

std::vector<Rateio> LeRateios(SessaoLancamento& servico,
                              const std::vector<LancamentoLido>& lancamentos) {
  // The entries with a split, month by month.
  std::map<uint32_t, std::vector<size_t>> porMes;
  for (size_t i = 0; i < lancamentos.size(); ++i) {
    if (lancamentos[i].dados.Gerencial > 0) porMes[lancamentos[i].mes.Value()].push_back(i);
  }
  std::vector<Rateio> rateios(lancamentos.size());
  for (const auto& [mes, indices] : porMes) {
    std::vector<LancamentoDoMes> doMes;
    for (const size_t i : indices) {
      LancamentoDoMes& l = doMes.emplace_back();
      l.posicao = lancamentos[i].posicao;
      l.dados = lancamentos[i].dados;
    }
    const std::map<int32_t, std::vector<LinhaGerencialDoMes>> cadeias =
        RateiosDoMes(doMes, GerenciaisDoMes(servico, CQXMesAno(mes)));
    for (const size_t i : indices) {
      const auto cadeia = cadeias.find(lancamentos[i].posicao);
      if (cadeia == cadeias.end()) continue;
      for (const LinhaGerencialDoMes& l : cadeia->second) {
        rateios[i].push_back(
            {l.linha.ContaGerencial, l.linha.ContaContabil, l.linha.Valor, l.quantidade});
      }
    }
  }
  return rateios;
}

}  // namespace qx
