// qxcn run as people run it, against the server through the local-server
// runtime: every subcommand, the tables, --json read back and the exit codes,
// on a temporary default installation with the server registered in it.
#include <signal.h>
#include <stdlib.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "../storage/qxdump_json.h"
#include "../storage/qxdump_run.h"

namespace qx::test {
namespace {

class Qxcn : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new TempDir();
    setenv("QX_REGISTRY", (*dir_ / "home/registry.reg").c_str(), 1);
    setenv("QX_REGISTRY_USER", (*dir_ / "user.reg").c_str(), 1);
    setenv("QX_RUNTIME_DIR", (*dir_ / "runtime").c_str(), 1);
    unsetenv("QX_HOME");
    for (const auto& [tool, args] : std::vector<std::pair<std::string, std::vector<std::string>>>{
             {"qxadmin", {"default", *dir_ / "home"}},
             {"qxadmin", {"config", "set", "DEMO", "foreign-currency", "1"}},
             {"ostrel", {"-RegServer"}}}) {
      const DumpRun run = RunTool(*dir_, Binary(tool), args);
      ASSERT_EQ(run.code, 0) << tool << ": " << run.err;
    }
  }
  static void TearDownTestSuite() {
    delete dir_;
    dir_ = nullptr;
  }

  static std::string Binary(const std::string& name) {
    return std::string(QX_TEST_BINARY_DIR) + "/tools/" + name + "/" + name;
  }
  static DumpRun Run(const std::vector<std::string>& args) {
    return RunTool(*dir_, Binary("qxcn"), args);
  }
  // A run that must succeed, with --json, parsed.
  static Json RunJson(std::vector<std::string> args) {
    args.push_back("--json");
    const DumpRun run = Run(args);
    EXPECT_EQ(run.code, 0) << run.err;
    const std::optional<Json> json = ParseJson(run.out);
    EXPECT_TRUE(json.has_value()) << "not JSON: " << run.out;
    return json.value_or(Json{});
  }

  // Starts qxcn in the background, its output caught in the folder `nome`
  // (with its process id in "pid"); Finish waits for it.
  static std::string Start(const std::vector<std::string>& args, const std::string& nome) {
    const std::string pasta = *dir_ / nome;
    std::ostringstream command;
    command << "mkdir -p " << Quoted(pasta) << "; cd " << Quoted(dir_->path()) << " && ( "
            << Quoted(Binary("qxcn"));
    for (const std::string& arg : args) command << ' ' << Quoted(arg);
    command << " >" << Quoted(pasta + "/out") << " 2>" << Quoted(pasta + "/err") << " & echo $! >"
            << Quoted(pasta + "/pid") << "; wait $!; echo $? >" << Quoted(pasta + "/rc.tmp")
            << "; mv " << Quoted(pasta + "/rc.tmp") << ' ' << Quoted(pasta + "/rc") << " ) &";
    EXPECT_EQ(std::system(command.str().c_str()), 0);
    return pasta;
  }
  static DumpRun Finish(const std::string& pasta) {
    DumpRun run;
    if (!Until([&] { return std::filesystem::exists(pasta + "/rc"); })) return run;
    run.code = std::atoi(ReadText(pasta + "/rc").c_str());
    run.out = ReadText(pasta + "/out");
    run.err = ReadText(pasta + "/err");
    return run;
  }
  // Polls every 20 ms for up to 60 s; the last answer.
  static bool Until(const std::function<bool()>& done) {
    for (int i = 0; i < 3000 && !done(); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return done();
  }

  static inline TempDir* dir_ = nullptr;
};

// A file of `linhas` entries of 1,00 on days of the month (MM/AAAA).
std::string ArquivoDoMes(const std::string& nome, int linhas, const std::string& mes) {
  std::ofstream csv(nome);
  for (int i = 1; i <= linhas; ++i) {
    csv << (i % 28 + 1) << '/' << mes << ",31,5,1,1,linha " << i << '\n';
  }
  return nome;
}

const Json& Primeiro(const Json& json, const char* tabela) { return json[tabela][size_t{0}]; }

TEST_F(Qxcn, RecordsReadsUpdatesChecksAndRemovesAnEntry) {
  // A new entry, shown as people read it.
  const DumpRun grava = Run({"grava", "--data", "15/03/2026", "--debito", "31", "--credito", "5",
                             "--valor", "1.234,56", "--historico", "1", "--documento", "77",
                             "--complemento", "Aluguel de março"});
  ASSERT_EQ(grava.code, 0) << grava.err;
  EXPECT_NE(grava.out.find("15/03/2026"), std::string::npos) << grava.out;
  EXPECT_NE(grava.out.find("1.234,56"), std::string::npos);
  EXPECT_NE(grava.out.find("Aluguel de março"), std::string::npos);

  Json lido = RunJson({"le", "--mes", "03/2026", "--pos", "1"});
  const Json& lancamento = Primeiro(lido, "lancamento");
  EXPECT_EQ(lancamento["data"].text, "2026-03-15");
  EXPECT_EQ(lancamento["valor"].text, "1234.56");
  EXPECT_EQ(lancamento["debito"].number, 31);
  EXPECT_EQ(lancamento["documento"].number, 77);
  EXPECT_EQ(lancamento["complemento"].text, "Aluguel de março");

  // An update keeps the position and the complement it does not change.
  ASSERT_EQ(Run({"grava", "--mes", "03/2026", "--pos", "1", "--valor", "1300"}).code, 0);
  lido = RunJson({"le", "--mes", "03/2026", "--pos", "1"});
  EXPECT_EQ(Primeiro(lido, "lancamento")["valor"].text, "1300.00");
  EXPECT_EQ(Primeiro(lido, "lancamento")["complemento"].text, "Aluguel de março");

  ASSERT_EQ(Run({"confere", "--mes", "03/2026", "--pos", "1"}).code, 0);
  lido = RunJson({"le", "--mes", "03/2026", "--pos", "1"});
  EXPECT_EQ(Primeiro(lido, "lancamento")["conferido"].text, "S");

  ASSERT_EQ(Run({"exclui", "--mes", "03/2026", "--pos", "1"}).code, 0);
  lido = RunJson({"le", "--mes", "03/2026", "--pos", "1"});
  EXPECT_EQ(Primeiro(lido, "lancamento")["conferido"].text, "excluído");
}

TEST_F(Qxcn, SplitAndForeignCurrencyReadBack) {
  ASSERT_EQ(
      Run({"grava", "--data", "02/04/2026", "--debito", "31", "--credito", "4", "--valor", "100",
           "--gerencial", "2:60", "--gerencial", "3:40", "--quantidade", "1,5", "--moeda", "20,25"})
          .code,
      0);
  const Json lido = RunJson({"le", "--mes", "04/2026", "--pos", "1"});
  const Json& rateio = lido["gerencial"];
  ASSERT_EQ(rateio.items.size(), 2u);
  EXPECT_EQ(rateio[size_t{0}]["gerencial"].number, 2);
  EXPECT_EQ(rateio[size_t{0}]["valor"].text, "60.00");
  EXPECT_EQ(rateio[size_t{0}]["contabil"].number, 31);
  EXPECT_EQ(rateio[size_t{1}]["valor"].text, "40.00");
  EXPECT_EQ(Primeiro(lido, "lancamento")["moeda"].text, "20.25");
}

TEST_F(Qxcn, SearchStatementMonthAndDifferences) {
  for (const auto& [dia, credito, valor, texto] :
       std::vector<std::tuple<const char*, const char*, const char*, const char*>>{
           {"10/05/2026", "21", "500", "AÇÃO DE COBRANÇA"},
           {"02/05/2026", "21", "250", "venda balcão"},
           {"20/05/2026", "0", "80", "sem contrapartida"}}) {
    ASSERT_EQ(Run({"grava", "--data", dia, "--debito", "6", "--credito", credito, "--valor", valor,
                   "--complemento", texto})
                  .code,
              0);
  }
  const Json busca =
      RunJson({"busca", "--de", "01/05/2026", "--ate", "31/05/2026", "--contem", "acao"});
  ASSERT_EQ(busca["lancamentos"].items.size(), 1u);
  EXPECT_EQ(busca["lancamentos"][size_t{0}]["valor"].text, "500.00");

  // The statement runs in date order with the balance accumulated.
  const Json extrato =
      RunJson({"extrato", "--conta", "6", "--de", "01/05/2026", "--ate", "31/05/2026"});
  ASSERT_EQ(extrato["extrato"].items.size(), 3u);
  EXPECT_EQ(extrato["extrato"][size_t{0}]["data"].text, "2026-05-02");
  EXPECT_EQ(extrato["extrato"][size_t{2}]["saldo"].text, "830.00");
  const DumpRun tabela =
      Run({"extrato", "--conta", "6", "--de", "01/05/2026", "--ate", "31/05/2026"});
  EXPECT_NE(tabela.out.find("Saldo do período 830,00"), std::string::npos) << tabela.out;

  const Json mes = RunJson({"mes", "--mes", "05/2026"});
  EXPECT_EQ(Primeiro(mes, "contagem")["lancamentos"].number, 3);
  EXPECT_EQ(mes["lancamentos"].items.size(), 3u);

  // The entry without a credit account leaves a difference of +80 on its day.
  const Json diferencas = RunJson({"diferencas"});
  bool achou = false;
  for (const Json& d : diferencas["diferencas"].items) {
    achou |= d["data"].text == "2026-05-20" && d["diferenca"].text == "80.00";
  }
  EXPECT_TRUE(achou);
  EXPECT_EQ(Primeiro(RunJson({"empresas"}), "empresas")["empresa"].text, "DEMO");
}

TEST_F(Qxcn, NotesAndImportLayouts) {
  EXPECT_EQ(
      Primeiro(RunJson({"notas", "existe", "--mes", "06/2026", "--chave", "9"}), "nota")["posicao"]
          .number,
      0);
  ASSERT_EQ(Run({"notas", "grava", "--mes", "06/2026", "--chave", "9", "--texto", "Ajuste"}).code,
            0);
  EXPECT_EQ(
      Primeiro(RunJson({"notas", "le", "--mes", "06/2026", "--chave", "9"}), "nota")["texto"].text,
      "Ajuste");

  ASSERT_EQ(Run({"formatos", "grava", "BANCO", "--contabil", "ACFDE", "--gerencial", "JK",
                 "--delimitador", ";"})
                .code,
            0);
  const Json formatos = RunJson({"formatos"});
  ASSERT_EQ(formatos["formatos"].items.size(), 1u);
  EXPECT_EQ(Primeiro(formatos, "formatos")["nome"].text, "BANCO");
  EXPECT_EQ(Primeiro(formatos, "formatos")["contabil"].text, "ACFDE");
  EXPECT_EQ(Primeiro(RunJson({"formatos", "mostra", "BANCO"}), "formatos")["delimitador"].text,
            ";");
  const DumpRun recusado = Run(
      {"formatos", "grava", "RUIM", "--contabil", "C", "--gerencial", "J", "--delimitador", "x"});
  EXPECT_EQ(recusado.code, 1);
  EXPECT_NE(recusado.err.find("delimitador"), std::string::npos) << recusado.err;
  ASSERT_EQ(Run({"formatos", "exclui", "BANCO"}).code, 0);
  EXPECT_EQ(Run({"formatos", "mostra", "BANCO"}).code, 1);
}

TEST_F(Qxcn, ImportOfTenThousandLinesAndItsRemoval) {
  const std::string arquivo = *dir_ / "lancamentos.csv";
  {
    std::ofstream csv(arquivo);
    for (int i = 1; i <= 10000; ++i) {
      if (i == 17)
        csv << "32/07/2026,31,5,10,1,data errada\n";
      else if (i == 5000)
        csv << "10/07/2026,31,5,dez,1,valor errado\n";
      else if (i == 9999)
        csv << "10/07/2026,0,0,10,1,sem contas\n";
      else
        csv << (i % 28 + 1) << "/07/2026,31,5,\"" << i << ",50\",1,\"linha " << i
            << ", com vírgula\"\n";
    }
  }
  ASSERT_EQ(
      Run({"grava", "--data", "01/07/2026", "--debito", "31", "--credito", "5", "--valor", "1"})
          .code,
      0);
  // Stopping at bad lines saves nothing.
  const DumpRun parado = Run({"importa", arquivo});
  EXPECT_EQ(parado.code, 1);
  EXPECT_NE(parado.err.find("3 linha(s)"), std::string::npos) << parado.err;
  EXPECT_EQ(Primeiro(RunJson({"mes", "--mes", "07/2026"}), "contagem")["lancamentos"].number, 1);

  const Json importacao = RunJson({"importa", arquivo, "--ao-erro", "pula"});
  EXPECT_EQ(Primeiro(importacao, "importacao")["gravados"].number, 9997);
  const Json& erros = importacao["erros"];
  ASSERT_EQ(erros.items.size(), 3u);
  EXPECT_EQ(erros[size_t{0}]["linha"].number, 17);
  EXPECT_EQ(erros[size_t{1}]["linha"].number, 5000);
  EXPECT_EQ(erros[size_t{2}]["linha"].number, 9999);
  EXPECT_NE(erros[size_t{1}]["motivo"].text.find("valor"), std::string::npos);
  EXPECT_EQ(Primeiro(RunJson({"mes", "--mes", "07/2026"}), "contagem")["lancamentos"].number, 9998);

  const std::string lote = Primeiro(importacao, "importacao")["lote"].text;
  const Json exclusao =
      RunJson({"exclui-importacao", "--lote", lote, "--de", "01/07/2026", "--ate", "31/07/2026"});
  EXPECT_EQ(Primeiro(exclusao, "exclusao")["excluidos"].number, 9997);
  const Json mes = RunJson({"mes", "--mes", "07/2026"});
  // Removal is logical: the records stay, marked deleted; the typed entry lives on.
  EXPECT_EQ(Primeiro(mes, "contagem")["lancamentos"].number, 9998);
  EXPECT_EQ(Primeiro(mes, "contagem")["excluidos"].number, 9997);
  EXPECT_EQ(Primeiro(mes, "contagem")["importados"].number, 9997);
  const Json restantes = RunJson({"busca", "--de", "01/07/2026", "--ate", "31/07/2026"});
  ASSERT_EQ(restantes["lancamentos"].items.size(), 1u);
  EXPECT_EQ(restantes["lancamentos"][size_t{0}]["valor"].text, "1.00");
}

TEST_F(Qxcn, ImportsAtOnceGetBatchesOfTheirOwnAndUndoingOneLeavesTheOthersWhole) {
  // A month each, so that no import meets another's entries in its own period.
  // The layouts file exists first: creating it at once is a matter of its own.
  constexpr int kLinhas = 300;
  ASSERT_EQ(Run({"formatos", "lista"}).code, 0);
  std::vector<std::string> pastas;
  for (int i = 0; i < 4; ++i) {
    const std::string mes = "0" + std::to_string(i + 1) + "/2027";
    const std::string arquivo = ArquivoDoMes(*dir_ / ("junto" + std::to_string(i)), kLinhas, mes);
    pastas.push_back(Start({"importa", arquivo, "--json"}, "junto" + std::to_string(i) + ".run"));
  }
  std::vector<std::string> lotes;
  for (const std::string& pasta : pastas) {
    const DumpRun run = Finish(pasta);
    ASSERT_EQ(run.code, 0) << run.err;
    const Json json = ParseJson(run.out).value_or(Json{});
    EXPECT_EQ(Primeiro(json, "importacao")["gravados"].number, kLinhas);
    lotes.push_back(Primeiro(json, "importacao")["lote"].text);
    // The batch and how to undo it were said before the first save.
    EXPECT_NE(run.err.find("para desfazer: qxcn exclui-importacao --empresa DEMO --lote " +
                           lotes.back() + " "),
              std::string::npos)
        << run.err;
  }
  EXPECT_EQ(std::set<std::string>(lotes.begin(), lotes.end()).size(), 4u);

  const Json exclusao = RunJson(
      {"exclui-importacao", "--lote", lotes[0], "--de", "01/01/2027", "--ate", "31/12/2027"});
  EXPECT_EQ(Primeiro(exclusao, "exclusao")["excluidos"].number, kLinhas);
  for (int i = 0; i < 4; ++i) {
    const Json mes = RunJson({"mes", "--mes", "0" + std::to_string(i + 1) + "/2027"});
    EXPECT_EQ(Primeiro(mes, "contagem")["lancamentos"].number, kLinhas);
    EXPECT_EQ(Primeiro(mes, "contagem")["excluidos"].number, i == 0 ? kLinhas : 0) << i;
  }
  // A batch already taken is not handed out again, not even when asked for.
  const DumpRun repetido = Run({"importa", *dir_ / "junto1", "--lote", lotes[1]});
  EXPECT_EQ(repetido.code, 1);
  EXPECT_NE(repetido.err.find("lote " + lotes[1] + " já"), std::string::npos) << repetido.err;
  EXPECT_EQ(Primeiro(RunJson({"mes", "--mes", "02/2027"}), "contagem")["lancamentos"].number,
            kLinhas);
}

TEST_F(Qxcn, AnImportAskedToStopEndsItsEntryAndSaysWhatItSaved) {
  constexpr int kLinhas = 20000;
  const std::string pasta =
      Start({"importa", ArquivoDoMes(*dir_ / "longo", kLinhas, "05/2027")}, "longo.run");
  ASSERT_TRUE(Until([&] { return ReadText(pasta + "/err").find("desfazer") != std::string::npos; }))
      << "the batch was not said before the import went on";
  kill(std::atoi(ReadText(pasta + "/pid").c_str()), SIGTERM);
  const DumpRun run = Finish(pasta);
  EXPECT_EQ(run.code, 1);
  const size_t em = run.err.find("interrompida pelo sinal 15: ");
  ASSERT_NE(em, std::string::npos) << run.err;
  const int gravados =
      std::atoi(run.err.c_str() + em + std::strlen("interrompida pelo sinal 15: "));
  EXPECT_LT(gravados, kLinhas);
  const size_t lote = run.err.find("--lote ");
  ASSERT_NE(lote, std::string::npos);
  // What it said it saved is there, every entry whole, and goes with the printed command.
  const Json exclusao =
      RunJson({"exclui-importacao", "--lote", std::to_string(std::atoi(run.err.c_str() + lote + 7)),
               "--de", "01/05/2027", "--ate", "31/05/2027"});
  EXPECT_EQ(Primeiro(exclusao, "exclusao")["encontrados"].number, gravados);
  EXPECT_EQ(Primeiro(exclusao, "exclusao")["excluidos"].number, gravados);
}

TEST_F(Qxcn, ExitCodes) {
  EXPECT_EQ(Run({}).code, 2);
  EXPECT_EQ(Run({"voa"}).code, 2);
  EXPECT_EQ(Run({"le", "--mes", "03/2026"}).code, 2);
  EXPECT_EQ(Run({"grava", "--data", "15/03/2026", "--valor", "1,2,3"}).code, 2);
  EXPECT_EQ(Run({"busca", "--tudo"}).code, 2);
  EXPECT_EQ(Run({"grava", "--help"}).code, 0);
  // A failure of the service names its code and what it means.
  const DumpRun semFilial = Run({"grava", "--data", "15/03/2026", "--debito", "31", "--credito",
                                 "5", "--valor", "1", "--filial", "0"});
  EXPECT_EQ(semFilial.code, 1);
  EXPECT_NE(semFilial.err.find("0x"), std::string::npos) << semFilial.err;
  const DumpRun empresa = Run({"mes", "--mes", "03/2026", "--empresa", "NADA"});
  EXPECT_EQ(empresa.code, 1);
  EXPECT_NE(empresa.err.find("Inicializa_Padrao"), std::string::npos) << empresa.err;
}

}  // namespace
}  // namespace qx::test
