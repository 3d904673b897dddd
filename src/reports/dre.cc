#include "reports/dre.h"

#include <algorithm>

namespace qx {
namespace {

bool Algum(const std::vector<Total>& totais) {
  return std::any_of(totais.begin(), totais.end(), [](const Total& t) { return t.Estourou(); });
}

// a less b, figure by figure.
std::vector<Total> Menos(std::vector<Total> a, const std::vector<Total>& b) {
  for (size_t i = 0; i < a.size(); ++i) a[i].Subtrai(b[i]);
  return a;
}

// The period's figure after those of the months.
std::vector<Total> ComPeriodo(std::vector<Total> meses, size_t quantosMeses) {
  if (quantosMeses == 0) return meses;
  Total periodo;
  for (const Total& mes : meses) periodo.Soma(mes);
  meses.push_back(periodo);
  return meses;
}

}  // namespace

bool Dre::Estourou() const {
  for (const SecaoDre* secao : {&receitas, &deducoes, &custos, &despesas}) {
    if (Algum(secao->total)) return true;
    for (const LinhaSecao& linha : secao->linhas) {
      if (Algum(linha.colunas)) return true;
    }
  }
  return Algum(receitaLiquida) || Algum(resultadoBruto) || Algum(resultado);
}

Dre DreDosMovimentos(const PlanoDeContas& plano, const std::vector<CQXMesAno>& meses,
                     const std::vector<Saldos>& movimentos, uint16_t nivel) {
  const auto secao = [&](Natureza natureza, int sinal) {
    const Naturezas admite = [natureza](Natureza n) { return n == natureza; };
    SecaoDre s{LinhasDaSecao(plano, movimentos, admite, sinal, nivel),
               ComPeriodo(TotalDaSecao(plano, movimentos, admite, sinal), meses.size())};
    for (LinhaSecao& linha : s.linhas) linha.colunas = ComPeriodo(linha.colunas, meses.size());
    return s;
  };
  Dre dre;
  dre.meses = meses;
  dre.receitas = secao(Natureza::kReceita, -1);
  dre.deducoes = secao(Natureza::kDeducao, 1);
  dre.custos = secao(Natureza::kCusto, 1);
  dre.despesas = secao(Natureza::kDespesa, 1);
  dre.receitaLiquida = Menos(dre.receitas.total, dre.deducoes.total);
  dre.resultadoBruto = Menos(dre.receitaLiquida, dre.custos.total);
  dre.resultado = Menos(dre.resultadoBruto, dre.despesas.total);
  return dre;
}

}  // namespace qx
