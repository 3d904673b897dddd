// qxadmin: creates an installation of the suite and its companies, and edits
// the companies' data (users, branches, charts, histories, configuration).
#include "cli.h"

namespace {

qx::cli::Programa Programa() {
  qx::cli::Programa programa;
  programa.nome = "qxadmin";
  programa.resumo = "cria instalações e empresas e edita os dados das empresas";
  programa.notas =
      "O registro é o de --registry, senão QX_REGISTRY, senão /etc/qx/registry.reg (para\n"
      "default: PASTA/registry.reg). Textos em UTF-8; datas como 15/03/2026 ou 2026-03-15.\n"
      "Saída: 0 feito, 1 recusado ou falhou, 2 erro de uso.\n";
  programa.globais = qx::cli::OpcoesSaida(qx::cli::Idioma::kPortugues);
  programa.globais.push_back({"registry", "ARQUIVO", "o arquivo do registro da instalação"});
  for (auto familia : {qxadmin::SetupCommands, qxadmin::DataCommands, qxadmin::ConfigCommands}) {
    for (qx::cli::Comando& comando : familia()) programa.comandos.push_back(std::move(comando));
  }
  return programa;
}

}  // namespace

int main(int argc, char** argv) { return qx::cli::Executa(Programa(), argc, argv); }
