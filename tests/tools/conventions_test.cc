// The conventions every tool keeps, run over every tool and subcommand from
// one table: help on standard output for help SUB, SUB --help anywhere on the
// line and SUB -h; usage errors with exit 2 on standard error, as one JSON
// object with --json; --version; the subcommands help lists are the table's.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../storage/qxdump_run.h"

namespace qx::test {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

// A text's parts between separators.
std::vector<std::string> Partes(const std::string& texto, char separador) {
  std::vector<std::string> partes;
  for (size_t inicio = 0; inicio < texto.size();) {
    const size_t fim = std::min(texto.find(separador, inicio), texto.size());
    partes.push_back(texto.substr(inicio, fim - inicio));
    inicio = fim + 1;
  }
  return partes;
}

struct Ferramenta {
  std::string nome;
  bool json;                          // takes --json
  std::vector<std::string> comandos;  // "" for a tool without subcommands
};

const std::vector<Ferramenta> kFerramentas = {
    {"qxcn", true,
     Partes("grava,le,exclui,confere,mes,diferencas,busca,extrato,razao,balancete,centros,"
            "balanco,dre,encerra,reabre,fecha-periodo,notas existe,notas le,notas grava,"
            "formatos lista,formatos mostra,formatos exclui,formatos grava,importa,"
            "exclui-importacao,empresas,empresa atual,empresa usar,historico,ecd",
            ',')},
    {"qxadmin", true,
     Partes("instala,padrao,empresa inclui,empresa lista,empresa move,empresa compartilha,"
            "usuario inclui,usuario lista,filial inclui,filial lista,filial ativa,"
            "filial desativa,conta inclui,conta lista,natureza lista,natureza define,"
            "natureza remove,historico inclui,historico lista,config mostra,config define,"
            "log lista,ged lista,ged bloqueia,ged desbloqueia,cadastro mostra,cadastro define,"
            "signatario inclui,signatario lista,signatario exclui,aglutinacao define,"
            "aglutinacao exclui,aglutinacao lista",
            ',')},
    {"qxcheck", true, {""}},
    {"qxdump", true, {""}},
    {"qxdate", false, {""}},
};

// A subcommand's words, then more.
std::vector<std::string> Palavras(const std::string& comando, std::vector<std::string> mais) {
  std::vector<std::string> palavras = Partes(comando, ' ');
  palavras.insert(palavras.end(), mais.begin(), mais.end());
  return palavras;
}

class Convencoes : public ::testing::Test {
 protected:
  DumpRun Roda(const std::string& ferramenta, const std::vector<std::string>& args) const {
    return RunTool(
        dir_, std::string(QX_TEST_BINARY_DIR) + "/tools/" + ferramenta + "/" + ferramenta, args);
  }
  TempDir dir_;
  // No installation: nothing here may reach one.
  ScopedEnv registro_{"QX_REGISTRY", dir_ / "nenhum.reg"};
};

TEST_F(Convencoes, EverySubcommandHelpsAndRefusesUsageErrors) {
  for (const Ferramenta& f : kFerramentas) {
    for (const std::string& comando : f.comandos) {
      const std::string nome = f.nome + (comando.empty() ? "" : " " + comando);
      const DumpRun ajuda = Roda(f.nome, Palavras("help " + comando, {}));
      EXPECT_EQ(ajuda.code, 0) << nome;
      EXPECT_THAT(ajuda.out, StartsWith("uso: " + nome + " ")) << nome;
      EXPECT_EQ(ajuda.err, "") << nome;
      for (const std::vector<std::string>& pedido :
           {std::vector<std::string>{"--help"}, {"-h"}, {"--nao-existe", "1", "--help"}}) {
        const DumpRun outra = Roda(f.nome, Palavras(comando, pedido));
        EXPECT_EQ(outra.code, 0) << nome << " " << pedido[0];
        EXPECT_EQ(outra.out, ajuda.out) << nome << " " << pedido[0];
      }
      // Usage errors: exit 2, nothing on standard output, one JSON object with --json.
      const DumpRun errado = Roda(f.nome, Palavras(comando, {"--nao-existe"}));
      EXPECT_EQ(errado.code, 2) << nome;
      EXPECT_EQ(errado.out, "") << nome;
      EXPECT_THAT(errado.err, HasSubstr("--nao-existe")) << nome;
      if (!f.json) continue;
      const DumpRun json = Roda(f.nome, Palavras(comando, {"--json", "--nao-existe=1"}));
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
    if (f.comandos[0].empty()) continue;
    // The help lists exactly the subcommands of the table.
    const std::string ajuda = Roda(f.nome, {"help"}).out;
    std::vector<std::string> listados;
    std::istringstream linhas(ajuda.substr(ajuda.find("\nsubcomandos:\n") + 14));
    for (std::string linha; std::getline(linhas, linha) && !linha.empty();) {
      listados.push_back(linha.substr(2, linha.find("  ", 2) - 2));
    }
    EXPECT_EQ(listados, f.comandos) << ajuda;
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
  const struct {
    std::string ferramenta;
    std::string linha;
    std::string oferece;
  } casos[] = {
      {"qxcn", "qxcn grava --deb", "--debito"},
      {"qxcn", "qxcn notas ", "existe grava le"},
      {"qxcn", "qxcn importa x --ao-erro p", "para pula"},
      {"qxcn", "qxcn exclui-importacao --si", "--simular"},
      {"qxadmin", "qxadmin config ", "define mostra"},
      {"qxcheck", "qxcheck --diferenca-p", "--diferenca-por-filial"},
      {"qxcheck", "qxcheck --diferenca-por-filial ", "0 1"},
  };
  for (const auto& caso : casos) {
    const std::string script = dir_ / (caso.ferramenta + ".bash");
    ASSERT_EQ(Roda(caso.ferramenta, {"--completion"}).code, 0);
    WriteText(script, Roda(caso.ferramenta, {"--completion"}).out);
    const DumpRun run = RunTool(dir_, "bash",
                                {"-c", "source " + script + "; COMP_WORDS=(" + caso.linha +
                                           (caso.linha.ends_with(" ") ? "\"\"" : "") +
                                           "); COMP_CWORD=$((${#COMP_WORDS[@]}-1)); _" +
                                           caso.ferramenta + "; echo ${COMPREPLY[@]}"});
    EXPECT_EQ(run.out, caso.oferece + "\n") << caso.linha << run.err;
  }
}

}  // namespace
}  // namespace qx::test
