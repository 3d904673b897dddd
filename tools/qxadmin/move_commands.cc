// A company between workstations: moving its suite data between SQLite and
// PostgreSQL, and whether its folders can be shared.
#include <cinttypes>
#include <cstdio>

#include "cli.h"
#include "outside/admin/company_move.h"
#include "outside/database/company_database.h"
#include "platform/codepage.h"
#include "storage/folders/folders.h"
#include "storage/sharing_check.h"

namespace qxadmin {
namespace {

using qx::cli::TextoCp1252;

std::string Hex(uint64_t value) {
  char text[17];
  std::snprintf(text, sizeof text, "%016" PRIx64, value);
  return text;
}

void Move(const Argumentos& args, Contexto& contexto, Saida& saida) {
  const auto postgres = args.Valor("postgresql");
  if (postgres.has_value() == args.Marca("sqlite")) {
    throw ErroUso{"diga para onde: --postgresql CONEXAO ou --sqlite"};
  }
  const std::string code = Word(args, 0);
  qx::Mudanca mudanca;
  std::string message;
  Check(qx::MoveCompany(contexto.registry, code, qx::Utf8ToCp1252(postgres.value_or("")), &mudanca,
                        &message),
        "mover a empresa " + args.Posicionais()[0], message);
  Tabela tabela({"tabela", "linhas", "soma"});
  for (const qx::ResumoTabela& t : mudanca.tabelas) {
    tabela.Linha({t.nome, t.linhas, Hex(t.soma)});
  }
  saida.Mostra("tabelas", "", tabela);
  saida.Aviso("empresa " + args.Posicionais()[0] + " movida de " + qx::Cp1252ToUtf8(mudanca.de) +
              " para " + qx::Cp1252ToUtf8(mudanca.para) +
              ": cada tabela conferida (linhas e soma); o banco de antes ficou como estava");
}

void Sharing(const Argumentos& args, Contexto& contexto, Saida& saida) {
  const std::string code = Word(args, 0);
  qx::CompanyDatabaseLocation where;
  std::string message;
  Check(qx::LocateCompanyDatabase(contexto.registry, code, &where, &message),
        "achar a empresa " + args.Posicionais()[0], message);
  std::string accounting;
  contexto.registry.GetString(std::string(qx::kCompaniesKey) + "\\" + code, "CN", &accounting);
  Tabela tabela({"pasta", "sistema", "montagem", "rede", "travas_locais", "falhas_das_travas"});
  bool shareable = true, network = false;
  for (const std::string& folder : {where.folder, qx::WithTrailingSeparator(accounting)}) {
    if (folder.empty()) continue;
    qx::SharingCheck check;
    std::string error;
    if (!qx::CheckSharing(folder, &check, &error))
      throw qx::cli::FalhaLocal(qx::Cp1252ToUtf8(error));
    std::string failures;
    for (const std::string& f : check.lockFailures) failures += (failures.empty() ? "" : "; ") + f;
    std::string local;
    for (const std::string& o : check.localLocks) local += (local.empty() ? "" : ",") + o;
    tabela.Linha({TextoCp1252(folder), check.fileSystem.type,
                  TextoCp1252(check.fileSystem.mountPoint),
                  check.fileSystem.network ? "sim" : "não", local, TextoCp1252(failures)});
    shareable = shareable && check.Shareable();
    network = network || check.fileSystem.network;
  }
  saida.Mostra("pastas", "", tabela);
  if (!shareable) {
    throw qx::cli::FalhaLocal(
        "as pastas da empresa " + args.Posicionais()[0] +
            " não servem para várias estações: as travas das marcas não passariam de uma "
            "máquina à outra",
        "monte a pasta com travas no servidor (NFSv4 sem local_lock, ou NFSv3 sem nolock; SMB3 "
        "sem nobrl) e confira de novo");
  }
  if (network && where.postgres.empty()) {
    throw qx::cli::FalhaLocal(
        "a empresa " + args.Posicionais()[0] + " guarda o banco SQLite numa pasta de rede",
        "mova-a para o PostgreSQL: qxadmin empresa move " + args.Posicionais()[0] +
            " --postgresql CONEXAO");
  }
  saida.Aviso(network ? "as pastas servem para várias estações"
                      : "as pastas são locais: só as estações desta máquina as usam");
}

}  // namespace

std::vector<Comando> MoveCommands() {
  return {
      {"company move",
       "EMPRESA",
       "move os dados da empresa para o PostgreSQL (--postgresql) ou de volta ao SQLite "
       "(--sqlite), conferindo cada tabela; os programas da empresa devem estar fechados",
       {{"postgresql", "CONEXAO",
         "a conexão do libpq (host=... dbname=... user=...), um endereço postgresql:// ou um "
         "serviço do pg_service.conf, sem senha (~/.pgpass); o banco deve estar vazio"},
        {"sqlite", "", "de volta ao arquivo QXSUITE.db na pasta DF da empresa"}},
       ComContexto(Move)},
      {"company sharing",
       "EMPRESA",
       "se as pastas da empresa servem para várias estações: sistema de arquivos, opções que "
       "deixam as travas locais e as travas das marcas entre dois processos",
       {},
       ComContexto(Sharing)},
  };
}

}  // namespace qxadmin
