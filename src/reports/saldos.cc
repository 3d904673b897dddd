#include "reports/saldos.h"

namespace qx {

void Saldos::Junta(const RegDados& d) {
  if (d.Debito != 0) contas[d.Debito].Soma(d.Valor);
  if (d.Credito != 0) contas[d.Credito].Subtrai(d.Valor);
  if (d.Debito != 0 && d.Credito == 0) umLado.Soma(d.Valor);
  if (d.Debito == 0 && d.Credito != 0) umLado.Subtrai(d.Valor);
}

Total Saldos::De(int32_t conta) const {
  const auto saldo = contas.find(conta);
  return saldo != contas.end() ? saldo->second : Total{};
}

std::vector<Total> PeloPlano(const PlanoDeContas& plano, const Saldos& saldos) {
  const std::vector<Conta>& contas = plano.Contas();
  std::vector<Total> figuras(contas.size());
  for (size_t i = 0; i < contas.size(); ++i) {
    if (!contas[i].total) {
      figuras[i] = saldos.De(contas[i].numero);
      continue;
    }
    for (const size_t j : plano.Abaixo(i)) figuras[i].Soma(saldos.De(contas[j].numero));
  }
  return figuras;
}

}  // namespace qx
