#include "storage/folders/folders.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "folders_test_registry.h"

namespace qx {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;

TEST(FoldersTest, TrailingSeparatorAndInstallationFolders) {
  EXPECT_EQ(WithTrailingSeparator("/opt/qx"), "/opt/qx/");
  EXPECT_EQ(WithTrailingSeparator("C:\\QX\\"), "C:\\QX\\");
  EXPECT_EQ(WithTrailingSeparator(""), "");

  TestRegistry registry;
  registry.Set("QXContabilidade", "Path", "/opt/qx/cn");
  registry.Set("QXContabilidade", "Path_x64", "/opt/qx64/cn/");
  registry.Set("QXEscritaFiscal", "Path", "/opt/qx/ef");
  registry.Set("QXFolha", "Path", "");
  EXPECT_EQ(InstallationFolder(kModuloContabilidade, "dflt"), "/opt/qx/cn/");
  EXPECT_EQ(InstallationFolder64(kModuloContabilidade, "dflt"), "/opt/qx64/cn/");
  EXPECT_EQ(InstallationFolder(kModuloFolha, "dflt"), "");
  // Missing value, missing key and unknown module give the default as it is.
  EXPECT_EQ(InstallationFolder64(kModuloEscritaFiscal, "dflt"), "dflt");
  EXPECT_EQ(InstallationFolder(kModuloEstoque, "dflt"), "dflt");
  EXPECT_EQ(InstallationFolder(999, "dflt"), "dflt");
  // Modules 23 and 26 are installed with module 1.
  EXPECT_EQ(InstallationFolder(kModuloNFe, ""), "/opt/qx/ef/");
  EXPECT_EQ(InstallationFolder(kModuloApuracao, ""), "/opt/qx/ef/");
}

TEST(FoldersTest, NamedCompanyAndReportsFolders) {
  TestRegistry registry;
  registry.Set("", "Mensagens", "/srv/qx/msg");
  registry.Set("", "Imagens", "/srv/qx/img/");
  registry.Set("Empresas\\EMP1", "CN", "/dados/EMP1/CN");
  registry.Set("Empresas\\EMP1", "EF", "/dados/EMP1/EF/");
  registry.Set("Empresas\\EMP1", "DF", "/dados/EMP1/DF");
  registry.Set("Empresas\\EMP2", "DF", "/dados/DF/EMP2/df/");
  registry.Set("Empresas\\EMP2", "CN", "/dados/EMP2/CN/");
  registry.Set("Empresas\\EMP3", "DF", "/dados/EMP3");
  registry.Set("Empresas\\EMP4", "CN", "/dados/EMP4/CN");
  EXPECT_EQ(NamedFolder(kPastaMensagens, "x"), "/srv/qx/msg/");
  EXPECT_EQ(NamedFolder(kPastaImagens, "x"), "/srv/qx/img/");
  EXPECT_EQ(NamedFolder(kPastaAjuda, "/ajuda"), "/ajuda");

  EXPECT_EQ(CompanyFolder(kModuloContabilidade, "emp1"), "/dados/EMP1/CN/");
  EXPECT_EQ(CompanyFolder(kModuloApuracao, "EMP1"), "/dados/EMP1/EF/");
  EXPECT_EQ(CompanyFolder(kModuloNFe, "EMP1"), "/dados/EMP1/EF/NFe/");
  // Without module 1's folder there is no NFe folder either.
  EXPECT_EQ(CompanyFolder(kModuloNFe, "EMP2"), "");
  EXPECT_EQ(CompanyFolder(kModuloDadosBase, "EMP4"), "");
  EXPECT_EQ(CompanyFolder(999, "EMP1"), "");
  EXPECT_EQ(CompanyFolder(kModuloContabilidade, "NONE"), "");
  // Codes that would name some other key read nothing.
  EXPECT_EQ(CompanyFolder(kModuloContabilidade, ""), "");
  EXPECT_EQ(CompanyFolder(kModuloContabilidade, "EMP1\\X"), "");

  EXPECT_EQ(ReportsFolder("EMP1"), "/dados/EMP1/Relatorios/");
  // The cut is at the last "DF" component, whatever its case.
  EXPECT_EQ(ReportsFolder("EMP2"), "/dados/DF/EMP2/Relatorios/");
  EXPECT_EQ(ReportsFolder("EMP3"), "/dados/EMP3/Relatorios/");
  EXPECT_EQ(ReportsFolder("NONE"), "");
  EXPECT_EQ(ReportsFolder("EMP4"), "");
}

TEST(FoldersTest, CompanyListHoldsOnlyCompaniesWithTheValueCutTo24) {
  TestRegistry registry;
  std::vector<std::string> companies{"stale"};
  EXPECT_FALSE(CompanyList("DF", &companies));
  EXPECT_THAT(companies, IsEmpty());
  registry.CreateKey("Empresas");
  EXPECT_TRUE(CompanyList("DF", &companies));
  EXPECT_THAT(companies, IsEmpty());

  registry.Set("Empresas\\EMP1", "DF", "/dados/EMP1/DF");
  registry.Set("Empresas\\EMP2", "CN", "/dados/EMP2/CN");
  registry.Set("Empresas\\" + std::string(30, 'L'), "df", "/dados/long/DF");
  registry.CreateKey("Empresas\\EMPTY");
  EXPECT_TRUE(CompanyList("DF", &companies));
  EXPECT_THAT(companies, UnorderedElementsAre("EMP1", std::string(24, 'L')));
  EXPECT_TRUE(CompanyList("CN", &companies));
  EXPECT_THAT(companies, ElementsAre("EMP2"));
}

TEST(FoldersTest, SuiteLibraryIsClosedWithoutInstallationOrFile) {
  TestRegistry registry;
  EXPECT_FALSE(LoadSuiteLibrary("QXMens.dll", kModuloContabilidade).IsOpen());
  registry.Installation(kModuloContabilidade, "inst");
  const Library library = LoadSuiteLibrary("QXMens.dll", kModuloContabilidade);
  EXPECT_FALSE(library.IsOpen());
  EXPECT_EQ(library.Symbol("QXTrataErroExported"), nullptr);
}

}  // namespace
}  // namespace qx
