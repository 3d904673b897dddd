#include "reports/centros.h"

#include <algorithm>
#include <map>

#include "reports/lancamentos_periodo.h"
#include "reports/rateio.h"

namespace qx {
namespace {

// Accounts in the order of their chart, those it does not have after them.
template <class T>
void OrdenaPeloPlano(std::vector<T>& itens, const PlanoDeContas& plano, Conta T::*conta) {
  std::stable_sort(itens.begin(), itens.end(), [&](const T& a, const T& b) {
    return plano.Ordem((a.*conta).numero) < plano.Ordem((b.*conta).numero);
  });
}

}  // namespace

void Alocado::Soma(const Alocado& outro) {
  valor.Soma(outro.valor);
  quantidade.Soma(outro.quantidade);
}

bool Centros::Estourou() const {
  return total.Estourou() || std::any_of(centros.begin(), centros.end(), [](const Centro& c) {
           return c.total.Estourou() ||
                  std::any_of(c.contas.begin(), c.contas.end(),
                              [](const LinhaCentro& l) { return l.alocado.Estourou(); });
         });
}

Centros MontaCentros(SessaoLancamento& servico, const PlanoDeContas& contabil,
                     const PlanoDeContas& gerencial, const PedidoCentros& pedido) {
  // The centres asked for: a total account stands for those under it.
  std::vector<int32_t> pedidos;
  if (pedido.centro != 0) {
    pedidos = gerencial.Grupo(pedido.centro);
    std::sort(pedidos.begin(), pedidos.end());
  }
  std::vector<LancamentoLido> comRateio;
  PercorreLancamentos(servico, pedido.de, pedido.ate, pedido.filial, false,
                      [&](const LancamentoLido& l) {
                        if (l.dados.Gerencial > 0) comRateio.push_back(l);
                      });

  std::map<int32_t, std::map<int32_t, Alocado>> porCentro;
  for (const Rateio& rateio : LeRateios(servico, comRateio)) {
    for (const LinhaRateio& linha : rateio) {
      if (!pedidos.empty() &&
          !std::binary_search(pedidos.begin(), pedidos.end(), linha.contaGerencial)) {
        continue;
      }
      Alocado& alocado = porCentro[linha.contaGerencial][linha.contaContabil];
      alocado.valor.Soma(linha.valor);
      alocado.quantidade.Soma(linha.quantidade);
    }
  }

  Centros centros;
  for (const auto& [numero, contas] : porCentro) {
    Centro& centro = centros.centros.emplace_back();
    centro.centro = gerencial.Busca(numero);
    for (const auto& [conta, alocado] : contas) {
      centro.contas.push_back({contabil.Busca(conta), alocado});
      centro.total.Soma(alocado);
    }
    OrdenaPeloPlano(centro.contas, contabil, &LinhaCentro::conta);
    centros.total.Soma(centro.total);
  }
  OrdenaPeloPlano(centros.centros, gerencial, &Centro::centro);
  return centros;
}

}  // namespace qx
