// Installations and companies.
#include <cstdio>
#include <filesystem>

#include "cli.h"
#include "outside/company_row.h"
#include "outside/suite_setup.h"
#include "platform/clock.h"
#include "platform/environment.h"
#include "platform/path.h"
#include "storage/folders/folders.h"

namespace qxadmin {
namespace {

// The company's name, or why its database cannot be read.
std::string CompanyName(const Context& context, const std::string& code) {
  std::shared_ptr<qx::SuiteDatabase> db;
  std::string message;
  HRESULT hr = qx::OpenRegisteredCompany(context.registry, code, &db, &message);
  std::string name;
  if (SUCCEEDED(hr)) {
    hr = qx::ReadCompanyRow(*db, "nome", [&](const qx::SqlStatement& row) { name = row.Text(0); });
    if (FAILED(hr)) message = db->message();
  }
  return SUCCEEDED(hr) ? name : "(" + message + ")";
}

int AddCompany(Context& context, Args args) {
  const std::optional<std::string> name = args.Option("--name");
  const std::optional<std::string> folder = args.Option("--folder");
  const bool sample = args.Flag("--sample");
  const std::vector<std::string> words = args.Positional(1, 1);
  qx::CompanySeed seed =
      sample ? qx::SampleCompany(words[0], qx::CurrentDateTime().wYear) : qx::CompanySeed();
  seed.codigo = words[0];
  if (name) seed.nome = *name;
  std::string message;
  Check(qx::CreateCompany(context.registry, seed, folder.value_or(""), &message), message);
  PrintLine("company " + seed.codigo +
            " created: " + qx::RegisteredCompanyFolder(context.registry, seed.codigo));
  return 0;
}

int ListCompanies(Context& context, Args args) {
  args.Positional(0, 0);
  std::vector<std::string> codes;
  context.registry.EnumSubKeys(std::string(qx::kCompaniesKey), &codes);
  for (const std::string& code : codes) {
    const std::string folder = qx::RegisteredCompanyFolder(context.registry, code);
    if (folder.empty()) continue;
    PrintLine(code + "\t" + CompanyName(context, code) + "\t" + folder);
  }
  return 0;
}

}  // namespace

int Install(Context& context, Args args) {
  const std::vector<std::string> words = args.Positional(1, 1);
  std::string message;
  Check(qx::CreateInstallation(context.registry, words[0], &message), message);
  PrintLine("installation: " + qx::InstalledFolder(context.registry));
  return 0;
}

int CompanyCommand(Context& context, const std::string& action, Args args) {
  if (action == "add") return AddCompany(context, std::move(args));
  if (action == "list") return ListCompanies(context, std::move(args));
  Usage("unknown action company " + action);
}

int Default(Context& context, Args args) {
  const std::vector<std::string> words = args.Positional(0, 1);
  std::string home = qx::GetEnvironmentText("QX_HOME");
  if (home.empty() && !words.empty()) home = words[0];
  if (home.empty()) Usage("default needs HOME (or $QX_HOME)");
  home = std::filesystem::absolute(home).lexically_normal().string();
  std::error_code error;
  std::filesystem::create_directories(home, error);
  if (error) throw Failure("cannot create " + home + ": " + error.message(), 1);

  const qx::Registry registry = context.registryGiven
                                    ? context.registry
                                    : qx::Registry(qx::JoinPath(home, "registry.reg"), "");
  std::string report;
  const HRESULT hr = qx::EnsureDefaultInstallation(registry, home, &report);
  std::fputs(ToTerminal(report).c_str(), stderr);
  Check(hr, "the default installation could not be made");
  std::printf("QX_REGISTRY=%s\n", registry.machine_file().c_str());
  return 0;
}

}  // namespace qxadmin
