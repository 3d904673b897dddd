#include "reports/secoes.h"

#include <algorithm>
#include <set>

namespace qx {
namespace {

Total ComSinal(const Total& total, int sinal) {
  Total resultado;
  sinal > 0 ? resultado.Soma(total) : resultado.Subtrai(total);
  return resultado;
}

bool Zeradas(const std::vector<Total>& figuras) {
  return std::all_of(figuras.begin(), figuras.end(), [](const Total& t) { return t.Zero(); });
}

}  // namespace

std::vector<LinhaSecao> LinhasDaSecao(const PlanoDeContas& plano,
                                      const std::vector<Saldos>& colunas, const Naturezas& admite,
                                      int sinal, uint16_t nivel) {
  std::vector<std::vector<Total>> figuras;
  for (const Saldos& saldos : colunas) figuras.push_back(PeloPlano(plano, saldos));
  std::vector<LinhaSecao> linhas;
  const std::vector<Conta>& contas = plano.Contas();
  for (size_t i = 0; i < contas.size(); ++i) {
    if (!admite(contas[i].natureza) || (nivel != 0 && contas[i].nivel > nivel)) continue;
    LinhaSecao linha{contas[i], {}};
    for (const std::vector<Total>& coluna : figuras)
      linha.colunas.push_back(ComSinal(coluna[i], sinal));
    if (!Zeradas(linha.colunas)) linhas.push_back(std::move(linha));
  }
  if (!admite(Natureza::kNenhuma)) return linhas;
  std::set<int32_t> foraDoPlano;
  for (const Saldos& saldos : colunas) {
    for (const auto& [conta, saldo] : saldos.contas) {
      if (!plano.Tem(conta)) foraDoPlano.insert(conta);
    }
  }
  for (const int32_t conta : foraDoPlano) {
    LinhaSecao linha{plano.Busca(conta), {}};
    for (const Saldos& saldos : colunas) linha.colunas.push_back(ComSinal(saldos.De(conta), sinal));
    if (!Zeradas(linha.colunas)) linhas.push_back(std::move(linha));
  }
  return linhas;
}

std::vector<Total> TotalDaSecao(const PlanoDeContas& plano, const std::vector<Saldos>& colunas,
                                const Naturezas& admite, int sinal) {
  std::vector<Total> totais;
  for (const Saldos& saldos : colunas) {
    Total total;
    for (const auto& [conta, saldo] : saldos.contas) {
      const size_t i = plano.Ordem(conta);
      const Natureza natureza =
          i < plano.Contas().size() ? plano.Contas()[i].natureza : Natureza::kNenhuma;
      if (admite(natureza)) sinal > 0 ? total.Soma(saldo) : total.Subtrai(saldo);
    }
    totais.push_back(total);
  }
  return totais;
}

}  // namespace qx
