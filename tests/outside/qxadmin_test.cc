// The admin tool, run as people run it.
#include <grp.h>
#include <sys/stat.h>

#include <map>
#include <string>
#include <vector>

#include "../storage/qxdump_run.h"
#include "outside/admin/company_admin.h"
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

TEST_F(QxadminTest, CreatesAnInstallationAndCompaniesListsThemAndKeepsTheirRegistration) {
  const std::string inst = dir_ / "inst";
  ASSERT_EQ(Admin({"install", inst}).code, 0);
  EXPECT_EQ(ReadText(inst + "/log.ini"), "[Log]\n");

  // Each command, its exit code (1 refused, 2 not understood) and what it
  // says (a refusal names what it refused).
  const struct {
    std::vector<std::string> args;
    int code;
    std::string says = "";
  } commands[] = {
      {{"company", "add", "LOJA1", "--name", "Loja Um São Paulo"}, 0},
      {{"company", "add", "LOJA1"}, 1},  // exists
      {{"company", "add", "A/B"}, 1},    // not a code
      {{"branch", "add", "LOJA1", "1", "Matriz"}, 0},
      {{"user", "add", "LOJA1", "5", "Maria", "--branches", "1"}, 0},
      {{"account", "add", "LOJA1", "C", "10", "1.1.01", "A", "Caixa"}, 0},
      // A level wider than the chart's is added, with a warning; natures by the longest rule.
      {{"account", "add", "LOJA1", "C", "11", "1.10.01", "A", "Outros", "--json"},
       0,
       "o n\u00edvel 2 tem 2"},
      {{"natureza", "define", "LOJA1", "1.10", "compensacao"}, 0},
      {{"natureza", "define", "LOJA1", "5", "lucro"}, 2},
      {{"natureza", "remove", "LOJA1", "5"}, 1},
      {{"config", "set", "LOJA1", "client-code", "12"}, 0},
      {{"config", "set", "LOJA1", "client-code", "70000"}, 2},
      // Dates as every tool takes them.
      {{"config", "set", "LOJA1", "period-start", "01/01/2026"}, 0},
      {{"config", "set", "LOJA1", "period-end", "2026-12-31"}, 0},
      {{"config", "set", "LOJA1", "period-end", "31/02/2026"}, 2},
      {{"user", "list", "NADA"}, 1},
      {{"frobnicate"}, 2},
      // The registration for the bookkeeping file of a second company.
      {{"company", "add", "LOJA"}, 0},
      {{"cadastro", "define", "LOJA", "--razao-social", "Loja Ltda", "--cnpj", "11.222.333/0001-81",
        "--uf", "SP", "--municipio", "3550308", "--nire", "35212345678", "--arquivamento",
        "10/01/2020"},
       0},
      {{"signatario", "inclui", "LOJA", "529.982.247-25", "900", "Ana", "--crc", "1SP123456",
        "--uf-crc", "SP", "--email", "ana@x.br", "--telefone", "(11) 3333-4444"},
       0},
      {{"signatario", "inclui", "LOJA", "111.444.777-35", "205", "Beto", "--responsavel"}, 0},
      {{"account", "add", "LOJA", "C", "10", "1.1.1.01", "A", "Caixa"}, 0},
      {{"aglutinacao", "define", "LOJA", "10", "CX"}, 0},
      // Each refused field of the registration named.
      {{"cadastro", "define", "LOJA", "--cnpj", "11.222.333/0001-80"}, 1, "CNPJ '11222333000180'"},
      {{"cadastro", "define", "LOJA", "--uf", "XX"}, 1, "UF 'XX'"},
      {{"cadastro", "define", "LOJA", "--municipio", "3304557"},
       1,
       "um c\xC3\xB3"
       "digo IBGE de SP"},
      {{"cadastro", "define", "LOJA", "--nire", "123"}, 1, "NIRE '123'"},
      {{"cadastro", "define", "LOJA", "--inscricao-estadual", "12.345"},
       1,
       "inscri\xC3\xA7\xC3\xA3o estadual"},
      {{"signatario", "inclui", "LOJA", "529.982.247-24", "205", "Ana"}, 1, "CPF '52998224724'"},
      {{"signatario", "inclui", "LOJA", "529.982.247-25", "777", "Ana"},
       1,
       "qualifica\xC3\xA7\xC3\xA3o '777'"},
      {{"signatario", "inclui", "LOJA", "111.444.777-35", "900", "Beto"}, 1, "CRC ''"},
      {{"signatario", "inclui", "LOJA", "529.982.247-25", "801", "Ana", "--responsavel"},
       1,
       "j\xC3\xA1 \xC3\xA9 Beto"},
      {{"signatario", "inclui", "LOJA", "111.444.777-35", "205", "Beto"}, 1, "j\xC3\xA1 existe"},
      {{"signatario", "exclui", "LOJA", "111.444.777-35", "801"}, 1, "N\xC3\xA3o h\xC3\xA1 signat"},
      {{"aglutinacao", "define", "LOJA", "11", "CX"}, 1, "conta '11'"},
  };
  for (const auto& c : commands) {
    const test::DumpRun run = Admin(c.args);
    EXPECT_EQ(run.code, c.code) << c.args[0] << " " << c.args.back() << ": " << run.err;
    EXPECT_NE((run.out + run.err).find(c.says), std::string::npos) << run.out << run.err;
  }
  // Lists with their headings, as CSV for scripts.
  const std::pair<std::vector<std::string>, std::string> listas[] = {
      {{"company", "list", "--csv"},
       "empresa,nome,pasta,banco\r\nLOJA1,Loja Um S\xC3\xA3o Paulo," + inst +
           "/Empresas/LOJA1/DF/,SQLite\r\nLOJA,," + inst + "/Empresas/LOJA/DF/,SQLite\r\n"},
      {{"user", "list", "LOJA1", "--csv"}, "usuario,nome,filiais\r\n5,Maria,1\r\n"},
      {{"account", "list", "LOJA1", "--csv"},
       "plano,conta,classificacao,tipo,nome,superior,natureza\r\nC,10,1.1.01,A,Caixa,0,ativo\r\n"
       "C,11,1.10.01,A,Outros,0,compensacao\r\n"},
      {{"natureza", "lista", "LOJA1", "--csv"},
       "classificacao,natureza,descricao\r\n1,ativo,ativo\r\n1.10,compensacao,compensa\xC3\xA7\xC3"
       "\xA3o\r\n2,passivo,passivo\r\n3,receita,receita\r\n4,despesa,despesa\r\n"},
      {{"cadastro", "mostra", "LOJA", "--csv"},
       "campo,valor\r\nrazao-social,Loja Ltda\r\ncnpj,11222333000181\r\nuf,SP\r\n"
       "municipio,3550308\r\nnome-municipio,\r\ninscricao-estadual,\r\n"
       "inscricao-municipal,\r\nnire,35212345678\r\narquivamento,2020-01-10\r\n"
       "conversao,\r\ninicio-exercicio,1\r\ngrande-porte,false\r\n"},
      {{"signatario", "lista", "LOJA", "--csv"},
       "documento,qualificacao,nome,crc,uf_crc,certidao,validade,email,telefone,"
       "responsavel\r\n11144477735,205,Beto,,,,,,,true\r\n"
       "52998224725,900,Ana,1SP123456,SP,,,ana@x.br,1133334444,false\r\n"},
      // And as a table for people.
      {{"user", "list", "LOJA1"}, "USUARIO  NOME   FILIAIS\n      5  Maria  1\n"},
  };
  for (const auto& [args, csv] : listas) {
    const test::DumpRun list = Admin(args);
    ASSERT_EQ(list.code, 0) << list.err;
    EXPECT_EQ(list.out, csv);
  }
  std::optional<test::Json> config =
      test::ParseJson(Admin({"config", "show", "LOJA1", "--json"}).out);
  ASSERT_TRUE(config.has_value());
  std::map<std::string, test::Json> valores;
  for (const test::Json& item : (*config)["configuracao"]) valores[item["nome"]] = item["valor"];
  EXPECT_EQ(valores["codigo-cliente"], 12);
  EXPECT_EQ(valores["inicio-exercicio"], "2026-01-01");
  ASSERT_EQ(Admin({"signatario", "exclui", "LOJA", "111.444.777-35", "205"}).code, 0);
  ASSERT_EQ(Admin({"aglutinacao", "exclui", "LOJA", "10"}).code, 0);
  EXPECT_EQ(Admin({"aglutinacao", "lista", "LOJA", "--csv"}).out, "conta,codigo,descricao\r\n");
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

TEST_F(QxadminTest, AnOfficeInstallationIsItsGroupsAndItsRegistryOnlyReadable) {
  // Root may name any group; anyone else one of their own.
  const group* office = getgrgid(geteuid() == 0 ? 65534 : getegid());
  ASSERT_NE(office, nullptr);
  const std::string inst = dir_ / "inst";
  EXPECT_EQ(Admin({"install", inst, "--grupo", "qx-no-such-group"}).code, 1);
  ASSERT_EQ(Admin({"install", inst, "--grupo", office->gr_name}).code, 0);
  ASSERT_EQ(Admin({"company", "add", "LOJA1", "--folder", dir_ / "fora/LOJA1"}).code, 0);
  const std::pair<std::string, unsigned> modes[] = {
      {inst, 02770},
      {inst + "/x64", 02770},
      {inst + "/log.ini", 0660},
      {dir_ / "fora/LOJA1/CN", 02770},
      {dir_ / "fora/LOJA1/DF/QXSUITE.db", 0660},
      {dir_ / "admin.reg", 0640},
  };
  for (const auto& [path, mode] : modes) {
    struct stat status {};
    ASSERT_EQ(stat(path.c_str(), &status), 0) << path;
    EXPECT_EQ(status.st_mode & 07777, mode) << path;
    EXPECT_EQ(status.st_gid, office->gr_gid) << path;
  }
}

}  // namespace
}  // namespace qx
