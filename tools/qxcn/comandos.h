#pragma once
// The subcommands of qxcn: name, usage, options and the function that runs
// one against an initialised service.

#include <string>
#include <vector>

#include "cli.h"
#include "saida.h"
#include "servico.h"

namespace qxcn {

struct Comando {
  const char* nome;
  const char* uso;
  const char* descricao;
  std::vector<std::string> valores;  // options that take a value
  std::vector<std::string> marcas;   // options without a value
  void (*executa)(const Argumentos& argumentos, Servico& servico, Saida& saida);
};

// Each family of subcommands lists its own; main joins them.
std::vector<Comando> ComandosLancamento();
std::vector<Comando> ComandosBusca();
std::vector<Comando> ComandosMes();
std::vector<Comando> ComandosNotasFormatos();
std::vector<Comando> ComandosImportacao();

}  // namespace qxcn
