// qxadmin: creates an installation of the suite and its companies, moves a
// company's data between SQLite and PostgreSQL, and edits the companies' data
// (users, branches, charts, histories, configuration, registration for the
// bookkeeping file).
#include <utility>

#include "cli.h"

namespace {

using qxadmin::Comando;

// The subcommands' Portuguese names; the English ones they had still answer,
// unshown, so that scripts written for them keep working.
constexpr std::pair<const char*, const char*> kNomes[] = {
    {"install", "instala"},
    {"default", "padrao"},
    {"company add", "empresa inclui"},
    {"company list", "empresa lista"},
    {"company move", "empresa move"},
    {"company sharing", "empresa compartilha"},
    {"user add", "usuario inclui"},
    {"user list", "usuario lista"},
    {"branch add", "filial inclui"},
    {"branch list", "filial lista"},
    {"branch activate", "filial ativa"},
    {"branch deactivate", "filial desativa"},
    {"account add", "conta inclui"},
    {"account list", "conta lista"},
    {"history add", "historico inclui"},
    {"history list", "historico lista"},
    {"config show", "config mostra"},
    {"config set", "config define"},
    {"log list", "log lista"},
    {"ged list", "ged lista"},
    {"ged lock", "ged bloqueia"},
    {"ged unlock", "ged desbloqueia"},
};

std::vector<Comando> EmPortugues(std::vector<Comando> comandos) {
  for (Comando& comando : comandos) {
    for (const auto& [ingles, portugues] : kNomes) {
      if (comando.nome != ingles) continue;
      comando.apelido = ingles;
      comando.nome = portugues;
    }
  }
  return comandos;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace qxadmin;
  const Programa qxadmin = {
      .nome = "qxadmin",
      .resumo = "cria instalações e empresas e edita os dados das empresas",
      .notas =
          "O registro é o de --registry, senão QX_REGISTRY, senão /etc/qx/registry.reg "
          "(para\npadrao: PASTA/registry.reg). Textos em UTF-8; datas como 15/03/2026 "
          "ou 2026-03-15.\nSaída: 0 feito, 1 recusado ou falhou, 2 erro de uso.\n",
      .globais =
          Junta({OpcoesSaida(), {{"registry", "ARQUIVO", "o arquivo do registro da instalação"}}}),
      .comandos = EmPortugues(Junta(
          {SetupCommands(), MoveCommands(), DataCommands(), ConfigCommands(), CadastroCommands()})),
  };
  return Executa(qxadmin, argc, argv);
}
