// How a run ends early. A subcommand throws one of these; Executa prints it
// (as one JSON object on standard error with --json) and exits 2 for a usage
// error and for data refused by the rules of a save (FalhaRecusa, each
// refusal on a line of its own; "recusas" in JSON), 1 for the others.
#pragma once

#include <string>

#include "common/textos.h"
#include "platform/com_types.h"
#include "reports/falha.h"

namespace qx::cli {

// The command line is wrong: the message, then how to ask for the usage.
struct ErroUso {
  std::string mensagem;
};

// A call that failed with a code: "CONTEXTO falhou: 0x80043E95
// ARQ_FIM_DE_ARQUIVO: description", then what to do for the common ones. A
// failure without a code (a file that cannot be read, a refused import) is
// a FalhaLocal. Both come from the reports layer, which the tools share with
// the web view.
using Falha = qx::FalhaServico;
using qx::FalhaLocal;
using qx::FalhaRecusa;
using qx::DescreveFalha;
using qx::Verifica;

// A failure as people read it, in parts.
struct Relato {
  std::string codigo;     // "0x80043E95"; empty for a failure without a code
  std::string simbolo;    // "ARQ_FIM_DE_ARQUIVO"
  std::string descricao;  // what the code means
  std::string mensagem;   // the whole line
  std::string dica;       // what to do; may be empty
};

Relato Relata(const Falha& falha, const Textos& textos);

}  // namespace qx::cli
