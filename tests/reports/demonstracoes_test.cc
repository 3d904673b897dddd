// The statements and the closing over entries given as data, without a
// server, checked against sums worked out here from the entries themselves.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "reports/balanco.h"
#include "reports/dre.h"
#include "reports/encerramento.h"
#include "reports/falha.h"
#include "reports/natureza.h"
#include "reports/niveis.h"

namespace qx::test {
namespace {

const std::vector<RegraNatureza> kRegras = {
    {"1", Natureza::kAtivo},   {"2", Natureza::kPassivo},    {"2.3", Natureza::kPatrimonio},
    {"3", Natureza::kReceita}, {"3.2", Natureza::kDeducao},  {"4", Natureza::kDespesa},
    {"4.1", Natureza::kCusto}, {"9", Natureza::kCompensacao}};

// A chart with a total "1.1" beside "1.10", and an account no rule reaches.
PlanoDeContas Plano() {
  const std::vector<std::tuple<int32_t, const char*, bool>> contas = {
      {1, "1", true},        {2, "1.1", true},      {3, "1.1.01", false},  {4, "1.10", true},
      {5, "1.10.01", false}, {10, "2", true},       {11, "2.1.01", false}, {12, "2.3", true},
      {13, "2.3.01", false}, {20, "3", true},       {21, "3.1.01", false}, {22, "3.2.01", false},
      {30, "4", true},       {31, "4.1.01", false}, {32, "4.2.01", false}, {91, "9.1", false},
      {92, "9.2", false},    {70, "7.1", false}};
  std::vector<Conta> lista;
  for (const auto& [numero, classificacao, total] : contas) {
    const std::string c = classificacao;
    lista.push_back({numero, c, "conta " + c,
                     static_cast<uint16_t>(1 + std::count(c.begin(), c.end(), '.')), total});
  }
  return PlanoDeContas(std::move(lista), kRegras);
}

TEST(NiveisENaturezas, ATotalSumsItsLevelAndNotTheTextThatBeginsLikeIt) {
  const struct {
    const char* classificacao;
    const char* raiz;
    bool abaixo;
  } casos[] = {{"1.1", "1.1", true},      {"1.1.01", "1.1", true}, {"1.10", "1.1", false},
               {"1.10.01", "1.1", false}, {"1", "1.1", false},     {"1.1-A", "1.1", false}};
  for (const auto& c : casos) {
    EXPECT_EQ(NoNivelOuAbaixo(c.classificacao, c.raiz), c.abaixo) << c.classificacao;
  }
  const PlanoDeContas plano = Plano();
  EXPECT_EQ(plano.Grupo(2), (std::vector<int32_t>{2, 3}));
  EXPECT_EQ(plano.Grupo(4), (std::vector<int32_t>{4, 5}));
  EXPECT_EQ(plano.Grupo(1), (std::vector<int32_t>{1, 2, 3, 4, 5}));

  const std::vector<std::string> larguras = {"1", "1.1", "1.1.01", "1.2.01", "2.1.01"};
  EXPECT_FALSE(ConfereLarguras(larguras, "1.3.02").has_value());
  const auto diferente = ConfereLarguras(larguras, "1.10");
  ASSERT_TRUE(diferente.has_value());
  EXPECT_EQ(std::tuple(diferente->nivel, diferente->largura, diferente->doPlano),
            std::tuple(2u, 2u, 1u));
  EXPECT_EQ(ConfereLarguras(larguras, "1.1.001")->nivel, 3u);

  // Natures: the longest rule at a level boundary, and the split's result side.
  const std::pair<const char*, Natureza> naturezas[] = {
      {"2.3.01", Natureza::kPatrimonio}, {"2.30", Natureza::kPassivo},
      {"3.2.01", Natureza::kDeducao},    {"4.1", Natureza::kCusto},
      {"7.1", Natureza::kNenhuma},       {"", Natureza::kNenhuma}};
  for (const auto& [classificacao, natureza] : naturezas) {
    EXPECT_EQ(NaturezaDaClassificacao(kRegras, classificacao), natureza) << classificacao;
  }
  RegDados d{};
  d.Credito = 21;
  const struct {
    Natureza debito, credito;
    int32_t debitoConta, esperada;
  } rateios[] = {{Natureza::kAtivo, Natureza::kReceita, 3, 21},
                 {Natureza::kDespesa, Natureza::kAtivo, 3, 3},
                 {Natureza::kAtivo, Natureza::kPassivo, 3, 3},
                 {Natureza::kCusto, Natureza::kReceita, 3, 3},
                 {Natureza::kNenhuma, Natureza::kPassivo, 0, 21}};
  for (const auto& r : rateios) {
    d.Debito = r.debitoConta;
    EXPECT_EQ(ContaDoRateio(d, r.debito, r.credito), r.esperada);
  }
}

// A year of entries on two branches, one-sided ones and memorandum ones
// among them, the same seed every run.
std::vector<RegDados> Ano(int ano) {
  const int32_t contas[] = {3, 5, 11, 13, 21, 22, 31, 32, 70};
  std::mt19937 aleatorio(2024);
  std::vector<RegDados> lancamentos;
  for (int i = 0; i < 600; ++i) {
    RegDados d{};
    d.DataLancamento = CQXData::Make(1 + i % 28, 1 + i % 12, ano).Value();
    d.Debito = contas[aleatorio() % std::size(contas)];
    d.Credito = contas[aleatorio() % std::size(contas)];
    if (i % 97 == 0) d.Credito = 0;
    if (i % 89 == 0) d.Debito = 91, d.Credito = 92;
    d.Valor.int64 = 100 * int64_t(1 + aleatorio() % 100000);
    d.Filial = static_cast<int16_t>(1 + i % 2);
    if (d.Debito != d.Credito) lancamentos.push_back(d);
  }
  return lancamentos;
}

// An entry's effect on the accounts at or below `raiz`: debit plus, credit minus.
int64_t Efeito(const RegDados& d, const PlanoDeContas& plano, const std::string& raiz) {
  const auto sob = [&](int32_t conta) {
    const std::string c = plano.Busca(conta).classificacao;
    return conta != 0 && (c == raiz || c.starts_with(raiz + "."));
  };
  return (sob(d.Debito) ? d.Valor.int64 : 0) - (sob(d.Credito) ? d.Valor.int64 : 0);
}

int64_t Soma(const std::vector<RegDados>& lancamentos, const PlanoDeContas& plano,
             const std::vector<std::string>& raizes) {
  int64_t soma = 0;
  for (const RegDados& d : lancamentos) {
    for (const std::string& raiz : raizes) soma += Efeito(d, plano, raiz);
  }
  return soma;
}

int64_t Figura(const std::vector<LinhaSecao>& linhas, int32_t conta) {
  for (const LinhaSecao& l : linhas) {
    if (l.conta.numero == conta) return l.colunas[0].Valor().int64;
  }
  return 0;
}

Saldos Somados(const std::vector<RegDados>& lancamentos, bool semEncerramento = false) {
  Saldos saldos;
  for (const RegDados& d : lancamentos) {
    if (!semEncerramento || !EhEncerramento(d)) saldos.Junta(d);
  }
  return saldos;
}

TEST(Demonstracoes, AgreeWithIndependentSumsBeforeAndAfterTheClosing) {
  const PlanoDeContas plano = Plano();
  std::vector<RegDados> lancamentos = Ano(2026);
  const Exercicio exercicio = ExercicioDoAno(2026);
  const std::vector<Intervalo> ano = {{exercicio.inicio, exercicio.fim}};

  const Balanco antes = BalancoDosSaldos(plano, ano, {Somados(lancamentos)}, 0);
  const ColunaBalanco& a = antes.colunas[0];
  EXPECT_EQ(a.ativo.Valor().int64, Soma(lancamentos, plano, {"1"}));
  EXPECT_EQ(a.passivo.Valor().int64, -Soma(lancamentos, plano, {"2.1"}));
  EXPECT_EQ(a.patrimonio.Valor().int64, -Soma(lancamentos, plano, {"2.3"}));
  EXPECT_EQ(a.resultado.Valor().int64, -Soma(lancamentos, plano, {"3", "4"}));
  EXPECT_EQ(a.semNatureza.Valor().int64, Soma(lancamentos, plano, {"7.1"}));
  EXPECT_EQ(Figura(antes.ativo, 2), Soma(lancamentos, plano, {"1.1"}));
  EXPECT_EQ(Figura(antes.ativo, 4), Soma(lancamentos, plano, {"1.10"}));
  EXPECT_EQ(a.Diferenca().Valor().int64,
            a.umLado.Valor().int64 - a.compensacao.Valor().int64 - a.semNatureza.Valor().int64);

  const Dre dre = DreDosMovimentos(plano, {}, {Somados(lancamentos)}, 0);
  const int64_t resultado = -Soma(lancamentos, plano, {"3", "4"});
  EXPECT_EQ(dre.resultado.back().Valor().int64, resultado);
  EXPECT_EQ(dre.receitas.total.back().Valor().int64, -Soma(lancamentos, plano, {"3.1"}));
  EXPECT_EQ(dre.deducoes.total.back().Valor().int64, Soma(lancamentos, plano, {"3.2"}));
  EXPECT_EQ(dre.custos.total.back().Valor().int64, Soma(lancamentos, plano, {"4.1"}));
  EXPECT_EQ(Figura(dre.despesas.linhas, 32), Soma(lancamentos, plano, {"4.2"}));
  // By month, to the first level: a figure per month, then the period's.
  std::vector<CQXMesAno> meses;
  std::vector<Saldos> porMes(12);
  for (int m = 1; m <= 12; ++m) meses.push_back(CQXMesAno::Make(m, 2026));
  for (const RegDados& d : lancamentos) porMes[CQXData(d.DataLancamento).Month() - 1].Junta(d);
  const Dre mensal = DreDosMovimentos(plano, meses, porMes, 1);
  ASSERT_EQ(mensal.resultado.size(), 13u);
  EXPECT_EQ(mensal.resultado.back().Valor().int64, resultado);
  ASSERT_EQ(mensal.despesas.linhas.size(), 1u);
  EXPECT_EQ(mensal.despesas.linhas[0].conta.numero, 30);
  EXPECT_EQ(mensal.despesas.linhas[0].colunas.back().Valor().int64,
            Soma(lancamentos, plano, {"4"}));

  // The closing of each branch's result accounts into equity account 13.
  std::map<uint16_t, Saldos> porFilial;
  for (const RegDados& d : lancamentos) porFilial[static_cast<uint16_t>(d.Filial)].Junta(d);
  const std::vector<RegDados> encerramento =
      LancamentosDeEncerramento(plano, porFilial, 13, exercicio);
  ASSERT_FALSE(encerramento.empty());
  for (const RegDados& d : encerramento) {
    EXPECT_EQ(std::tuple(EhEncerramentoDe(d, 2026), EhEncerramentoDe(d, 2025), d.DataLancamento),
              std::tuple(true, false, exercicio.fim.Value()));
  }
  std::vector<RegDados> fechados = lancamentos;
  fechados.insert(fechados.end(), encerramento.begin(), encerramento.end());
  for (uint16_t filial : {1, 2}) {
    std::vector<RegDados> daFilial;
    std::copy_if(fechados.begin(), fechados.end(), std::back_inserter(daFilial),
                 [&](const RegDados& d) { return d.Filial == filial; });
    EXPECT_EQ(Soma(daFilial, plano, {"3", "4"}), 0) << "filial " << filial;
  }
  EXPECT_EQ(Soma(encerramento, plano, {"2.3"}), -resultado);

  const ColunaBalanco depois = BalancoDosSaldos(plano, ano, {Somados(fechados)}, 0).colunas[0];
  EXPECT_TRUE(depois.resultado.Zero());
  EXPECT_EQ(depois.patrimonio.Valor().int64, a.patrimonio.Valor().int64 + resultado);
  EXPECT_EQ(depois.PassivoEPatrimonio().Valor().int64, a.PassivoEPatrimonio().Valor().int64);
  EXPECT_EQ(
      DreDosMovimentos(plano, {}, {Somados(fechados, true)}, 0).resultado.back().Valor().int64,
      resultado);
}

TEST(Demonstracoes, ASumThatOverflowsIsSaidAndCannotBeClosed) {
  const PlanoDeContas plano = Plano();
  RegDados d{};
  d.Debito = 3, d.Credito = 21;  // an asset, a revenue
  d.Valor.int64 = INT64_MAX, d.Filial = 1;
  const Saldos saldos = Somados({d, d});
  EXPECT_TRUE(BalancoDosSaldos(plano, {{}}, {saldos}, 0).Estourou());
  EXPECT_TRUE(DreDosMovimentos(plano, {}, {saldos}, 0).Estourou());
  EXPECT_THROW(LancamentosDeEncerramento(plano, {{1, saldos}}, 13, ExercicioDoAno(2026)),
               FalhaLocal);
}

}  // namespace
}  // namespace qx::test
