#include "reports/balanco.h"

#include <algorithm>

namespace qx {
namespace {

bool Algum(const std::vector<LinhaSecao>& linhas) {
  return std::any_of(linhas.begin(), linhas.end(), [](const LinhaSecao& l) {
    return std::any_of(l.colunas.begin(), l.colunas.end(),
                       [](const Total& t) { return t.Estourou(); });
  });
}

Naturezas Uma(Natureza natureza) {
  return [natureza](Natureza n) { return n == natureza; };
}

}  // namespace

Total ColunaBalanco::PassivoEPatrimonio() const {
  Total total = passivo;
  total.Soma(patrimonio);
  total.Soma(resultado);
  return total;
}

Total ColunaBalanco::Diferenca() const {
  Total diferenca = ativo;
  diferenca.Subtrai(PassivoEPatrimonio());
  return diferenca;
}

bool ColunaBalanco::Estourou() const {
  for (const Total* t :
       {&ativo, &passivo, &patrimonio, &resultado, &compensacao, &semNatureza, &umLado}) {
    if (t->Estourou()) return true;
  }
  return Diferenca().Estourou();
}

bool Balanco::Estourou() const {
  return std::any_of(colunas.begin(), colunas.end(),
                     [](const ColunaBalanco& c) { return c.Estourou(); }) ||
         Algum(ativo) || Algum(passivo) || Algum(compensacao) || Algum(semNatureza);
}

Balanco BalancoDosSaldos(const PlanoDeContas& plano, const std::vector<Intervalo>& datas,
                         const std::vector<Saldos>& saldos, uint16_t nivel) {
  const Naturezas passivo = [](Natureza n) {
    return n == Natureza::kPassivo || n == Natureza::kPatrimonio;
  };
  Balanco b;
  b.ativo = LinhasDaSecao(plano, saldos, Uma(Natureza::kAtivo), 1, nivel);
  b.passivo = LinhasDaSecao(plano, saldos, passivo, -1, nivel);
  b.compensacao = LinhasDaSecao(plano, saldos, Uma(Natureza::kCompensacao), 1, nivel);
  b.semNatureza = LinhasDaSecao(plano, saldos, Uma(Natureza::kNenhuma), 1, nivel);

  const auto total = [&](const Naturezas& admite, int sinal) {
    return TotalDaSecao(plano, saldos, admite, sinal);
  };
  const std::vector<Total> ativo = total(Uma(Natureza::kAtivo), 1);
  const std::vector<Total> passivos = total(Uma(Natureza::kPassivo), -1);
  const std::vector<Total> patrimonio = total(Uma(Natureza::kPatrimonio), -1);
  const std::vector<Total> resultado = total(EhResultado, -1);
  const std::vector<Total> compensacao = total(Uma(Natureza::kCompensacao), 1);
  const std::vector<Total> semNatureza = total(Uma(Natureza::kNenhuma), 1);
  for (size_t c = 0; c < saldos.size(); ++c) {
    b.colunas.push_back({datas[c].de, datas[c].ate, ativo[c], passivos[c], patrimonio[c],
                         resultado[c], compensacao[c], semNatureza[c], saldos[c].umLado});
  }
  return b;
}

}  // namespace qx
