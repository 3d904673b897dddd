// The parsing of one subcommand's command line with CLI11, driven by the
// option tables.
#pragma once

#include <string>
#include <vector>

#include "common/argumentos.h"
#include "common/programa.h"
#include "common/textos.h"

namespace qx::cli {

// The words after the subcommand's name, read with its options and the
// program's: "--name value", "--name=value", flags, "--" before words that
// start with a dash. A wrong line throws ErroUso.
Argumentos Analisa(const Comando& comando, const std::vector<Opcao>& globais,
                   const std::vector<std::string>& palavras, const Textos& textos);

// How many words a subcommand takes after its options, from its help words:
// "[PASTA]" is optional, "ARQUIVO..." may repeat.
struct Quantos {
  size_t minimo = 0;
  size_t maximo = 0;
};
Quantos QuantasPalavras(const std::string& argumentos);

}  // namespace qx::cli
