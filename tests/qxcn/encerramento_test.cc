// The year's statements, its closing and its bookkeeping file (ECD), run as
// people run them on companies of their own, each figure checked against sums
// worked out here.
#include <filesystem>
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

// How many times `trecho` is in `texto`.
size_t Conta(const std::string& texto, const std::string& trecho) {
  size_t n = 0;
  for (size_t p = texto.find(trecho); p != std::string::npos; p = texto.find(trecho, p + 1)) ++n;
  return n;
}

class Encerramento : public Qxcn {
 protected:
  // `args` for the company `empresa`.
  static std::vector<std::string> Na(const std::string& empresa,
                                     const std::vector<std::string>& args) {
    return Com(args, {"--empresa", empresa});
  }
  static Json Em(const std::vector<std::string>& args) { return RunJson(Na(kEmpresa, args)); }
  // The report `relatorio` over the year 2025.
  static Json Ano(const char* relatorio) {
    return Em({relatorio, "--de", "01/01/2025", "--ate", "31/12/2025"});
  }
  // A company with the sample's charts and the year 2025 as its period,
  // then the qxadmin `passos`.
  static void Empresa(const std::string& nome, std::vector<std::vector<std::string>> passos = {}) {
    passos.insert(passos.begin(), {{"company", "add", nome, "--sample"},
                                   {"config", "set", nome, "period-start", "01/01/2025"},
                                   {"config", "set", nome, "period-end", "31/12/2025"}});
    for (const std::vector<std::string>& passo : passos) {
      ASSERT_EQ(Admin(passo).code, 0) << passo[0];
    }
  }
};

TEST_F(Encerramento, ClosingMovesTheResultToEquityAndReopeningBringsTheBooksBack) {
  Empresa(kEmpresa, {{"account", "add", kEmpresa, "C", "7", "1.10", "T", "OUTROS"},
                     {"account", "add", kEmpresa, "C", "8", "1.10.01.001", "A", "Outros créditos"}});
  const auto encerra = [](const std::vector<std::string>& mais) {
    return Na(kEmpresa, Com({"encerra", "--exercicio", "2025", "--conta-resultado", "13"}, mais));
  };
  // Branch 3 is not the user's: its result would be left out.
  EXPECT_THAT(ErroJson(encerra({}))["dica"].get<std::string>(),
              HasSubstr("qxadmin filial ativa ANUAL 1 3"));
  ASSERT_EQ(Admin({"branch", "activate", kEmpresa, "1", "3"}).code, 0);
  for (const Lancamento& l : kAno) {
    RunEnds(Lanca(l.data, std::to_string(l.debito), std::to_string(l.credito), Reais(l.centavos),
                  {"--filial", std::to_string(l.filial), "--empresa", kEmpresa}));
  }
  const int64_t resultado = -Saldo({21, 31, 32});
  const Json balancete = Ano("balancete");

  const Json antes = Em({"balanco", "--em", "31/12/2025"});
  std::map<std::string, Json> linhas = PorLinha(antes["balanco"], "saldo");
  EXPECT_EQ(linhas["2"], Reais(Saldo({4, 5, 6})));
  EXPECT_EQ(linhas["7"], Reais(Saldo({8})));
  EXPECT_EQ(linhas["total_ativo"], Reais(Saldo({4, 5, 6, 8})));
  EXPECT_EQ(antes["totais"][0]["resultado"], Reais(resultado));
  EXPECT_EQ(antes["totais"][0]["diferenca"], "0.00");
  const Json dre = Ano("dre");
  EXPECT_EQ(dre["totais"]["resultado"], Reais(resultado));
  EXPECT_EQ(dre["totais"]["receita_bruta"], Reais(-Saldo({21})));

  // One per branch and result account: 21 on the three, 31 on 1, 32 on 2.
  EXPECT_EQ(RunJson(encerra({"--simular"}))["encerramento"]["lancamentos"], 5);
  EXPECT_EQ(Ano("balancete"), balancete);

  const Json encerramento = RunJson(encerra({}));
  EXPECT_EQ(encerramento["encerramento"]["resultado"], Reais(resultado));
  linhas = PorLinha(Ano("balancete")["balancete"], "saldo_final");
  for (const char* conta : {"20", "21", "30", "31", "32"}) {
    EXPECT_EQ(linhas[conta], "0.00") << conta;
  }
  EXPECT_EQ(linhas["13"], Reais(-resultado));
  const Json depois = Em({"balanco", "--em", "31/12/2025"})["totais"][0];
  EXPECT_EQ(depois["resultado"], "0.00");
  EXPECT_EQ(depois["patrimonio"], Reais(resultado));
  EXPECT_EQ(depois["diferenca"], "0.00");
  EXPECT_EQ(Ano("dre")["totais"], dre["totais"]);

  EXPECT_THAT(ErroJson(encerra({}))["dica"].get<std::string>(),
              HasSubstr("qxcn reabre --exercicio 2025"));
  EXPECT_EQ(Em({"reabre", "--exercicio", "2025"})["reabertura"]["lancamentos"], 5);
  EXPECT_EQ(Ano("balancete"), balancete);
}

// With the entries up to 30/06/2025 closed, every change of one of them is
// refused with the closed period's code and says who closed it and how to
// reopen; the same changes after it go through, and reopening lets them in.
TEST_F(Encerramento, AClosedPeriodRefusesTheChangesOfItsEntriesOnly) {
  const auto em = [](const std::vector<std::string>& args) { return Na("FECHADA", args); };
  Empresa("FECHADA");
  std::map<std::string, std::string> lotes;
  for (const char* dia : {"10/06/2025", "10/07/2025"}) {
    RunEnds(em(Lanca(dia, "31", "5", "1")));
    const std::string arquivo = *dir_ / (std::string("fechada") + dia[4] + ".csv");
    std::ofstream(arquivo) << dia << ",31,5,2,1,importada\n";
    lotes[dia] = Lote(RunJson(em({"importa", arquivo})));
  }
  ASSERT_EQ(RunJson(em({"fecha-periodo", "--ate", "30/06/2025", "--usuario",
                        "1"}))["periodo_fechado"]["ate"],
            "2025-06-30");

  // Each change of a month (MM) ending on its day `fim`: June's inside the
  // period, July's after it.
  const auto mudancas = [&](const std::string& mm, const std::string& fim) {
    const std::string mes = mm + "/2025";
    return std::vector<std::vector<std::string>>{
        Lanca("20/" + mes, "31", "5", "3"),
        {"grava", "--mes", mes, "--pos", "1", "--valor", "4"},
        {"confere", "--mes", mes, "--pos", "1"},
        {"importa", *dir_ / ("fechada" + mm.substr(1) + ".csv"), "--repetir"},
        {"exclui-importacao", "--lote", lotes["10/" + mes], "--de", "01/" + mes, "--ate",
         fim + "/" + mes},
        {"exclui", "--mes", mes, "--pos", "1"}};
  };
  const auto dentro = mudancas("06", "30"), fora = mudancas("07", "31");
  const Json junho = RunJson(em({"mes", "--mes", "06/2025"}));
  for (size_t i = 0; i < dentro.size(); ++i) {
    RunEnds(em(dentro[i]), 1,
            {"falhou: 0x800405FC E_QXCN_PERIODO_FECHADO: o lançamento é do período fechado até "
             "30/06/2025, fechado pelo usuário 1 em ",
             "qxcn fecha-periodo --reabrir"});
    RunEnds(em(fora[i]));
  }
  EXPECT_EQ(RunJson(em({"mes", "--mes", "06/2025"})), junho);

  // Closing never reopens; reopening is in the history, and lets changes in.
  RunEnds(em({"fecha-periodo", "--ate", "31/05/2025"}), 2);
  RunEnds(em({"fecha-periodo", "--reabrir"}));
  RunEnds(em(dentro.back()));
  const Json historico = RunJson(em({"historico", "--tipo", "periodo"}))["historico"];
  ASSERT_EQ(historico.size(), 4u);  // two events of two fields
  EXPECT_EQ(historico[1]["depois"], "2025-06-30");
  EXPECT_EQ(historico[3]["antes"], "2025-06-30");
  EXPECT_TRUE(historico[3]["depois"].is_null());
}

// The bookkeeping file (ECD) of a closed year, from the books as people keep
// them: written only when it passes the checker, or when forced.
TEST_F(Encerramento, TheBookkeepingFileIsWrittenOnlyWhenItPassesOrWhenForced) {
  const std::string livros = "LIVROS";
  const auto gera = [&](const std::string& arquivo, int codigo,
                        const std::vector<std::string>& mais) {
    return RunEnds(Na(livros, Com({"ecd", "--exercicio", "2025", "--saida", arquivo}, mais)),
                   codigo);
  };
  Empresa(livros, {
      {"branch", "activate", livros, "1", "3"},
      {"cadastro", "define", livros, "--razao-social", "Livros Ltda", "--cnpj",
       "11.222.333/0001-81", "--uf", "SP", "--municipio", "3550308", "--nire", "35212345678",
       "--arquivamento", "10/01/2020"},
      {"signatario", "inclui", livros, "529.982.247-25", "900", "Ana", "--crc", "1SP123456",
       "--uf-crc", "SP", "--email", "ana@x.br", "--telefone", "(11) 3333-4444"},
      {"signatario", "inclui", livros, "111.444.777-35", "205", "Beto", "--responsavel"},
  });
  for (const std::vector<std::string>& passo : std::vector<std::vector<std::string>>{
           Lanca("10/01/2025", "4", "21", "1.000,00",
                 {"--historico", "2", "--complemento", "Venda | balcão"}),
           Lanca("15/02/2025", "31", "5", "800,00",
                 {"--gerencial", "2:500,00", "--gerencial", "3:300,00", "--documento", "102"}),
           Lanca("20/03/2025", "32", "4", "12,90"),
           {"encerra", "--exercicio", "2025", "--conta-resultado", "13"}}) {
    RunEnds(Na(livros, passo));
  }

  const std::string arquivo = *dir_ / "livros.txt";
  ASSERT_EQ(gera(arquivo, 0, {}).code, 0);
  const std::string ecd = ReadText(arquivo);
  // Three entries and one closing entry per result account (21, 31, 32).
  EXPECT_EQ(Conta(ecd, "\r\n|I200|"), 6u);
  EXPECT_EQ(Conta(ecd, "|E||\r\n"), 3u);
  // The split side in its centres, the closing by centre too, the
  // complement's pipe made harmless and, without a history, the accounts.
  EXPECT_THAT(ecd, HasSubstr("|I250|4.1.01.001|1.01|500,00|D|102|"));
  EXPECT_THAT(ecd, HasSubstr("|I250|4.1.01.001|1.02|300,00|C|||Encerramento"));
  EXPECT_THAT(ecd, HasSubstr("|2|Recebimento de cliente Venda   balc\xE3o|"));
  EXPECT_THAT(ecd, HasSubstr("|Despesas banc\xE1rias a Caixa|"));
  EXPECT_THAT(ecd, HasSubstr("|I155|4.1.01.001|1.02|0,00|D|300,00|0,00|300,00|D|\r\n"));
  RunEnds({"ecd", "--conferir", arquivo});

  // No accountant to sign: named, and nothing written but with --forcar.
  ASSERT_EQ(Admin({"signatario", "exclui", livros, "529.982.247-25", "900"}).code, 0);
  const std::string recusado = *dir_ / "recusado.txt";
  const DumpRun semContador = gera(recusado, 1, {});
  EXPECT_THAT(semContador.out + semContador.err, HasSubstr("J930"));
  EXPECT_THAT(semContador.err, HasSubstr("nenhum arquivo gravado"));
  EXPECT_FALSE(std::filesystem::exists(recusado));
  EXPECT_FALSE(std::filesystem::exists(recusado + ".parcial"));
  gera(recusado, 1, {"--forcar"});
  EXPECT_TRUE(std::filesystem::exists(recusado));
  RunEnds({"ecd", "--conferir", recusado, "--saida", arquivo}, 2);
}

}  // namespace
}  // namespace qx::test
