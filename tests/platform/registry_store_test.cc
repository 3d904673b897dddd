// Registry operations: names, the classes view, edits, the default stores.
#include <gtest/gtest.h>
#include <stdlib.h>

#include "platform/registry.h"
#include "runtime_support.h"

namespace qx {
namespace {

TEST(RegistryStore, MissingFileIsAnEmptyRegistryAndWritesCreateTheFolder) {
  test::TempDir dir;
  Registry reg(dir / "a/b/m.reg", "");
  std::string text;
  std::vector<std::string> names = {"stale"};
  EXPECT_EQ(reg.GetString("HKLM\\SOFTWARE\\X", "V", &text), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(reg.KeyExists("HKLM\\SOFTWARE\\X"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(reg.EnumSubKeys("HKLM\\SOFTWARE", &names), ERROR_FILE_NOT_FOUND);
  EXPECT_TRUE(names.empty());
  EXPECT_EQ(reg.DeleteValue("HKLM\\SOFTWARE\\X", "V"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(reg.DeleteTree("HKLM\\SOFTWARE\\X"), ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(std::filesystem::exists(dir / "a/b/m.reg"));
  EXPECT_EQ(reg.SetString("HKLM\\SOFTWARE\\X", "V", "1"), ERROR_SUCCESS);
  EXPECT_EQ(reg.GetString("HKLM\\SOFTWARE\\X", "V", &text), ERROR_SUCCESS);
  EXPECT_EQ(reg.KeyExists("HKLM\\SOFTWARE"), ERROR_SUCCESS) << "parents exist implicitly";
  EXPECT_EQ(reg.GetString("HKEY_USERS\\X", "V", &text), ERROR_BADKEY);
  EXPECT_EQ(reg.GetString("Nowhere\\X", "V", &text), ERROR_BADKEY);
}

TEST(RegistryStore, NamesCompareWithoutCaseAndKeepTheirSpelling) {
  test::TempDir dir;
  Registry reg(dir / "m.reg", "");
  ASSERT_EQ(reg.SetString("HKLM\\SOFTWARE\\QX Sistemas\\Empresas\\\xC1gua", "Path", "1"),
            ERROR_SUCCESS);
  ASSERT_EQ(
      reg.SetString("hkey_local_machine\\software\\qx sistemas\\EMPRESAS\\\xE1GUA", "PATH", "2"),
      ERROR_SUCCESS);
  ASSERT_EQ(reg.SetString("HKLM\\SOFTWARE\\QX Sistemas\\Empresas\\B", "", "3"), ERROR_SUCCESS);
  std::string text;
  EXPECT_EQ(reg.GetString("HKLM\\Software\\qx SISTEMAS\\empresas\\\xC1GUA\\", "path", &text),
            ERROR_SUCCESS);
  EXPECT_EQ(text, "2");
  std::vector<std::string> names;
  EXPECT_EQ(reg.EnumSubKeys("HKLM\\SOFTWARE\\QX Sistemas\\Empresas", &names), ERROR_SUCCESS);
  EXPECT_EQ(names, (std::vector<std::string>{"\xC1gua", "B"}));
  EXPECT_EQ(reg.EnumValues("HKLM\\SOFTWARE\\QX Sistemas\\Empresas\\\xE1gua", &names),
            ERROR_SUCCESS);
  EXPECT_EQ(names, (std::vector<std::string>{"Path"}));
  EXPECT_EQ(reg.HasValue("HKLM\\SOFTWARE\\QX Sistemas\\Empresas\\b", ""), ERROR_SUCCESS);
  EXPECT_EQ(reg.HasValue("HKLM\\SOFTWARE\\QX Sistemas\\Empresas\\b", "DF"), ERROR_FILE_NOT_FOUND);
}

TEST(RegistryStore, ClassesRootMergesTheUserClassesOverTheMachine) {
  test::TempDir dir;
  Registry reg(dir / "m.reg", dir / "u.reg");
  ASSERT_EQ(reg.SetString("HKCR\\CLSID\\{A}", "", "machine"), ERROR_SUCCESS);
  ASSERT_EQ(reg.SetString("HKCR\\CLSID\\{B}", "", "machine"), ERROR_SUCCESS);
  ASSERT_EQ(reg.SetString("HKEY_CURRENT_USER\\Software\\Classes\\CLSID\\{B}", "", "user"),
            ERROR_SUCCESS);
  ASSERT_EQ(reg.SetString("HKEY_CURRENT_USER\\Software\\Classes\\CLSID\\{C}", "", "user"),
            ERROR_SUCCESS);
  std::string text;
  EXPECT_EQ(reg.GetString("HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\{A}", "", &text),
            ERROR_SUCCESS);
  EXPECT_EQ(reg.GetString("HKEY_CLASSES_ROOT\\CLSID\\{B}", "", &text), ERROR_SUCCESS);
  EXPECT_EQ(text, "user");
  std::vector<std::string> names;
  EXPECT_EQ(reg.EnumSubKeys("HKCR\\CLSID", &names), ERROR_SUCCESS);
  EXPECT_EQ(names, (std::vector<std::string>{"{B}", "{C}", "{A}"}));
  EXPECT_EQ(reg.DeleteTree("HKCR\\CLSID\\{C}"), ERROR_FILE_NOT_FOUND)
      << "deletes act on the machine";
  EXPECT_EQ(test::ReadText(dir / "u.reg").find("HKEY_LOCAL"), std::string::npos);

  Registry machine_only(dir / "m.reg", "");
  EXPECT_EQ(machine_only.GetString("HKCR\\CLSID\\{B}", "", &text), ERROR_SUCCESS);
  EXPECT_EQ(text, "machine");
  EXPECT_EQ(machine_only.SetString("HKCU\\Software\\X", "V", "1"), ERROR_ACCESS_DENIED);
  EXPECT_EQ(machine_only.DeleteTree("HKLM"), ERROR_ACCESS_DENIED);
}

TEST(RegistryStore, EditsApplyInOrderAndRefuseUnstorableTexts) {
  test::TempDir dir;
  Registry reg(dir / "m.reg", dir / "u.reg");
  const std::string clsid = "HKCR\\CLSID\\{1234}";
  ASSERT_EQ(reg.SetString(clsid + "\\Old", "", "x"), ERROR_SUCCESS);
  RegEdit edit;
  edit.DeleteTree(clsid)
      .SetString(clsid, "", "QXCN_Lancamento Class")
      .SetString(clsid + "\\LocalServer32", "", "/opt/qx/ostrel")
      .SetDword("HKCU\\Software\\Classes\\X", "N", 7)
      .CreateKey(clsid + "\\Programmable")
      .DeleteValue("HKLM\\SOFTWARE\\Absent", "Absent")
      .DeleteTree("HKCR\\Absent");
  ASSERT_EQ(reg.Apply(edit), ERROR_SUCCESS);
  std::vector<std::string> names;
  EXPECT_EQ(reg.EnumSubKeys(clsid, &names), ERROR_SUCCESS);
  EXPECT_EQ(names, (std::vector<std::string>{"LocalServer32", "Programmable"}));
  uint32_t dword = 0;
  EXPECT_EQ(reg.GetDword("HKCU\\Software\\Classes\\X", "N", &dword), ERROR_SUCCESS);
  EXPECT_EQ(dword, 7u);
  EXPECT_NE(test::ReadText(dir / "m.reg")
                .find("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\{"
                      "1234}\\Programmable]\r\n\r\n"),
            std::string::npos);

  const std::string before = test::ReadText(dir / "m.reg");
  for (const std::string& bad :
       {std::string("a\nb"), std::string("a\rb"), std::string("a\0b", 3)}) {
    EXPECT_EQ(reg.Apply(RegEdit().SetString(clsid, "Fine", "1").SetString(clsid, "V", bad)),
              ERROR_INVALID_DATA);
    EXPECT_EQ(reg.SetString(clsid, bad, "1"), ERROR_INVALID_DATA);
    EXPECT_EQ(reg.SetString(clsid + "\\" + bad, "V", "1"), ERROR_INVALID_DATA);
  }
  EXPECT_EQ(test::ReadText(dir / "m.reg"), before) << "a refused edit writes nothing";
}

TEST(RegistryStore, ReadsSeeChangesMadeByOthersAtOnce) {
  test::TempDir dir;
  const std::string file = dir / "m.reg";
  Registry reg(file, "");
  std::string text;
  for (char digit = '0'; digit <= '9'; ++digit) {
    // Same size, same folder, right after the previous read: only the content differs.
    test::WriteText(file, std::string("[HKEY_LOCAL_MACHINE\\K]\n\"V\"=\"") + digit + "\"\n");
    ASSERT_EQ(reg.GetString("HKLM\\K", "V", &text), ERROR_SUCCESS);
    EXPECT_EQ(text, std::string(1, digit));
  }
  std::filesystem::remove(file);
  EXPECT_EQ(reg.GetString("HKLM\\K", "V", &text), ERROR_FILE_NOT_FOUND);
}

TEST(RegistryStore, DefaultStoresFollowTheEnvironmentAtEachCall) {
  test::TempDir dir;
  test::ScopedEnv machine("QX_REGISTRY", dir / "one.reg"),
      user("QX_REGISTRY_USER", dir / "user.reg");
  EXPECT_EQ(RegSetDword("HKLM\\K", "N", 1), ERROR_SUCCESS);
  EXPECT_EQ(RegSetString("HKCU\\Software\\Classes\\P", "", "u"), ERROR_SUCCESS);
  setenv("QX_REGISTRY", (dir / "two.reg").c_str(), 1);
  uint32_t dword = 0;
  std::string text;
  EXPECT_EQ(RegGetDword("HKLM\\K", "N", &dword), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegGetString("HKCR\\P", "", &text), ERROR_SUCCESS);
  EXPECT_EQ(text, "u");
  EXPECT_TRUE(std::filesystem::exists(dir / "one.reg"));
  EXPECT_FALSE(std::filesystem::exists(dir / "two.reg"));
}

}  // namespace
}  // namespace qx
