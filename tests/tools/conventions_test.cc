// The conventions every tool keeps, run over every tool and every subcommand
// its help lists: help on standard output for help SUB, SUB --help anywhere on
// the line and SUB -h; usage errors with exit 2 on standard error, as one JSON
// object with --json; --version.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "../storage/qxdump_run.h"

namespace qx::test {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

// The words of a command line.
std::vector<std::string> Palavras(const std::string& linha) {
  std::istringstream palavras(linha);
  return {std::istream_iterator<std::string>(palavras), std::istream_iterator<std::string>()};
}

struct Ferramenta {
  std::string nome;
  bool json;        // takes --json
  size_t comandos;  // the subcommands its help lists, if any
};

const Ferramenta kFerramentas[] = {
    {"qxcn", true, 30},  {"qxadmin", true, 33}, {"qxcheck", true, 0},
    {"qxdump", true, 0}, {"qxdate", false, 0},
};

class Convencoes : public ::testing::Test {
 protected:
  DumpRun Roda(const std::string& ferramenta, const std::vector<std::string>& args) const {
    return RunTool(
        dir_, std::string(QX_TEST_BINARY_DIR) + "/tools/" + ferramenta + "/" + ferramenta, args);
  }
  // The subcommands the tool's help lists; one empty name without them.
  std::vector<std::string> Comandos(const std::string& ferramenta) const {
    const std::string ajuda = Roda(ferramenta, {"help"}).out;
    const size_t inicio = ajuda.find("\nsubcomandos:\n");
    if (inicio == std::string::npos) return {""};
    std::vector<std::string> listados;
    std::istringstream linhas(ajuda.substr(inicio + 14));
    for (std::string linha; std::getline(linhas, linha) && !linha.empty();) {
      listados.push_back(linha.substr(2, linha.find("  ", 2) - 2));
    }
    return listados;
  }
  TempDir dir_;
  // No installation: nothing here may reach one.
  ScopedEnv registro_{"QX_REGISTRY", dir_ / "nenhum.reg"};
};

TEST_F(Convencoes, EverySubcommandHelpsAndRefusesUsageErrors) {
  for (const Ferramenta& f : kFerramentas) {
    const std::vector<std::string> comandos = Comandos(f.nome);
    EXPECT_EQ(comandos.size(), std::max<size_t>(f.comandos, 1)) << f.nome;
    for (const std::string& comando : comandos) {
      const std::string nome = f.nome + (comando.empty() ? "" : " " + comando);
      const DumpRun ajuda = Roda(f.nome, Palavras("help " + comando));
      EXPECT_EQ(ajuda.code, 0) << nome;
      EXPECT_THAT(ajuda.out, StartsWith("uso: " + nome + " ")) << nome;
      EXPECT_EQ(ajuda.err, "") << nome;
      for (const std::string pedido : {" --help", " -h", " --nao-existe 1 --help"}) {
        const DumpRun outra = Roda(f.nome, Palavras(comando + pedido));
        EXPECT_EQ(outra.code, 0) << nome << pedido;
        EXPECT_EQ(outra.out, ajuda.out) << nome << pedido;
      }
      // Usage errors: exit 2, nothing on standard output, one JSON object with --json.
      const DumpRun errado = Roda(f.nome, Palavras(comando + " --nao-existe"));
      EXPECT_EQ(errado.code, 2) << nome;
      EXPECT_EQ(errado.out, "") << nome;
      EXPECT_THAT(errado.err, HasSubstr("--nao-existe")) << nome;
      if (!f.json) continue;
      const DumpRun json = Roda(f.nome, Palavras(comando + " --json --nao-existe=1"));
      EXPECT_EQ(json.code, 2) << nome;
      EXPECT_EQ(json.out, "") << nome;
      std::optional<Json> objeto = ParseJson(json.err);
      ASSERT_TRUE(objeto.has_value()) << nome << ": " << json.err;
      EXPECT_TRUE((*objeto)["codigo"].is_null()) << nome;
      EXPECT_THAT((*objeto)["mensagem"].get<std::string>(), HasSubstr("--nao-existe")) << nome;
    }
  }
}

TEST_F(Convencoes, VersionHelpListAndWrongSubcommands) {
  for (const Ferramenta& f : kFerramentas) {
    const DumpRun versao = Roda(f.nome, {"--version"});
    EXPECT_EQ(versao.code, 0) << f.nome;
    EXPECT_EQ(versao.out, f.nome + " 0.1.0\n");
    if (f.comandos == 0) continue;
    const DumpRun vazio = Roda(f.nome, {});
    EXPECT_EQ(vazio.code, 2) << f.nome;
    EXPECT_EQ(vazio.out, "");
    EXPECT_EQ(Roda(f.nome, {"voa"}).code, 2) << f.nome;
    EXPECT_EQ(Roda(f.nome, {"help", "voa"}).code, 2) << f.nome;
  }
  // The English names qxadmin had still answer, unshown: a group and a subcommand.
  EXPECT_THAT(Roda("qxadmin", {"config"}).err, HasSubstr("mostra, define"));
  const DumpRun antigo = Roda("qxadmin", {"config", "show", "--help"});
  EXPECT_EQ(antigo.code, 0);
  EXPECT_THAT(antigo.out, HasSubstr("uso: qxadmin config mostra"));
}

// A failure names its code, the code's symbol and description, and what to
// do; with --json it is one object on standard error and nothing on standard
// output. Here the server is not registered in the (empty) registry.
TEST_F(Convencoes, FailuresNameTheCodeTheSymbolAndWhatToDo) {
  const DumpRun texto = Roda("qxcn", {"empresas"});
  EXPECT_EQ(texto.code, 1);
  EXPECT_THAT(texto.err, HasSubstr("CLSIDFromProgID falhou: 0x800401F3 CO_E_CLASSSTRING: "));
  EXPECT_THAT(texto.err, HasSubstr("o que fazer: registre o servidor"));
  const DumpRun json = Roda("qxcn", {"empresas", "--json"});
  EXPECT_EQ(json.code, 1);
  EXPECT_EQ(json.out, "");
  Json erro = ParseJson(json.err).value_or(Json::object());
  EXPECT_EQ(erro["codigo"], "0x800401F3");
  EXPECT_EQ(erro["simbolo"], "CO_E_CLASSSTRING");
  EXPECT_THAT(erro["dica"].get<std::string>(), HasSubstr("ostrel -RegServer"));
}

// The server takes only its switches: anything else prints the usage and
// exits 2 instead of serving.
TEST_F(Convencoes, OstrelRefusesWhatItDoesNotKnow) {
  const DumpRun ajuda = Roda("ostrel", {"--help"});
  EXPECT_EQ(ajuda.code, 2);
  EXPECT_THAT(ajuda.out, StartsWith("uso: ostrel"));
  const DumpRun errado = Roda("ostrel", {"-RegServr"});
  EXPECT_EQ(errado.code, 2);
  EXPECT_THAT(errado.err, HasSubstr("chave desconhecida: -RegServr"));
  EXPECT_EQ(Roda("ostrel", {"--version"}).out, "ostrel 0.1.0\n");
}

// The completion script comes from the same tables: it offers a
// subcommand's options, a group's subcommands and an option's choices.
TEST_F(Convencoes, BashCompletionFromTheTables) {
  const std::pair<std::string, std::string> casos[] = {
      {"qxcn grava --deb", "--debito"},
      {"qxcn notas ", "existe grava le"},
      {"qxcn importa x --ao-erro p", "para pula"},
      {"qxcn exclui-importacao --si", "--simular"},
      {"qxadmin config ", "define mostra"},
      {"qxcheck --diferenca-p", "--diferenca-por-filial"},
      {"qxcheck --diferenca-por-filial ", "0 1"},
  };
  for (const auto& [linha, oferece] : casos) {
    const std::string ferramenta = linha.substr(0, linha.find(' '));
    const std::string script = dir_ / (ferramenta + ".bash");
    const DumpRun completa = Roda(ferramenta, {"--completion"});
    ASSERT_EQ(completa.code, 0);
    WriteText(script, completa.out);
    const DumpRun run = RunTool(
        dir_, "bash",
        {"-c",
         "source " + script + "; COMP_WORDS=(" + linha + (linha.ends_with(" ") ? "\"\"" : "") +
             "); COMP_CWORD=$((${#COMP_WORDS[@]}-1)); _" + ferramenta + "; echo ${COMPREPLY[@]}"});
    EXPECT_EQ(run.out, oferece + "\n") << linha << run.err;
  }
}

}  // namespace
}  // namespace qx::test
