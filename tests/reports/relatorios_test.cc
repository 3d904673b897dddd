// Every report compared with what the saved entries say, worked out here.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "livros.h"
#include "reports/balancete.h"
#include "reports/centros.h"
#include "reports/extrato.h"
#include "reports/plano.h"

namespace qx::test {
namespace {

std::string Classificacao(int32_t numero) {
  for (const ContaDoPlano& c : kPlano) {
    if (c.numero == numero) return c.classificacao;
  }
  return "";
}

// A total account and every account whose classification is its own
// followed by a dot (so "1.1" and not "1.10"); any other account alone.
std::vector<int32_t> Grupo(int32_t numero) {
  std::vector<int32_t> grupo = {numero};
  for (const ContaDoPlano& raiz : kPlano) {
    if (raiz.numero != numero || !raiz.total) continue;
    for (const ContaDoPlano& c : kPlano) {
      if (std::string(c.classificacao).starts_with(std::string(raiz.classificacao) + ".")) {
        grupo.push_back(c.numero);
      }
    }
  }
  return grupo;
}

bool Em(const std::vector<int32_t>& grupo, int32_t conta) {
  return conta != 0 && std::find(grupo.begin(), grupo.end(), conta) != grupo.end();
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

Periodo ODePeriodo(uint16_t filial) { return {kDesde, kDe, kAte, filial}; }

class Relatorios : public Livros {
 protected:
  static void ConfereExtrato(const Extrato& extrato, int32_t conta, uint16_t filial,
                             CQXData desde = kDesde) {
    SCOPED_TRACE("extrato da conta " + std::to_string(conta));
    const Esperado e = Soma(Grupo(conta), filial, desde);
    EXPECT_EQ(extrato.conta.numero, conta);
    EXPECT_EQ(extrato.anterior.Valor().int64, e.anterior);
    EXPECT_EQ(extrato.debitos.Valor().int64, e.debitos);
    EXPECT_EQ(extrato.creditos.Valor().int64, e.creditos);
    EXPECT_EQ(extrato.final.Valor().int64, e.Final());
    ASSERT_EQ(extrato.linhas.size(), e.linhas.size());
    int64_t saldo = e.anterior;
    for (size_t i = 0; i < e.linhas.size(); ++i) {
      const LinhaExtrato& linha = extrato.linhas[i];
      const Linha& esperada = e.linhas[i];
      saldo += esperada.debito - esperada.credito;
      EXPECT_EQ(linha.lancamento.dados.DataLancamento, esperada.salvo->data.Value()) << i;
      EXPECT_EQ(linha.debito.int64, esperada.debito) << i;
      EXPECT_EQ(linha.credito.int64, esperada.credito) << i;
      EXPECT_EQ(linha.saldo.Valor().int64, saldo) << i;
      EXPECT_EQ(linha.lancamento.complemento,
                "lan\xE7"
                "amento de " +
                    esperada.salvo->data.Text(1, '/'));
    }
  }
};

TEST_F(Relatorios, TrialBalance) {
  const PlanoDeContas plano = LePlano(Servico(), 'C');
  const struct {
    uint16_t filial;
    uint16_t nivel;
    bool zeradas;
  } casos[] = {{0, 0, false}, {2, 0, false}, {0, 2, false}, {0, 0, true}};
  for (const auto& caso : casos) {
    SCOPED_TRACE(::testing::Message() << "filial " << caso.filial << ", nivel " << caso.nivel
                                      << ", zeradas " << caso.zeradas);
    const Balancete b =
        MontaBalancete(Servico(), plano, {ODePeriodo(caso.filial), caso.nivel, true, caso.zeradas});
    // The rows: the chart in classification order, then the account it lacks.
    std::vector<int32_t> contas;
    for (const Conta& c : plano.Contas()) contas.push_back(c.numero);
    contas.push_back(99);
    std::vector<int32_t> esperadas;
    for (const int32_t conta : contas) {
      const std::string classificacao = Classificacao(conta);
      const auto nivel = std::count(classificacao.begin(), classificacao.end(), '.') + 1;
      if (caso.nivel != 0 && !classificacao.empty() && nivel > caso.nivel) continue;
      if (caso.zeradas || !Soma(Grupo(conta), caso.filial).Zero()) esperadas.push_back(conta);
    }
    std::vector<int32_t> linhas;
    for (const LinhaBalancete& linha : b.linhas) linhas.push_back(linha.conta.numero);
    EXPECT_EQ(linhas, esperadas);

    ASSERT_EQ(b.meses.size(), 3u);
    for (const LinhaBalancete& linha : b.linhas) {
      const Esperado e = Soma(Grupo(linha.conta.numero), caso.filial);
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
    int64_t debitos = 0, creditos = 0, umLado = 0;
    for (const Salvo& s : kSalvos) {
      if (!Visivel(s, caso.filial) || s.data < kDe || kAte < s.data) continue;
      debitos += s.debito != 0 ? s.valor : 0;
      creditos += s.credito != 0 ? s.valor : 0;
      if (s.debito != 0 && s.credito == 0) umLado += s.valor;
      if (s.debito == 0 && s.credito != 0) umLado -= s.valor;
    }
    EXPECT_EQ(b.debitos.Valor().int64, debitos);
    EXPECT_EQ(b.creditos.Valor().int64, creditos);
    EXPECT_EQ(b.diferenca.Valor().int64, umLado);
    EXPECT_EQ(b.diferenca.Valor().int64, debitos - creditos);
    EXPECT_FALSE(b.Estourou());
  }
}

TEST_F(Relatorios, StatementsFromTheirOpeningBalancesAndTheLedger) {
  const PlanoDeContas plano = LePlano(Servico(), 'C');
  // An account with an entry on both sides, a total account beside "1.10",
  // one the chart lacks, one branch, and an account without entries.
  const std::pair<int32_t, uint16_t> casos[] = {{5, 0}, {2, 0}, {7, 0}, {99, 0}, {31, 2}, {11, 0}};
  for (const auto& [conta, filial] : casos) {
    ConfereExtrato(MontaExtrato(Servico(), plano, conta, ODePeriodo(filial)), conta, filial);
  }
  // Ten years and more of opening balance, searched in spans that part
  // between December 2023 and January 2024.
  const CQXData desde = Dia(1, 1, 2014);
  ConfereExtrato(MontaExtrato(Servico(), plano, 4, {desde, kDe, kAte, 0}), 4, 0, desde);

  // The ledger: the statements of the accounts that moved.
  const std::vector<Extrato> razao = MontaRazao(Servico(), plano, 4, 31, ODePeriodo(0));
  std::vector<int32_t> contas;
  for (const Extrato& extrato : razao) {
    contas.push_back(extrato.conta.numero);
    ConfereExtrato(extrato, extrato.conta.numero, 0);
  }
  // In classification order; 99 is out of the range, 11 and 12 did not move.
  EXPECT_EQ(contas, (std::vector<int32_t>{4, 5, 6, 8, 21, 31}));
}

TEST_F(Relatorios, CostCentres) {
  const PlanoDeContas contabil = LePlano(Servico(), 'C');
  const PlanoDeContas gerencial = LePlano(Servico(), 'G');
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
      EXPECT_EQ(centroLido.total.valor.Valor().int64, v);
      EXPECT_EQ(centroLido.total.quantidade.Valor().int64, q);
    }
    EXPECT_EQ(obtido, esperado);
    EXPECT_EQ(c.total.valor.Valor().int64, valor);
    EXPECT_EQ(c.total.quantidade.Valor().int64, quantidade);
  }
}

}  // namespace
}  // namespace qx::test
