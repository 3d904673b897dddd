// qxcn: the entry service for people and scripts. Every subcommand is a
// client of the server, through the same interface the suite's programs use.
#include "comandos.h"

namespace qxcn {
namespace {

qx::cli::Programa Programa() {
  qx::cli::Programa programa;
  programa.nome = "qxcn";
  programa.resumo = "grava, lê, procura e importa os lançamentos de uma empresa pelo servidor";
  programa.notas =
      "Datas como 15/03/2026 (ou 2026-03-15), meses como 03/2026, valores como 1.234,56.\n"
      "A instalação é a de QX_REGISTRY. Saída: 0 feito, 1 recusado ou falhou, 2 erro de uso.\n";
  programa.globais = qx::cli::OpcoesSaida(qx::cli::Idioma::kPortugues);
  for (qx::cli::Opcao& opcao : OpcoesIdentidade()) programa.globais.push_back(std::move(opcao));
  for (auto familia : {ComandosLancamento, ComandosMes, ComandosBusca, ComandosNotasFormatos,
                       ComandosImportacao, ComandosEmpresa}) {
    for (Comando& comando : familia()) programa.comandos.push_back(std::move(comando));
  }
  return programa;
}

}  // namespace

std::function<void(const Argumentos&, Saida&)> ComServico(Funcao f) {
  return [f](const Argumentos& argumentos, Saida& saida) {
    Servico servico(LeIdentidade(argumentos));
    f(argumentos, servico, saida);
  };
}

Opcao OpcaoMes(const std::string& ajuda) { return {"mes", "MM/AAAA", ajuda}; }

Opcao OpcaoPosicao(const std::string& ajuda) { return {"pos", "N", ajuda}; }

}  // namespace qxcn

int main(int argc, char** argv) { return qx::cli::Executa(qxcn::Programa(), argc, argv); }
