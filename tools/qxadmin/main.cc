// qxadmin: creates an installation of the suite and its companies, moves a
// company's data between SQLite and PostgreSQL, and edits the companies' data
// (users, branches, charts, histories, configuration).
#include "cli.h"

int main(int argc, char** argv) {
  using namespace qxadmin;
  const Programa qxadmin = {
      .nome = "qxadmin",
      .resumo = "cria instalações e empresas e edita os dados das empresas",
      .notas =
          "O registro é o de --registry, senão QX_REGISTRY, senão /etc/qx/registry.reg "
          "(para\ndefault: PASTA/registry.reg). Textos em UTF-8; datas como 15/03/2026 "
          "ou 2026-03-15.\nSaída: 0 feito, 1 recusado ou falhou, 2 erro de uso.\n",
      .globais =
          Junta({OpcoesSaida(), {{"registry", "ARQUIVO", "o arquivo do registro da instalação"}}}),
      .comandos = Junta({SetupCommands(), MoveCommands(), DataCommands(), ConfigCommands()}),
  };
  return Executa(qxadmin, argc, argv);
}
