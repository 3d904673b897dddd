// The admin tool, run as people run it.
#include <string>
#include <vector>

#include "../storage/qxdump_run.h"
#include "outside/company_admin.h"
#include "outside_test_company.h"

namespace qx {
namespace {

class QxadminTest : public ::testing::Test {
 protected:
  // Runs qxadmin on the test's own registry file.
  test::DumpRun Admin(std::vector<std::string> args) const {
    args.insert(args.begin(), {"--registry", dir_ / "admin.reg"});
    return test::RunTool(dir_, QX_TEST_BINARY_DIR "/tools/qxadmin/qxadmin", args);
  }
  TestRegistry registry_;  // keeps the real store out of reach
  test::TempDir dir_;
};

TEST_F(QxadminTest, CreatesAnInstallationAndACompanyAndListsIt) {
  const std::string inst = dir_ / "inst";
  ASSERT_EQ(Admin({"install", inst}).code, 0);
  EXPECT_EQ(ReadFile(inst + "/log.ini"), "[Log]\n");

  ASSERT_EQ(Admin({"company", "add", "LOJA1", "--name", "Loja Um São Paulo"}).code, 0);
  EXPECT_EQ(Admin({"company", "add", "LOJA1"}).code, 1);  // exists
  EXPECT_EQ(Admin({"company", "add", "A/B"}).code, 1);    // not a code
  ASSERT_EQ(Admin({"branch", "add", "LOJA1", "1", "Matriz"}).code, 0);
  ASSERT_EQ(Admin({"user", "add", "LOJA1", "5", "Maria", "--branches", "1"}).code, 0);
  ASSERT_EQ(Admin({"account", "add", "LOJA1", "C", "10", "1.1.01", "A", "Caixa"}).code, 0);
  ASSERT_EQ(Admin({"config", "set", "LOJA1", "client-code", "12"}).code, 0);
  EXPECT_EQ(Admin({"config", "set", "LOJA1", "client-code", "70000"}).code, 2);

  const test::DumpRun list = Admin({"company", "list"});
  ASSERT_EQ(list.code, 0);
  EXPECT_EQ(list.out, "LOJA1\tLoja Um S\xC3\xA3o Paulo\t" + inst + "/Empresas/LOJA1/DF/\n");
  EXPECT_EQ(Admin({"user", "list", "LOJA1"}).out, "5\tMaria\t1\n");
  EXPECT_EQ(Admin({"account", "list", "LOJA1"}).out, "C\t10\t1.1.01\tA\tCaixa\t0\n");
  EXPECT_NE(Admin({"config", "show", "LOJA1"}).out.find("client-code\t12\t"), std::string::npos);
  EXPECT_EQ(Admin({"user", "list", "NADA"}).code, 1);
  EXPECT_EQ(Admin({"frobnicate"}).code, 2);
}

TEST_F(QxadminTest, DefaultInstallationIsMadeOnceAndKept) {
  // Neither QX_REGISTRY nor QX_HOME: everything lives under the home given.
  const std::string home = dir_ / "home";
  const std::vector<std::string> command = {
      "-u",      "QX_REGISTRY", "-u", "QX_HOME", QX_TEST_BINARY_DIR "/tools/qxadmin/qxadmin",
      "default", home};
  const test::DumpRun first = test::RunTool(dir_, "env", command);
  ASSERT_EQ(first.code, 0) << first.err;
  const std::string registryFile = home + "/registry.reg";
  EXPECT_EQ(first.out, "QX_REGISTRY=" + registryFile + "\n");

  const qx::Registry registry(registryFile, "");
  std::shared_ptr<SuiteDatabase> db;
  std::string message;
  ASSERT_EQ(OpenRegisteredCompany(registry, kDefaultCompany, &db, &message), S_OK) << message;
  ASSERT_EQ(AdicionaFilial(*db, {9, "Nova"}), S_OK);
  db.reset();
  EXPECT_TRUE(std::filesystem::exists(home + "/suite/Empresas/DEMO/CN"));

  ASSERT_EQ(test::RunTool(dir_, "env", command).code, 0);
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
