// busca: the filtered search, with the total of what it found.
#include <vector>

#include "comandos.h"
#include "common/total.h"
#include "filtro.h"
#include "lancamentos.h"
#include "periodo.h"
#include "reports/rateio.h"

namespace qxcn {
namespace {

// What the split of each entry allots to one managerial account.
std::vector<CURRENCY> Rateados(Servico& servico, const std::vector<LancamentoLido>& lidos,
                               int32_t contaGerencial) {
  std::vector<CURRENCY> rateados;
  for (const qx::Rateio& rateio : qx::LeRateios(servico, lidos)) {
    qx::Total soma;
    for (const qx::LinhaRateio& linha : rateio) {
      if (linha.contaGerencial == contaGerencial) soma.Soma(linha.valor);
    }
    // Lines of one entry add up to its amount, which an amount holds.
    rateados.push_back(soma.Valor());
  }
  return rateados;
}

void Busca(const Argumentos& a, Servico& servico, Saida& saida) {
  const Datas datas = LeDatas(a);
  AplicaFiltro(a, servico);
  int32_t quantidade = 0;
  Verifica(servico->BuscaQtdLancamentos(datas.de.Value(), datas.ate.Value(), &quantidade),
           "BuscaQtdLancamentos");
  const std::vector<LancamentoLido> lidos =
      LeChaves(servico, datas.de.MesAno(), ChavesDaBusca(servico, quantidade));
  // With a managerial account, what counts is what the splits allot to it.
  const auto contaGerencial = a.Inteiro("conta-gerencial", 1, INT32_MAX);
  const std::vector<CURRENCY> rateados =
      contaGerencial ? Rateados(servico, lidos, static_cast<int32_t>(*contaGerencial))
                     : std::vector<CURRENCY>{};
  Tabela tabela(ColunasLancamento(contaGerencial ? std::vector<std::string>{"rateado"}
                                                 : std::vector<std::string>{}));
  qx::Total total;
  for (size_t i = 0; i < lidos.size(); ++i) {
    std::vector<Celula> celulas = CelulasLancamento(lidos[i]);
    if (contaGerencial) celulas.push_back(rateados[i]);
    tabela.Linha(std::move(celulas));
    total.Soma(contaGerencial ? rateados[i] : lidos[i].dados.Valor);
  }
  saida.Mostra("lancamentos", "", tabela);
  Tabela resumo({"quantidade", "total"});
  resumo.Linha({tabela.Tamanho(), total});
  saida.Resumo(
      "total", resumo,
      std::to_string(tabela.Tamanho()) + " lançamento(s), total " +
          (contaGerencial ? "rateado à conta gerencial " + std::to_string(*contaGerencial) + " "
                          : "") +
          TotalParaPessoas(total));
  VerificaTotais({&total});
}

}  // namespace

std::vector<Comando> ComandosBusca() {
  return {{"busca", "",
           "lista os lançamentos que passam no filtro, com o total (com --conta-gerencial, o "
           "rateado a ela)",
           Junta<Opcao>({OpcoesDatas(), OpcoesFiltro()}), ComServico(Busca)}};
}

}  // namespace qxcn
