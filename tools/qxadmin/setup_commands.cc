// Installations and companies.
#include <cstdio>
#include <filesystem>

#include "cli.h"
#include "outside/admin/suite_setup.h"
#include "outside/database/company_row.h"
#include "platform/clock.h"
#include "platform/codepage.h"
#include "platform/environment.h"
#include "platform/path.h"
#include "storage/folders/folders.h"

namespace qxadmin {
namespace {

// The company's name, or why its database cannot be read.
std::string CompanyName(const Contexto& contexto, const std::string& code) {
  std::shared_ptr<qx::SuiteDatabase> db;
  std::string message;
  HRESULT hr = qx::OpenRegisteredCompany(contexto.registry, code, &db, &message);
  std::string name;
  if (SUCCEEDED(hr)) {
    hr = qx::ReadCompanyRow(*db, "nome", [&](const qx::SqlStatement& row) { name = row.Text(0); });
    if (FAILED(hr)) message = db->message();
  }
  return SUCCEEDED(hr) ? name : "(" + message + ")";
}

void AddCompany(const Argumentos& args, Contexto& contexto, Saida& saida) {
  const std::string code = Word(args, 0);
  qx::CompanySeed seed = args.Marca("sample") ? qx::SampleCompany(code, qx::CurrentDateTime().wYear)
                                              : qx::CompanySeed();
  seed.codigo = code;
  if (const auto name = args.Valor("name")) seed.nome = qx::Utf8ToCp1252(*name);
  std::string message;
  Check(qx::CreateCompany(contexto.registry, seed, args.Valor("folder").value_or(""), &message,
                          qx::Utf8ToCp1252(args.Valor("postgresql").value_or(""))),
        "criar a empresa " + args.Posicionais()[0], message);
  saida.Aviso("empresa " + args.Posicionais()[0] + " criada: " +
              qx::Cp1252ToUtf8(qx::RegisteredCompanyFolder(contexto.registry, seed.codigo)));
}

void ListCompanies(const Argumentos&, Contexto& contexto, Saida& saida) {
  std::vector<std::string> codes;
  contexto.registry.EnumSubKeys(std::string(qx::kCompaniesKey), &codes);
  Tabela tabela({"empresa", "nome", "pasta", "banco"});
  for (const std::string& code : codes) {
    qx::CompanyDatabaseLocation where;
    std::string message;
    if (FAILED(qx::LocateCompanyDatabase(contexto.registry, code, &where, &message))) continue;
    tabela.Linha({qx::cli::TextoCp1252(code), qx::cli::TextoCp1252(CompanyName(contexto, code)),
                  qx::cli::TextoCp1252(where.folder),
                  qx::cli::TextoCp1252(where.postgres.empty() ? "SQLite" : where.postgres)});
  }
  saida.Mostra("empresas", "", tabela);
}

void Install(const Argumentos& args, Contexto& contexto, Saida& saida) {
  std::string message;
  Check(qx::CreateInstallation(contexto.registry, Word(args, 0), &message,
                               args.Valor("grupo").value_or("")),
        "criar a instalação", message);
  saida.Aviso("instalação: " + qx::Cp1252ToUtf8(qx::InstalledFolder(contexto.registry)));
}

// Prints QX_REGISTRY=... whatever the output form: scripts export it.
void Default(const Argumentos& args, Contexto& contexto, Saida&) {
  std::string home = qx::GetEnvironmentText("QX_HOME");
  if (home.empty() && !args.Posicionais().empty()) home = args.Posicionais()[0];
  if (home.empty()) throw ErroUso{"diga a PASTA (ou defina QX_HOME)"};
  home = std::filesystem::absolute(home).lexically_normal().string();
  std::error_code error;
  std::filesystem::create_directories(home, error);
  if (error) throw qx::cli::FalhaLocal("não consegui criar " + home + ": " + error.message());

  const qx::Registry registry = contexto.registryGiven
                                    ? contexto.registry
                                    : qx::Registry(qx::JoinPath(home, "registry.reg"), "");
  std::string report;
  const HRESULT hr = qx::EnsureDefaultInstallation(registry, home, &report);
  std::fputs(qx::Cp1252ToUtf8(report).c_str(), stderr);
  Check(hr, "criar a instalação padrão", report);
  std::printf("QX_REGISTRY=%s\n", registry.machine_file().c_str());
}

}  // namespace

std::vector<Comando> SetupCommands() {
  return {
      {"install",
       "PASTA",
       "cria ou completa uma instalação na pasta",
       {{"grupo", "GRUPO",
         "o grupo do escritório: pastas 2770 e arquivos 0660 do grupo (sem ele, só do dono: "
         "0700 e 0600); o registro fica legível (0640) pelo grupo"}},
       ComContexto(Install)},
      {"default",
       "[PASTA]",
       "a instalação padrão embutida em $QX_HOME, senão na PASTA; escreve QX_REGISTRY=...",
       {},
       ComContexto(Default)},
      {"company add",
       "CODIGO",
       "cria uma empresa",
       {{"name", "NOME", "o nome da empresa"},
        {"folder", "PASTA", "a pasta da empresa (senão, dentro da instalação)"},
        {"sample", "", "com o plano de contas, os históricos e o usuário de exemplo"},
        {"postgresql", "CONEXAO",
         "os dados no PostgreSQL (host=... dbname=... user=..., sem senha), num banco vazio"}},
       ComContexto(AddCompany)},
      {"company list", "", "as empresas da instalação", {}, ComContexto(ListCompanies)},
  };
}

}  // namespace qxadmin
