// The admin tool, run as people run it.
#include <map>
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

  // Dates as every tool takes them; lists with their headings, as CSV for scripts.
  ASSERT_EQ(Admin({"config", "set", "LOJA1", "period-start", "01/01/2026"}).code, 0);
  ASSERT_EQ(Admin({"config", "set", "LOJA1", "period-end", "2026-12-31"}).code, 0);
  EXPECT_EQ(Admin({"config", "set", "LOJA1", "period-end", "31/02/2026"}).code, 2);
  const std::pair<std::vector<std::string>, std::string> listas[] = {
      {{"company", "list"},
       "empresa,nome,pasta,banco\r\nLOJA1,Loja Um S\xC3\xA3o Paulo," + inst +
           "/Empresas/LOJA1/DF/,SQLite\r\n"},
      {{"user", "list", "LOJA1"}, "usuario,nome,filiais\r\n5,Maria,1\r\n"},
      {{"account", "list", "LOJA1"},
       "plano,conta,classificacao,tipo,nome,superior\r\nC,10,1.1.01,A,Caixa,0\r\n"},
  };
  for (const auto& [args, csv] : listas) {
    std::vector<std::string> comCsv = args;
    comCsv.push_back("--csv");
    const test::DumpRun list = Admin(comCsv);
    ASSERT_EQ(list.code, 0) << list.err;
    EXPECT_EQ(list.out, csv);
  }
  EXPECT_EQ(Admin({"user", "list", "LOJA1"}).out, "USUARIO  NOME   FILIAIS\n      5  Maria  1\n");
  std::optional<test::Json> config =
      test::ParseJson(Admin({"config", "show", "LOJA1", "--json"}).out);
  ASSERT_TRUE(config.has_value());
  std::map<std::string, test::Json> valores;
  for (const test::Json& item : (*config)["configuracao"]) valores[item["nome"]] = item["valor"];
  EXPECT_EQ(valores["client-code"], 12);
  EXPECT_EQ(valores["period-start"], "2026-01-01");
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
