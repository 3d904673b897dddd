// The admin tool, run as people run it.
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "outside/company_admin.h"
#include "outside_test_company.h"

namespace qx {
namespace {

struct ToolRun {
  int status;
  std::string out;
};

// Runs qxadmin with arguments (already quoted for the shell); stderr is kept
// apart so that only stdout is compared.
ToolRun Admin(const std::string& arguments, const std::string& environment = "") {
  const std::string command =
      environment + " " QX_TEST_BINARY_DIR "/tools/qxadmin/qxadmin " + arguments + " 2>/dev/null";
  ToolRun run{-1, ""};
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[512];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

class QxadminTest : public ::testing::Test {
 protected:
  std::string Registry() const { return "--registry '" + registry_.dir() + "/admin.reg' "; }
  TestRegistry registry_;  // gives a private folder and keeps the real store out of reach
};

TEST_F(QxadminTest, CreatesAnInstallationAndACompanyAndListsIt) {
  const std::string inst = registry_.dir() + "/inst";
  ASSERT_EQ(Admin(Registry() + "install '" + inst + "'").status, 0);
  EXPECT_TRUE(std::filesystem::exists(inst + "/log.ini"));
  EXPECT_EQ(ReadFile(inst + "/log.ini"), "[Log]\n");

  ASSERT_EQ(Admin(Registry() + "company add LOJA1 --name 'Loja Um São Paulo'").status, 0);
  EXPECT_EQ(Admin(Registry() + "company add LOJA1").status, 1);  // exists
  EXPECT_EQ(Admin(Registry() + "company add 'A/B'").status, 1);  // not a code
  ASSERT_EQ(Admin(Registry() + "branch add LOJA1 1 Matriz").status, 0);
  ASSERT_EQ(Admin(Registry() + "user add LOJA1 5 Maria --branches 1").status, 0);
  ASSERT_EQ(Admin(Registry() + "account add LOJA1 C 10 1.1.01 A Caixa").status, 0);
  ASSERT_EQ(Admin(Registry() + "config set LOJA1 client-code 12").status, 0);
  EXPECT_EQ(Admin(Registry() + "config set LOJA1 client-code 70000").status, 2);

  const ToolRun list = Admin(Registry() + "company list");
  ASSERT_EQ(list.status, 0);
  EXPECT_EQ(list.out, "LOJA1\tLoja Um S\xC3\xA3o Paulo\t" + inst + "/Empresas/LOJA1/DF/\n");
  EXPECT_EQ(Admin(Registry() + "user list LOJA1").out, "5\tMaria\t1\n");
  EXPECT_EQ(Admin(Registry() + "account list LOJA1").out, "C\t10\t1.1.01\tA\tCaixa\t0\n");
  EXPECT_NE(Admin(Registry() + "config show LOJA1").out.find("client-code\t12\t"),
            std::string::npos);
  EXPECT_EQ(Admin(Registry() + "user list NADA").status, 1);
  EXPECT_EQ(Admin(Registry() + "frobnicate").status, 2);
}

TEST_F(QxadminTest, DefaultInstallationIsMadeOnceAndKept) {
  // Neither QX_REGISTRY nor QX_HOME: everything lives under the home given.
  const std::string home = registry_.dir() + "/home";
  const std::string bare = "env -u QX_REGISTRY -u QX_HOME";
  const ToolRun first = Admin("default '" + home + "'", bare);
  ASSERT_EQ(first.status, 0);
  const std::string registryFile = home + "/registry.reg";
  EXPECT_EQ(first.out, "QX_REGISTRY=" + registryFile + "\n");

  const qx::Registry registry(registryFile, "");
  std::shared_ptr<SuiteDatabase> db;
  std::string message;
  ASSERT_EQ(OpenRegisteredCompany(registry, kDefaultCompany, &db, &message), S_OK) << message;
  ASSERT_EQ(AdicionaFilial(*db, {9, "Nova"}), S_OK);
  db.reset();
  EXPECT_TRUE(std::filesystem::exists(home + "/suite/Empresas/DEMO/CN"));

  ASSERT_EQ(Admin("default '" + home + "'", bare).status, 0);
  ASSERT_EQ(OpenRegisteredCompany(registry, kDefaultCompany, &db, &message), S_OK);
  std::vector<FilialCadastro> branches;
  ASSERT_EQ(ListaFiliais(*db, &branches), S_OK);
  EXPECT_EQ(branches.size(), 4u);  // the sample's three and the one added: nothing reseeded
  std::vector<UsuarioCadastro> users;
  ASSERT_EQ(ListaUsuarios(*db, &users), S_OK);
  ASSERT_EQ(users.size(), 1u);
  EXPECT_EQ(users[0].filiaisAtivas, (std::vector<int32_t>{1, 2}));
}

}  // namespace
}  // namespace qx
