#pragma once
// The subcommands of qxcn. Each family lists its table entries: name, words,
// summary, options and the function that runs it against the service
// initialised for the identity options.

#include <string>
#include <vector>

#include "common/ferramenta.h"
#include "platform/codepage.h"
#include "servico.h"

namespace qxcn {

using namespace qx::cli;

// A text cell from the Windows-1252 bytes the service gives.
struct Texto {
  std::string bytes;
  operator Celula() const { return qx::cli::TextoCp1252(bytes); }
};

// A subcommand's function: it runs against the initialised service.
using Funcao = void (*)(const Argumentos& argumentos, Servico& servico, Saida& saida);
// The function of a table entry: the service for the identity options, then f.
std::function<void(const Argumentos&, Saida&)> ComServico(Funcao f);

// Options several subcommands share.
Opcao OpcaoMes(const std::string& ajuda);
Opcao OpcaoPosicao(const std::string& ajuda);

// Each family of subcommands lists its own; main joins them.
std::vector<Comando> ComandosLancamento();
std::vector<Comando> ComandosBusca();
std::vector<Comando> ComandosBalancete();
std::vector<Comando> ComandosExtrato();
std::vector<Comando> ComandosCentros();
std::vector<Comando> ComandosDemonstracoes();
std::vector<Comando> ComandosEncerramento();
std::vector<Comando> ComandosPeriodo();
std::vector<Comando> ComandosMes();
std::vector<Comando> ComandosNotasFormatos();
std::vector<Comando> ComandosImportacao();
std::vector<Comando> ComandosEmpresa();
std::vector<Comando> ComandosHistorico();
std::vector<Comando> ComandosEcd();

}  // namespace qxcn
