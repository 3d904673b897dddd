// The year's statements and its closing, run as people run them on a company
// of their own, each figure checked against sums worked out here.
#include <fstream>
#include <map>

#include "qxcn_fixture.h"

namespace qx::test {
namespace {

constexpr char kEmpresa[] = "ANUAL";

struct Lancamento {
  const char* data;
  int32_t debito, credito;
  int64_t centavos;
  int filial;
};

// A year on three branches: sales, expenses, cash and an account under the
// total "1.10" (8), which the total "1.1" (2) does not sum.
const Lancamento kAno[] = {
    {"10/01/2025", 4, 21, 1000000, 1}, {"15/02/2025", 31, 5, 250050, 1},
    {"20/03/2025", 8, 21, 300000, 3},  {"30/06/2025", 32, 4, 1290, 2},
    {"01/09/2025", 5, 8, 120000, 3},   {"31/12/2025", 6, 21, 45000, 2},
};

// Debits minus credits of the accounts given, over the year.
int64_t Saldo(std::initializer_list<int32_t> contas) {
  int64_t saldo = 0;
  for (const Lancamento& l : kAno) {
    for (const int32_t conta : contas) {
      saldo += (l.debito == conta ? l.centavos : 0) - (l.credito == conta ? l.centavos : 0);
    }
  }
  return saldo;
}

std::string Reais(int64_t centavos) {
  const int64_t inteiro = centavos < 0 ? -centavos : centavos;
  char texto[32];
  std::snprintf(texto, sizeof texto, "%s%lld.%02lld", centavos < 0 ? "-" : "",
                static_cast<long long>(inteiro / 100), static_cast<long long>(inteiro % 100));
  return texto;
}

// The figures of a statement's lines by account (or by group for the lines
// it works out).
std::map<std::string, Json> PorLinha(const Json& linhas, const char* valor) {
  std::map<std::string, Json> figuras;
  for (const Json& l : linhas) {
    figuras[l["conta"].is_null() ? l["grupo"].get<std::string>() : l["conta"].dump()] = l[valor];
  }
  return figuras;
}

class Encerramento : public Qxcn {
 protected:
  static Json Em(std::vector<std::string> args) {
    args.insert(args.end(), {"--empresa", kEmpresa});
    return RunJson(args);
  }
};

TEST_F(Encerramento, ClosingMovesTheResultToEquityAndReopeningBringsTheBooksBack) {
  for (const std::vector<std::string>& passo : std::vector<std::vector<std::string>>{
           {"company", "add", kEmpresa, "--sample"},
           {"config", "set", kEmpresa, "period-start", "01/01/2025"},
           {"config", "set", kEmpresa, "period-end", "31/12/2025"},
           {"account", "add", kEmpresa, "C", "7", "1.10", "T", "OUTROS"},
           {"account", "add", kEmpresa, "C", "8", "1.10.01.001", "A", "Outros créditos"}}) {
    ASSERT_EQ(Admin(passo).code, 0) << passo[0];
  }
  const auto encerra = [](std::vector<std::string> mais) {
    std::vector<std::string> args = {"encerra", "--exercicio", "2025",  "--conta-resultado",
                                     "13",      "--empresa",   kEmpresa};
    args.insert(args.end(), mais.begin(), mais.end());
    return args;
  };
  // Branch 3 is not the user's: its result would be left out.
  EXPECT_THAT(ErroJson(encerra({}))["dica"].get<std::string>(),
              HasSubstr("qxadmin filial ativa ANUAL 1 3"));
  ASSERT_EQ(Admin({"branch", "activate", kEmpresa, "1", "3"}).code, 0);
  for (const Lancamento& l : kAno) {
    ASSERT_EQ(Run({"grava", "--empresa", kEmpresa, "--data", l.data, "--debito",
                   std::to_string(l.debito), "--credito", std::to_string(l.credito), "--valor",
                   Reais(l.centavos), "--filial", std::to_string(l.filial)})
                  .code,
              0);
  }
  const int64_t resultado = -Saldo({21, 31, 32});
  const Json balancete = Em({"balancete", "--de", "01/01/2025", "--ate", "31/12/2025"});

  const Json antes = Em({"balanco", "--em", "31/12/2025"});
  std::map<std::string, Json> linhas = PorLinha(antes["balanco"], "saldo");
  EXPECT_EQ(linhas["2"], Reais(Saldo({4, 5, 6})));
  EXPECT_EQ(linhas["7"], Reais(Saldo({8})));
  EXPECT_EQ(linhas["total_ativo"], Reais(Saldo({4, 5, 6, 8})));
  EXPECT_EQ(antes["totais"][0]["resultado"], Reais(resultado));
  EXPECT_EQ(antes["totais"][0]["diferenca"], "0.00");
  const Json dre = Em({"dre", "--de", "01/01/2025", "--ate", "31/12/2025"});
  EXPECT_EQ(dre["totais"]["resultado"], Reais(resultado));
  EXPECT_EQ(dre["totais"]["receita_bruta"], Reais(-Saldo({21})));

  // One per branch and result account: 21 on the three, 31 on 1, 32 on 2.
  EXPECT_EQ(RunJson(encerra({"--simular"}))["encerramento"]["lancamentos"], 5);
  EXPECT_EQ(Em({"balancete", "--de", "01/01/2025", "--ate", "31/12/2025"}), balancete);

  const Json encerramento = RunJson(encerra({}));
  EXPECT_EQ(encerramento["encerramento"]["resultado"], Reais(resultado));
  linhas = PorLinha(Em({"balancete", "--de", "01/01/2025", "--ate", "31/12/2025"})["balancete"],
                    "saldo_final");
  for (const char* conta : {"20", "21", "30", "31", "32"}) {
    EXPECT_EQ(linhas[conta], "0.00") << conta;
  }
  EXPECT_EQ(linhas["13"], Reais(-resultado));
  const Json depois = Em({"balanco", "--em", "31/12/2025"})["totais"][0];
  EXPECT_EQ(depois["resultado"], "0.00");
  EXPECT_EQ(depois["patrimonio"], Reais(resultado));
  EXPECT_EQ(depois["diferenca"], "0.00");
  EXPECT_EQ(Em({"dre", "--de", "01/01/2025", "--ate", "31/12/2025"})["totais"], dre["totais"]);

  EXPECT_THAT(ErroJson(encerra({}))["dica"].get<std::string>(),
              HasSubstr("qxcn reabre --exercicio 2025"));
  EXPECT_EQ(Em({"reabre", "--exercicio", "2025"})["reabertura"]["lancamentos"], 5);
  EXPECT_EQ(Em({"balancete", "--de", "01/01/2025", "--ate", "31/12/2025"}), balancete);
}

// With the entries up to 30/06/2025 closed, every change of one of them is
// refused with the closed period's code and says who closed it and how to
// reopen; the same changes after it go through, and reopening lets them in.
TEST_F(Encerramento, AClosedPeriodRefusesTheChangesOfItsEntriesOnly) {
  const auto em = [](std::vector<std::string> args) {
    args.insert(args.end(), {"--empresa", "FECHADA"});
    return args;
  };
  for (const std::vector<std::string>& passo : std::vector<std::vector<std::string>>{
           {"company", "add", "FECHADA", "--sample"},
           {"config", "set", "FECHADA", "period-start", "01/01/2025"},
           {"config", "set", "FECHADA", "period-end", "31/12/2025"}}) {
    ASSERT_EQ(Admin(passo).code, 0) << passo[0];
  }
  std::map<std::string, std::string> lotes;
  for (const char* dia : {"10/06/2025", "10/07/2025"}) {
    ASSERT_EQ(
        Run(em({"grava", "--data", dia, "--debito", "31", "--credito", "5", "--valor", "1"})).code,
        0);
    const std::string arquivo = *dir_ / (std::string("fechada") + dia[4] + ".csv");
    std::ofstream(arquivo) << dia << ",31,5,2,1,importada\n";
    lotes[dia] = Lote(RunJson(em({"importa", arquivo})));
  }
  ASSERT_EQ(RunJson(em({"fecha-periodo", "--ate", "30/06/2025", "--usuario",
                        "1"}))["periodo_fechado"]["ate"],
            "2025-06-30");

  // Each change: inside the period, and the same after it.
  struct Caso {
    std::vector<std::string> dentro, fora;
  };
  const Caso kCasos[] = {
      {{"grava", "--data", "20/06/2025", "--debito", "31", "--credito", "5", "--valor", "3"},
       {"grava", "--data", "20/07/2025", "--debito", "31", "--credito", "5", "--valor", "3"}},
      {{"grava", "--mes", "06/2025", "--pos", "1", "--valor", "4"},
       {"grava", "--mes", "07/2025", "--pos", "1", "--valor", "4"}},
      {{"confere", "--mes", "06/2025", "--pos", "1"},
       {"confere", "--mes", "07/2025", "--pos", "1"}},
      {{"importa", *dir_ / "fechada6.csv", "--repetir"},
       {"importa", *dir_ / "fechada7.csv", "--repetir"}},
      {{"exclui-importacao", "--lote", lotes["10/06/2025"], "--de", "01/06/2025", "--ate",
        "30/06/2025"},
       {"exclui-importacao", "--lote", lotes["10/07/2025"], "--de", "01/07/2025", "--ate",
        "31/07/2025"}},
      {{"exclui", "--mes", "06/2025", "--pos", "1"}, {"exclui", "--mes", "07/2025", "--pos", "1"}},
  };
  const Json junho = RunJson(em({"mes", "--mes", "06/2025"}));
  for (const Caso& caso : kCasos) {
    const DumpRun recusa = Run(em(caso.dentro));
    EXPECT_EQ(recusa.code, 1) << caso.dentro[0];
    for (const char* texto : {"falhou: 0x800405FC E_QXCN_PERIODO_FECHADO: o lançamento é do período fechado até "
                              "30/06/2025, fechado pelo usuário 1 em ",
                              "qxcn fecha-periodo --reabrir"}) {
      EXPECT_THAT(recusa.err, HasSubstr(texto)) << caso.dentro[0];
    }
    EXPECT_EQ(Run(em(caso.fora)).code, 0) << caso.fora[0];
  }
  EXPECT_EQ(RunJson(em({"mes", "--mes", "06/2025"})), junho);

  // Closing never reopens; reopening is in the history, and lets changes in.
  EXPECT_EQ(Run(em({"fecha-periodo", "--ate", "31/05/2025"})).code, 2);
  ASSERT_EQ(Run(em({"fecha-periodo", "--reabrir"})).code, 0);
  EXPECT_EQ(Run(em(kCasos[5].dentro)).code, 0);
  const Json historico = RunJson(em({"historico", "--tipo", "periodo"}))["historico"];
  ASSERT_EQ(historico.size(), 4u);  // two events of two fields
  EXPECT_EQ(historico[1]["depois"], "2025-06-30");
  EXPECT_EQ(historico[3]["antes"], "2025-06-30");
  EXPECT_TRUE(historico[3]["depois"].is_null());
}

}  // namespace
}  // namespace qx::test
