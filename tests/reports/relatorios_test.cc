// Every report compared with what the saved entries say, worked out here:
// entries saved through the server in a test company, and the same entries
// kept here, so that each test works out what a report must say on its own.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "../entries/test_company.h"
#include "../platform/ostrel_program.h"
#include "reports/balancete.h"
#include "reports/centros.h"
#include "reports/extrato.h"
#include "reports/leitura_mes.h"
#include "reports/falha.h"
#include "reports/grava.h"
#include "reports/plano.h"
#include "reports/sessao.h"
#include "values/qx_data.h"
#include "values/qx_mes_ano.h"

namespace qx::test {
namespace {
struct LinhaSalva {
  int32_t centro;
  int64_t valor;  // ten-thousandths
  int64_t quantidade;
  int32_t contaContabil;
};

struct Salvo {
  CQXData data;
  int32_t debito;
  int32_t credito;
  int64_t valor;  // ten-thousandths
  uint16_t filial;
  bool excluido = false;
  std::vector<LinhaSalva> rateio = {};
};

// The accounting chart of the sample company with a total "1.10" beside "1.1".
const std::map<int32_t, std::string> kPlano = {
    {1, "1"},           {2, "1.1"},         {3, "1.1.01"},     {4, "1.1.01.001"},
    {5, "1.1.01.002"},  {40, "1.1.02"},     {6, "1.1.02.001"}, {7, "1.10"},
    {8, "1.10.01.001"}, {10, "2"},          {41, "2.1"},       {42, "2.1.01"},
    {11, "2.1.01.001"}, {12, "2.1.01.002"}, {14, "2.3"},       {15, "2.3.01"},
    {13, "2.3.01.001"}, {20, "3"},          {43, "3.1"},       {44, "3.1.01"},
    {21, "3.1.01.001"}, {30, "4"},          {45, "4.1"},       {46, "4.1.01"},
    {31, "4.1.01.001"}, {32, "4.1.01.002"}};

CQXData Dia(int dia, int mes, int ano = 2024) { return CQXData::Make(dia, mes, ano); }
constexpr int64_t Reais(int64_t centavos) { return centavos * 100; }

// Entries over December 2023 to June 2024: before the books start, before
// the period (March to May), in it and after it; on both active branches of
// user 1 and on branch 3, which is not his; deleted and one-sided ones; an
// account the chart does not have (99); one account on both sides; one under
// "1.10"; splits with quantities over three centres.
const std::vector<Salvo> kSalvos = {
    {Dia(15, 12, 2023), 4, 21, Reais(10000), 1},
    {Dia(10, 1), 4, 21, Reais(150000), 1},
    {Dia(20, 2), 31, 5, Reais(30000), 2, false,
     {{2, Reais(20000), 20000, 31}, {3, Reais(10000), 10000, 31}}},
    {Dia(29, 2), 5, 0, Reais(5000), 1},
    {Dia(5, 3), 31, 5, Reais(80000), 1, false,
     {{2, Reais(50000), 50000, 31}, {3, Reais(30000), 30000, 31}}},
    {Dia(1, 3), 5, 6, Reais(200000), 1},
    {Dia(5, 3), 0, 21, Reais(12000), 2},
    {Dia(10, 3), 4, 21, Reais(99999), 1, true},
    {Dia(2, 4), 99, 5, Reais(7000), 1},
    {Dia(15, 4), 32, 4, Reais(1234), 3},
    {Dia(30, 4), 31, 4, Reais(100000), 2, false,
     {{4, Reais(60000), 15000, 31}, {2, Reais(40000), 5000, 31}}},
    {Dia(31, 5), 6, 21, Reais(45050), 1, false, {{3, Reais(45050), 0, 21}}},
    {Dia(31, 5), 5, 5, Reais(1000), 1},
    {Dia(1, 6), 4, 5, Reais(100), 1},
    {Dia(5, 2), 8, 21, Reais(700), 2},
    {Dia(12, 3), 8, 5, Reais(3300), 1},
    {Dia(3, 3), 5, 21, Reais(2500), 2, true, {{2, Reais(2500), 10000, 21}}},
};

// The books open from 1 January 2024; the period runs from March to May.
const CQXData kDesde = Dia(1, 1);
const CQXData kDe = Dia(1, 3);
const CQXData kAte = Dia(31, 5);

// What user 1 sees: live entries of his branches (1 and 2), of one of them
// when filial is not 0.
bool Visivel(const Salvo& s, uint16_t filial) {
  return !s.excluido && (s.filial == 1 || s.filial == 2) && (filial == 0 || s.filial == filial);
}

std::string Classificacao(int32_t numero) {
  return kPlano.contains(numero) ? kPlano.at(numero) : "";
}

// An account and every account whose classification is its own followed by
// a dot (so "1.1" and not "1.10").
std::vector<int32_t> Grupo(int32_t numero) {
  std::vector<int32_t> grupo = {numero};
  for (const auto& [conta, classificacao] : kPlano) {
    if (classificacao.starts_with(Classificacao(numero) + ".")) grupo.push_back(conta);
  }
  return grupo;
}

bool Em(const std::vector<int32_t>& grupo, int32_t conta) {
  return std::find(grupo.begin(), grupo.end(), conta) != grupo.end();
}

struct Linha {
  const Salvo* salvo;
  int64_t debito, credito;
};

// What the saved entries say of a group of accounts: the balance before the
// period, its lines in date order (entries of one day in the order saved).
struct Esperado {
  int64_t anterior = 0, debitos = 0, creditos = 0;
  std::map<uint32_t, int64_t> meses;  // debits minus credits
  std::vector<Linha> linhas;

  int64_t Final() const { return anterior + debitos - creditos; }
  bool Zero() const { return anterior == 0 && debitos == 0 && creditos == 0; }
};

Esperado Soma(const std::vector<int32_t>& grupo, uint16_t filial, CQXData desde = kDesde) {
  std::vector<const Salvo*> salvos;
  for (const Salvo& s : kSalvos) salvos.push_back(&s);
  std::stable_sort(salvos.begin(), salvos.end(),
                   [](const Salvo* a, const Salvo* b) { return a->data < b->data; });
  Esperado e;
  for (const Salvo* s : salvos) {
    if (!Visivel(*s, filial) || s->data < desde || kAte < s->data) continue;
    const int64_t debito = Em(grupo, s->debito) ? s->valor : 0;
    const int64_t credito = Em(grupo, s->credito) ? s->valor : 0;
    if (debito == 0 && credito == 0) continue;
    if (s->data < kDe) {
      e.anterior += debito - credito;
      continue;
    }
    e.debitos += debito;
    e.creditos += credito;
    e.meses[s->data.MesAno().Value()] += debito - credito;
    e.linhas.push_back({s, debito, credito});
  }
  return e;
}

std::string Complemento(const Salvo& s) {
  return std::string("lan\xE7") + "amento de " + s.data.Text(1, '/');
}

class Relatorios : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    empresa_ = new TestCompany();
    test::RegisterOstrel(empresa_->root() + "/run");
    for (const ContaCadastro& conta : {ContaCadastro{'C', 7, 1, "1.10", "OUTROS", 'T'},
                                       ContaCadastro{'C', 8, 7, "1.10.01.001", "Outros", 'A'}}) {
      ASSERT_EQ(AdicionaConta(*TestCompany::Database(), conta), S_OK);
    }
    servico_ = new SessaoLancamento(Identidade{TestCompany::kCodigo, "teste", 1, 4096});
    for (const Salvo& s : kSalvos) Salva(s);
  }
  static void TearDownTestSuite() {
    delete servico_;
    delete empresa_;
    unsetenv("QX_RUNTIME_DIR");
  }

  static SessaoLancamento& Servico() { return *servico_; }
  static void Salva(const Salvo& s) {
    RegDados dados{};
    dados.DataLancamento = s.data.Value();
    dados.Debito = s.debito;
    dados.Credito = s.credito;
    dados.Valor.int64 = s.valor;
    dados.Filial = static_cast<int16_t>(s.filial);
    RegistrosRateio rateio;
    for (const LinhaSalva& l : s.rateio) {
      rateio.linhas.push_back({CURRENCY{l.valor}, 0, l.centro, l.contaContabil, {}});
      rateio.quantidades.push_back({CURRENCY{l.quantidade}});
    }
    int32_t posicao = 0;
    GravaLancamento(*servico_, &dados, Complemento(s), &rateio, &posicao);
    if (s.excluido) {
      Verifica((*servico_)->Exclui(posicao, static_cast<uint16_t>(s.data.MesAno().Value())),
               "Exclui");
    }
  }

  static void ConfereExtrato(const Extrato& extrato, int32_t conta, uint16_t filial,
                             CQXData desde = kDesde) {
    SCOPED_TRACE("extrato da conta " + std::to_string(conta));
    const Esperado e = Soma(Grupo(conta), filial, desde);
    EXPECT_EQ(std::tuple(extrato.conta.numero, extrato.anterior.Valor().int64,
                         extrato.debitos.Valor().int64, extrato.creditos.Valor().int64,
                         extrato.final.Valor().int64),
              std::tuple(conta, e.anterior, e.debitos, e.creditos, e.Final()));
    ASSERT_EQ(extrato.linhas.size(), e.linhas.size());
    int64_t saldo = e.anterior;
    for (size_t i = 0; i < e.linhas.size(); ++i) {
      const LinhaExtrato& linha = extrato.linhas[i];
      const Linha& esperada = e.linhas[i];
      saldo += esperada.debito - esperada.credito;
      EXPECT_EQ(std::tuple(linha.lancamento.dados.DataLancamento, linha.debito.int64,
                           linha.credito.int64, linha.saldo.Valor().int64,
                           linha.lancamento.complemento),
                std::tuple(esperada.salvo->data.Value(), esperada.debito, esperada.credito, saldo,
                           Complemento(*esperada.salvo)))
          << i;
    }
  }

  static inline TestCompany* empresa_ = nullptr;
  static inline SessaoLancamento* servico_ = nullptr;
};

TEST_F(Relatorios, TrialBalance) {
  const PlanoDeContas plano = LePlano(Servico(), 'C');
  const std::tuple<uint16_t, uint16_t, bool> casos[] = {
      {0, 0, false}, {2, 0, false}, {0, 2, false}, {0, 0, true}};
  for (const auto& [filial, nivel, zeradas] : casos) {
    SCOPED_TRACE(::testing::Message() << "filial " << filial << ", nivel " << nivel << ", zeradas "
                                      << zeradas);
    const auto b =
        MontaBalancete(Servico(), plano, {{kDesde, kDe, kAte, filial}, nivel, true, zeradas});
    // The rows: the chart in classification order, then the account it lacks.
    std::vector<int32_t> contas;
    for (const Conta& c : plano.Contas()) contas.push_back(c.numero);
    contas.push_back(99);
    std::vector<int32_t> esperadas;
    for (const int32_t conta : contas) {
      const std::string classificacao = Classificacao(conta);
      const auto seu = std::count(classificacao.begin(), classificacao.end(), '.') + 1;
      if (nivel != 0 && !classificacao.empty() && seu > nivel) continue;
      if (zeradas || !Soma(Grupo(conta), filial).Zero()) esperadas.push_back(conta);
    }
    std::vector<int32_t> linhas;
    for (const LinhaBalancete& linha : b.linhas) linhas.push_back(linha.conta.numero);
    EXPECT_EQ(linhas, esperadas);

    ASSERT_EQ(b.meses.size(), 3u);
    for (const LinhaBalancete& linha : b.linhas) {
      const Esperado e = Soma(Grupo(linha.conta.numero), filial);
      const Figuras& f = linha.figuras;
      EXPECT_EQ(std::make_tuple(f.anterior.Valor().int64, f.debitos.Valor().int64,
                                f.creditos.Valor().int64, f.Final().Valor().int64),
                std::make_tuple(e.anterior, e.debitos, e.creditos, e.Final()))
          << "conta " << linha.conta.numero;
      for (size_t m = 0; m < b.meses.size(); ++m) {
        const auto mes = e.meses.find(b.meses[m].Value());
        EXPECT_EQ(f.meses[m].Valor().int64, mes == e.meses.end() ? 0 : mes->second)
            << "conta " << linha.conta.numero << ", mes " << m;
      }
    }

    // Debits and credits differ by the one-sided entries of the period.
    int64_t debitos = 0, creditos = 0;
    for (const Salvo& s : kSalvos) {
      if (!Visivel(s, filial) || s.data < kDe || kAte < s.data) continue;
      debitos += s.debito != 0 ? s.valor : 0;
      creditos += s.credito != 0 ? s.valor : 0;
    }
    EXPECT_EQ(
        std::tuple(b.debitos.Valor().int64, b.creditos.Valor().int64, b.diferenca.Valor().int64),
        std::tuple(debitos, creditos, debitos - creditos));
    EXPECT_FALSE(b.Estourou());
  }
}

TEST_F(Relatorios, StatementsFromTheirOpeningBalancesAndTheLedger) {
  const PlanoDeContas plano = LePlano(Servico(), 'C');
  // An account with an entry on both sides, a total account beside "1.10",
  // one the chart lacks, one branch, an account without entries; and ten
  // years and more of opening balance, searched in spans that part between
  // December 2023 and January 2024.
  const std::tuple<int32_t, uint16_t, CQXData> casos[] = {
      {5, 0, kDesde},  {2, 0, kDesde},  {7, 0, kDesde},          {99, 0, kDesde},
      {31, 2, kDesde}, {11, 0, kDesde}, {4, 0, Dia(1, 1, 2014)}};
  for (const auto& [conta, filial, desde] : casos) {
    ConfereExtrato(MontaExtrato(Servico(), plano, conta, {desde, kDe, kAte, filial}), conta, filial,
                   desde);
  }

  // The ledger: the statements of the accounts that moved.
  const std::vector<Extrato> razao = MontaRazao(Servico(), plano, 4, 31, {kDesde, kDe, kAte, 0});
  std::vector<int32_t> contas;
  for (const Extrato& extrato : razao) {
    contas.push_back(extrato.conta.numero);
    ConfereExtrato(extrato, extrato.conta.numero, 0);
  }
  // In classification order; 99 is out of the range, 11 and 12 did not move.
  EXPECT_EQ(contas, (std::vector<int32_t>{4, 5, 6, 8, 21, 31}));
}

TEST_F(Relatorios, CostCentres) {
  const PlanoDeContas contabil = LePlano(Servico(), 'C'), gerencial = LePlano(Servico(), 'G');
  const std::pair<int32_t, uint16_t> casos[] = {{0, 0}, {2, 0}, {1, 0}, {0, 2}};
  for (const auto& [centro, filial] : casos) {
    SCOPED_TRACE(::testing::Message() << "centro " << centro << ", filial " << filial);
    std::map<std::pair<int32_t, int32_t>, std::pair<int64_t, int64_t>> esperado;
    int64_t valor = 0, quantidade = 0;
    for (const Salvo& s : kSalvos) {
      if (!Visivel(s, filial) || s.data < kDe || kAte < s.data) continue;
      for (const LinhaSalva& l : s.rateio) {
        // Centre 1 is the total of 2, 3 and 4.
        if (centro != 0 && centro != 1 && l.centro != centro) continue;
        auto& [v, q] = esperado[{l.centro, l.contaContabil}];
        v += l.valor;
        q += l.quantidade;
        valor += l.valor;
        quantidade += l.quantidade;
      }
    }
    const Centros c = MontaCentros(Servico(), contabil, gerencial, {kDe, kAte, filial, centro});
    std::map<std::pair<int32_t, int32_t>, std::pair<int64_t, int64_t>> obtido;
    for (const Centro& centroLido : c.centros) {
      int64_t v = 0, q = 0;
      for (const LinhaCentro& l : centroLido.contas) {
        obtido[{centroLido.centro.numero, l.conta.numero}] = {l.alocado.valor.Valor().int64,
                                                              l.alocado.quantidade.Valor().int64};
        v += l.alocado.valor.Valor().int64;
        q += l.alocado.quantidade.Valor().int64;
      }
      EXPECT_EQ(std::pair(centroLido.total.valor.Valor().int64,
                          centroLido.total.quantidade.Valor().int64), std::pair(v, q));
    }
    EXPECT_EQ(obtido, esperado);
    EXPECT_EQ(std::pair(c.total.valor.Valor().int64, c.total.quantidade.Valor().int64),
              std::pair(valor, quantidade));
  }
}

// The split of each entry as a report resolves it from a month's pages: the
// chain from the entry's first line while the owner word stays its own.
TEST(RateiosDoMes, ChainsEndAtAnotherOwnerAZeroLineOrTheEnd) {
  // Lines: 1-2 of entry 1, a removed line, 4 of entry 3 (with the client's
  // high bits), 5-6 of entry 5. Entries: first line, status.
  const uint32_t donos[] = {1, 1, 0, 0x30000003, 5, 5};
  const std::pair<int32_t, uint8_t> primeiras[] = {{1, 0}, {0, 0}, {4, 0}, {3, 1}, {5, 0}, {9, 0}};
  std::vector<LinhaGerencialDoMes> linhas(6);
  std::vector<LancamentoDoMes> lancamentos(6);
  for (int32_t i = 0; i < 6; ++i) {
    linhas[i].posicao = lancamentos[i].posicao = i + 1;
    linhas[i].linha.Indlan = static_cast<int32_t>(donos[i]);
    // The record is packed: its fields take copies, never references.
    lancamentos[i].dados.Gerencial = primeiras[i].first;
    lancamentos[i].status = primeiras[i].second;
  }
  std::map<int32_t, std::vector<int32_t>> posicoes;
  for (const auto& [lancamento, cadeia] : RateiosDoMes(lancamentos, linhas)) {
    for (const LinhaGerencialDoMes& l : cadeia) posicoes[lancamento].push_back(l.posicao);
  }
  // Entry 4 is deleted and entry 6 names a line past the end: no split.
  EXPECT_EQ(posicoes,
            (std::map<int32_t, std::vector<int32_t>>{{1, {1, 2}}, {3, {4}}, {5, {5, 6}}}));
}

}  // namespace
}  // namespace qx::test
