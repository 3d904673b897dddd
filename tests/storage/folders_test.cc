// The folders the registry names, the names of the month files, and whether
// a folder can be shared.
#include "storage/folders/folders.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "../platform/test_support.h"
#include "folders_test_registry.h"
#include "storage/month_name.h"
#include "storage/sharing_check.h"

namespace qx {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;

TEST(FoldersTest, TrailingSeparatorSuiteLibraryAndTheFoldersTheRegistryNames) {
  EXPECT_EQ(WithTrailingSeparator("/opt/qx"), "/opt/qx/");
  EXPECT_EQ(WithTrailingSeparator("C:\\QX\\"), "C:\\QX\\");
  EXPECT_EQ(WithTrailingSeparator(""), "");

  TestRegistry registry;
  // The suite's library is closed without an installation or without its file.
  EXPECT_FALSE(LoadSuiteLibrary("QXMens.dll", kModuloContabilidade).IsOpen());
  registry.Installation(kModuloContabilidade, "inst");
  EXPECT_FALSE(LoadSuiteLibrary("QXMens.dll", kModuloContabilidade).IsOpen());

  registry.Set("QXContabilidade", "Path", "/opt/qx/cn");
  registry.Set("QXContabilidade", "Path_x64", "/opt/qx64/cn/");
  registry.Set("QXEscritaFiscal", "Path", "/opt/qx/ef");
  registry.Set("QXFolha", "Path", "");
  EXPECT_EQ(InstallationFolder(kModuloContabilidade, "dflt"), "/opt/qx/cn/");
  EXPECT_EQ(InstallationFolder64(kModuloContabilidade, "dflt"), "/opt/qx64/cn/");
  EXPECT_EQ(InstallationFolder(kModuloFolha, "dflt"), "");
  // Missing value, missing key and unknown module give the default as it is.
  EXPECT_EQ(InstallationFolder64(kModuloEscritaFiscal, "dflt"), "dflt");
  for (int modulo : {kModuloEstoque, 999}) EXPECT_EQ(InstallationFolder(modulo, "dflt"), "dflt");
  // Modules 23 and 26 are installed with module 1.
  EXPECT_EQ(InstallationFolder(kModuloNFe, ""), "/opt/qx/ef/");
  EXPECT_EQ(InstallationFolder(kModuloApuracao, ""), "/opt/qx/ef/");

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
  for (const char* empresa : {"NONE", "EMP4"}) EXPECT_EQ(ReportsFolder(empresa), "") << empresa;
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

TEST(MonthName, PrefixMonthAndTwoDigitYear) {
  const uint16_t marco2024 = 3 + (2024 - 1848) * 12;
  EXPECT_EQ(qx::NomeArquivoMes("/dados/cn/", qx::kPrefixoGerencial, marco2024),
            "/dados/cn/CNLG0324.DAT");
  // A folder without its separator gets one; none is doubled.
  EXPECT_EQ(qx::NomeArquivoMes("/dados/cn", qx::kPrefixoLancamentos, marco2024),
            "/dados/cn/CNLC0324.DAT");
  EXPECT_EQ(qx::NomeArquivoMes("", qx::kPrefixoLancamentos, marco2024), "CNLC0324.DAT");
  // Month edges; no month-year, or none that exists, is "0000".
  const std::pair<uint16_t, const char*> meses[] = {{1, "0148"},     {12, "1248"}, {13, "0149"},
                                                    {34440, "1217"}, {0, "0000"},  {34441, "0000"}};
  for (const auto& [mes, parte] : meses) EXPECT_EQ(qx::ParteMesArquivo(mes), parte) << mes;
}

constexpr char kMountInfo[] =
    "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
    "40 22 0:51 / /mnt/escritorio rw,relatime shared:5 - nfs4 srv:/e "
    "rw,vers=4.2,hard,local_lock=all,addr=10.0.0.1\n"
    "41 22 0:52 / /mnt/smb\\040um rw - cifs //srv/e rw,vers=3.1.1,nobrl,cache=strict\n"
    "42 22 0:53 / /mnt/fuse rw - fuse.sshfs srv: rw,user_id=0\n"
    "43 22 8:1 /dados /srv rw - ext4 /dev/sda1 rw\n";

TEST(SharingCheckTest, MountsAndTheOptionsThatKeepLocksLocal) {
  const struct {
    const char* device;
    const char* path;
    const char* mountPoint;  // "" when none matches
    const char* type;
    std::vector<std::string> local;
  } cases[] = {
      {"0:51", "/mnt/escritorio/ACME/DF", "/mnt/escritorio", "nfs4", {"local_lock=all"}},
      {"0:52", "/mnt/smb um/ACME", "/mnt/smb um", "cifs", {"nobrl"}},
      {"0:53", "/mnt/fuse/x", "/mnt/fuse", "fuse.sshfs", {"fuse.sshfs"}},
      {"8:1", "/srv/ACME", "/srv", "ext4", {}},
      {"8:1", "/srvx/ACME", "/", "ext4", {}},
      {"0:99", "/mnt/escritorio", "", "", {}},
  };
  for (const auto& c : cases) {
    FileSystemInfo info;
    EXPECT_EQ(FindMount(kMountInfo, c.device, c.path, &info), *c.mountPoint != '\0') << c.path;
    EXPECT_EQ(info.mountPoint, c.mountPoint) << c.path;
    EXPECT_EQ(info.type, c.type) << c.path;
    EXPECT_EQ(LocalLockOptions(info), c.local) << c.path;
  }
}

TEST(SharingCheckTest, LocksOfOneProcessStopAnotherUntilLetGo) {
  test::TempDir folder;
  SharingCheck check;
  std::string error;
  ASSERT_TRUE(CheckSharing(folder.path(), &check, &error)) << error;
  EXPECT_TRUE(check.Shareable());
  EXPECT_TRUE(check.lockFailures.empty()) << check.lockFailures.front();
  EXPECT_FALSE(check.fileSystem.type.empty());
  EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
  EXPECT_FALSE(CheckSharing(folder.path() + "/nada", &check, &error));
}

}  // namespace
}  // namespace qx
