// What the commands of qxadmin share: the registry they work on, the reading
// of their words, and the failures of the company data.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/ferramenta.h"
#include "outside/database/suite_database.h"
#include "platform/com_types.h"
#include "platform/registry.h"

namespace qxadmin {

using namespace qx::cli;

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

// The list a company's data gives (read), one row per item, under `key`.
template <class T, class Read, class Row>
void ShowList(const Argumentos& args, const Contexto& contexto, Saida& saida,
              const std::string& what, const std::string& key, std::vector<std::string> columns,
              Read read, Row row) {
  auto db = contexto.Company(Word(args, 0));
  std::vector<T> items;
  Check(read(*db, &items), what, db->message());
  Tabela tabela(std::move(columns));
  for (const T& item : items) tabela.Linha(row(item));
  saida.Mostra(key, "", tabela);
}

// The commands of each family.
std::vector<Comando> SetupCommands();
std::vector<Comando> DataCommands();
std::vector<Comando> ConfigCommands();
std::vector<Comando> MoveCommands();
std::vector<Comando> CadastroCommands();

}  // namespace qxadmin
