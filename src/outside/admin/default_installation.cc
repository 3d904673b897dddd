// The embedded default installation: created on first use, kept afterwards.
#include <filesystem>

#include "outside/admin/suite_setup.h"
#include "platform/clock.h"
#include "platform/path.h"

namespace qx {

HRESULT EnsureDefaultInstallation(const Registry& registry, const std::string& home,
                                  std::string* report) {
  std::string message;
  HRESULT hr = S_OK;
  std::string installation = InstalledFolder(registry);
  if (installation.empty()) {
    hr = CreateInstallation(registry, JoinPath(home, "suite"), &message);
    if (FAILED(hr)) {
      *report = message;
      return hr;
    }
    installation = InstalledFolder(registry);
    *report = "instala\xE7\xE3o criada: " + installation + "\n";
  } else {
    *report = "instala\xE7\xE3o mantida: " + installation + "\n";
  }

  const CompanySeed seed = SampleCompany(kDefaultCompany, CurrentDateTime().wYear);
  const std::string folder = RegisteredCompanyFolder(registry, kDefaultCompany);
  const std::string company(kDefaultCompany);
  if (folder.empty()) {
    hr = CreateCompany(registry, seed, "", &message);
    if (SUCCEEDED(hr)) *report += "empresa " + company + " criada\n";
  } else if (!std::filesystem::exists(JoinPath(folder, kSuiteDatabaseName))) {
    hr = CreateCompanyDatabase(folder, seed, &message);
    if (SUCCEEDED(hr)) *report += "empresa " + company + ": banco de dados criado\n";
  } else {
    std::shared_ptr<SuiteDatabase> db;
    hr = OpenRegisteredCompany(registry, kDefaultCompany, &db, &message);
    if (SUCCEEDED(hr)) *report += "empresa " + company + " mantida\n";
  }
  if (FAILED(hr)) *report += message;
  return hr;
}

}  // namespace qx
