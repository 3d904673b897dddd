// qxcn: the entry service for people and scripts. Every subcommand is a
// client of the server, through the same interface the suite's programs use.
#include <cstdio>

#include "comandos.h"
#include "platform/com_runtime_hooks.h"

namespace qxcn {

std::function<void(const Argumentos&, Saida&)> ComServico(Funcao f) {
  return [f](const Argumentos& argumentos, Saida& saida) {
    Servico servico(LeIdentidade(argumentos));
    f(argumentos, servico, saida);
  };
}

Opcao OpcaoMes(const std::string& ajuda) { return {"mes", "MM/AAAA", ajuda}; }

Opcao OpcaoPosicao(const std::string& ajuda) { return {"pos", "N", ajuda}; }

}  // namespace qxcn

int main(int argc, char** argv) {
  using namespace qxcn;
  // What the runtime refuses before it reaches the server (a runtime folder that
  // others could use, a server of another user) says what is wrong and what to do.
  qx::SetRuntimeLogHook([](qx::RuntimeEvent, const std::string& texto) {
    std::fprintf(stderr, "qxcn: %s\n", texto.c_str());
  });
  const Programa qxcn = {
      .nome = "qxcn",
      .resumo =
          "grava, lê, procura e importa os lançamentos de uma empresa pelo servidor, dá os\n"
          "relatórios do contador (balancete, extrato, razão, centros de custo, balanço, DRE)\n"
          "e encerra o exercício e os períodos",
      .notas =
          "Datas como 15/03/2026 (ou 2026-03-15), meses como 03/2026, valores como "
          "1.234,56 (ou 1234.56).\nA instalação é a de QX_REGISTRY. Saída: 0 feito, 1 recusado "
          "pelo servidor ou falhou, 2 erro de uso ou lançamento recusado pelas regras (nada "
          "gravado).\n",
      .globais = Junta({OpcoesSaida(), OpcoesIdentidade()}),
      .comandos =
          Junta({ComandosLancamento(), ComandosMes(), ComandosBusca(), ComandosExtrato(),
                 ComandosBalancete(), ComandosCentros(), ComandosDemonstracoes(),
                 ComandosEncerramento(), ComandosPeriodo(), ComandosNotasFormatos(),
                 ComandosImportacao(), ComandosEmpresa(), ComandosHistorico(), ComandosEcd()}),
  };
  return Executa(qxcn, argc, argv);
}
