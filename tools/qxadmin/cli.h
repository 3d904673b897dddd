// What the commands of qxadmin share: the registry they work on, the reading
// of their words, and the failures of the company data.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/argumentos.h"
#include "common/falhas.h"
#include "common/programa.h"
#include "common/saida.h"
#include "outside/suite_database.h"
#include "platform/com_types.h"
#include "platform/registry.h"

namespace qxadmin {

using qx::cli::Argumentos;
using qx::cli::Celula;
using qx::cli::Comando;
using qx::cli::ErroUso;
using qx::cli::Opcao;
using qx::cli::Saida;
using qx::cli::Tabela;

// What every command works on.
struct Contexto {
  qx::Registry registry;
  bool registryGiven = false;  // by --registry or QX_REGISTRY
  // Opens the company's database or stops.
  std::shared_ptr<qx::SuiteDatabase> Company(const std::string& code) const;
};

// A command's function, run with the registry of --registry.
using Funcao = void (*)(const Argumentos& argumentos, Contexto& contexto, Saida& saida);
std::function<void(const Argumentos&, Saida&)> ComContexto(Funcao f);

// A whole decimal number within [min, max]; what names the value in a message.
int64_t Number(const Argumentos& args, const std::string& text, int64_t min, int64_t max,
               const std::string& what);
// A positional word in Windows-1252, as the system keeps texts.
std::string Word(const Argumentos& args, size_t index);

// Stops with the code and what the company data said (Windows-1252) when hr is a failure.
void Check(HRESULT hr, const std::string& what, const std::string& message);

// The commands of each family.
std::vector<Comando> SetupCommands();
std::vector<Comando> DataCommands();
std::vector<Comando> ConfigCommands();

}  // namespace qxadmin
