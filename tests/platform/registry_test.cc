// The registry store: the file format it writes and reads, names, the classes view, edits,
// the default stores, and several processes writing one file; and the profile files.
#include "platform/registry.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <climits>
#include <string_view>
#include <tuple>

#include "platform/codepage.h"
#include "platform/profile.h"
#include "test_support.h"

namespace qx {
namespace {

constexpr char kKey[] = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\QX Sistemas";
constexpr char kHeader[] = "Windows Registry Editor Version 5.00\r\n\r\n";

// A string value, or its error code as "error N".
std::string Text(Registry& reg, const std::string& key, const std::string& name) {
  std::string text;
  auto result = reg.GetString(key, name, &text);
  return result == ERROR_SUCCESS ? text : "error " + std::to_string(result);
}

// A number value as text, or its error code as "error N".
std::string Dword(Registry& reg, const std::string& key, const std::string& name) {
  uint32_t value = 0;
  auto result = reg.GetDword(key, name, &value);
  return result == ERROR_SUCCESS ? std::to_string(value) : "error " + std::to_string(result);
}

std::string Error(long code) { return "error " + std::to_string(code); }

using Names = std::vector<std::string>;

// The subkeys of key, or its value names; "error N" alone when the call fails.
Names Listed(Registry& reg, const std::string& key, bool values = false) {
  Names names;
  auto result = values ? reg.EnumValues(key, &names) : reg.EnumSubKeys(key, &names);
  return result == ERROR_SUCCESS ? names : Names{Error(result)};
}

uint32_t TypeOf(Registry& reg, const std::string& key, const std::string& name) {
  uint32_t type = 0;
  EXPECT_EQ(reg.GetValueType(key, name, &type), ERROR_SUCCESS) << name;
  return type;
}

TEST(RegistryFormat, WrittenFileHasTheExportFormatAndReadsBackEqual) {
  test::TempDir dir;
  Registry reg(dir / "m.reg", "");
  ASSERT_EQ(reg.SetString(kKey, "Path", "C:\\QX\\\"x\"\xC7\xE3o"), ERROR_SUCCESS);
  ASSERT_EQ(reg.SetDword(kKey, "DesabilitaAutenticacaoDCOM", 10), ERROR_SUCCESS);
  ASSERT_EQ(reg.SetString(std::string(kKey) + "\\Empresas\\0001", "", "def"), ERROR_SUCCESS);
  EXPECT_EQ(test::ReadText(dir / "m.reg"),
            std::string(kHeader) +
                "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\QX Sistemas]\r\n"
                "\"Path\"=\"C:\\\\QX\\\\\\\"x\\\"\xC3\x87\xC3\xA3o\"\r\n"
                "\"DesabilitaAutenticacaoDCOM\"=dword:0000000a\r\n\r\n"
                "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\QX Sistemas\\Empresas\\0001]\r\n"
                "@=\"def\"\r\n\r\n");

  // A copy is a file the process has never cached.
  test::WriteText(dir / "copy.reg", test::ReadText(dir / "m.reg"));
  Registry copy(dir / "copy.reg", "");
  EXPECT_EQ(Text(copy, kKey, "Path"), "C:\\QX\\\"x\"\xC7\xE3o");
  EXPECT_EQ(Dword(copy, kKey, "DesabilitaAutenticacaoDCOM"), "10");
  EXPECT_EQ(Text(copy, std::string(kKey) + "\\Empresas\\0001", ""), "def");
}

TEST(RegistryFormat, ReadsUtf16ExportsFromWindowsAndOtherEncodings) {
  std::string utf8 = std::string(kHeader) +
                     "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\QX Sistemas]\r\n"
                     "\"Mensagens\"=\"D:\\\\Mens\xC3\xA1gens\"\r\n"
                     "\"Path_x64\"=hex(2):43,00,3a,00,5c,00,\\\r\n"
                     "  51,00,58,00,00,00\r\n"
                     "\"Chinese\"=\"\xE4\xB8\xAD\"\r\n\r\n"
                     "[HKEY_CLASSES_ROOT\\QXCN_Lancamento.QXCN_Lancamento\\CurVer]\r\n"
                     "@=\"QXCN_Lancamento.QXCN_Lancamento.1\"\r\n";
  std::string bytes = "\xFF\xFE";
  for (char16_t u : Utf8ToUtf16(utf8)) {
    bytes += {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
  }
  test::TempDir dir;
  test::WriteText(dir / "m.reg", bytes);
  Registry reg(dir / "m.reg", "");
  EXPECT_EQ(Text(reg, kKey, "Mensagens"), "D:\\Mens\xE1gens");
  EXPECT_EQ(Text(reg, kKey, "Path_x64"), "C:\\QX");
  EXPECT_EQ(TypeOf(reg, kKey, "Path_x64"), REG_EXPAND_SZ);
  EXPECT_EQ(Text(reg, kKey, "Chinese"), "?");
  EXPECT_EQ(Text(reg, "HKEY_CLASSES_ROOT\\QXCN_Lancamento.QXCN_Lancamento\\CurVer", ""),
            "QXCN_Lancamento.QXCN_Lancamento.1");

  // A rewrite keeps what the code page cannot show, and converts the file to UTF-8.
  ASSERT_EQ(reg.SetDword(kKey, "Novo", 1), ERROR_SUCCESS);
  std::string written = test::ReadText(dir / "m.reg");
  EXPECT_NE(written.find("\"Chinese\"=\"\xE4\xB8\xAD\""), std::string::npos);
  EXPECT_NE(written.find("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\QXCN_Lancamento."),
            std::string::npos);

  // UTF-8 with a byte-order mark and LF line ends; old exports and hand-made files that are
  // not UTF-8 are in the ANSI code page.
  for (const char* other :
       {"\xEF\xBB\xBFWindows Registry Editor Version 5.00\n\n[HKLM\\A]\n\"N\"=\"\xC3\xA9\"\n",
        "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\A]\r\n\"N\"=\"\xE9\"\r\n",
        "[HKEY_LOCAL_MACHINE\\A]\n\"N\"=\"\xE9\"\n"}) {
    test::WriteText(dir / "other.reg", other);
    Registry again(dir / "other.reg", "");
    EXPECT_EQ(Text(again, "HKLM\\A", "N"), "\xE9") << other;
  }
}

TEST(RegistryFormat, UnknownTypesAndMalformedLinesSurviveARewrite) {
  const std::string original =
      "\"Bin\"=hex:01,02,ff\r\n"
      "\"Multi\"=hex(7):61,00,00,00,62,00,00,00,\\\r\n"
      "  00,00\r\n"
      "\"Big\"=hex(b):01,00,00,00,00,00,00,00\r\n"
      "\"Q\"=qword:0000000000000001\r\n"
      "; a comment\r\n";
  test::TempDir dir;
  test::WriteText(dir / "m.reg", kHeader + ("[HKEY_LOCAL_MACHINE\\K]\r\n" + original) + "\r\n");
  Registry reg(dir / "m.reg", "");
  ASSERT_EQ(reg.SetString("HKLM\\K", "Added", "x"), ERROR_SUCCESS);
  std::string written = test::ReadText(dir / "m.reg");
  EXPECT_NE(written.find(original + "\"Added\"=\"x\"\r\n"), std::string::npos) << written;
  EXPECT_EQ(TypeOf(reg, "HKLM\\K", "Multi"), REG_MULTI_SZ);
  EXPECT_EQ(TypeOf(reg, "HKLM\\K", "Big"), REG_QWORD);
  EXPECT_EQ(Text(reg, "HKLM\\K", "Bin"), Error(ERROR_UNSUPPORTED_TYPE));
  EXPECT_EQ(Dword(reg, "HKLM\\K", "Added"), Error(ERROR_UNSUPPORTED_TYPE));

  // A continuation backslash on the file's last line continues with nothing; the rewrite
  // must not let it swallow the line written after it.
  test::WriteText(dir / "end.reg",
                  kHeader + std::string("[HKEY_LOCAL_MACHINE\\K]\r\n\"Bin\"=hex:01,\\"));
  ASSERT_EQ(Registry(dir / "end.reg", "").SetString("HKLM\\K", "Added", "x"), ERROR_SUCCESS);
  Registry again(dir / "end.reg", "");
  EXPECT_EQ(Text(again, "HKLM\\K", "Added"), "x") << test::ReadText(dir / "end.reg");
  EXPECT_EQ(TypeOf(again, "HKLM\\K", "Bin"), REG_BINARY);

  // Malformed lines are skipped, reported once and kept.
  const std::string file = dir / "bad.reg";
  test::WriteText(file, std::string(kHeader) +
                            "\"Orphan\"=\"before any section\"\r\n"
                            "[HKEY_LOCAL_MACHINE\\K]\r\n"
                            "\"Good\"=\"1\"\r\n"
                            "\"Bad\"=dword:xyz\r\n"
                            "\"Open\"=\"never closed\r\n"
                            "garbage \x01 line\r\n"
                            "[-HKEY_LOCAL_MACHINE\\Gone]\r\n"
                            "\"Deleted\"=-\r\n"
                            "[NOT_A_ROOT\\X]\r\n"
                            "\"Lost\"=\"x\"\r\n"
                            "[HKEY_LOCAL_MACHINE\\K\\Sub]\r\n"
                            "\"After\"=dword:00000002\r\n");
  Registry damaged(file, "");
  testing::internal::CaptureStderr();
  EXPECT_EQ(Text(damaged, "HKLM\\K", "Good"), "1");
  EXPECT_EQ(Text(damaged, "HKLM\\K", "Bad"), Error(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(Dword(damaged, "HKLM\\K\\Sub", "After"), "2");
  std::string report = testing::internal::GetCapturedStderr();
  EXPECT_NE(report.find("bad.reg"), std::string::npos);
  EXPECT_EQ(report.find('\n'), report.size() - 1) << "one report: " << report;

  // A write neither reports again nor drops the unreadable lines.
  testing::internal::CaptureStderr();
  ASSERT_EQ(damaged.SetDword("HKLM\\K", "New", 3), ERROR_SUCCESS);
  EXPECT_EQ(Text(damaged, "HKLM\\K", "Good"), "1");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  written = test::ReadText(file);
  for (const char* kept : {"\"Bad\"=dword:xyz", "\"Open\"=\"never closed", "garbage \x01 line",
                           "[NOT_A_ROOT\\X]", "\"Lost\"=\"x\"", "\"Orphan\""}) {
    EXPECT_NE(written.find(kept), std::string::npos) << kept;
  }
  EXPECT_EQ(written.find("Gone"), std::string::npos);
}

// A missing file is empty; names compare without case and keep their spelling; reads see
// changes by others at once; and the default stores follow the environment.
TEST(RegistryStore, MissingFileIsEmptyNamesIgnoreCaseReadsSeeChangesAndDefaultsFollowTheEnv) {
  test::TempDir dir;
  Registry reg(dir / "a/b/m.reg", "");
  Names names = {"stale"};
  EXPECT_EQ(reg.KeyExists("HKLM\\SOFTWARE\\X"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(reg.EnumSubKeys("HKLM\\SOFTWARE", &names), ERROR_FILE_NOT_FOUND);
  EXPECT_TRUE(names.empty());
  EXPECT_EQ(reg.DeleteValue("HKLM\\SOFTWARE\\X", "V"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(reg.DeleteTree("HKLM\\SOFTWARE\\X"), ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(std::filesystem::exists(dir / "a/b/m.reg"));
  EXPECT_EQ(Text(reg, "HKEY_USERS\\X", "V"), Error(ERROR_BADKEY));
  EXPECT_EQ(Text(reg, "Nowhere\\X", "V"), Error(ERROR_BADKEY));

  const std::string companies = "HKLM\\SOFTWARE\\QX Sistemas\\Empresas";
  ASSERT_EQ(reg.SetString(companies + "\\\xC1gua", "Path", "1"), ERROR_SUCCESS);  // makes a/b
  ASSERT_EQ(
      reg.SetString("hkey_local_machine\\software\\qx sistemas\\EMPRESAS\\\xE1GUA", "PATH", "2"),
      ERROR_SUCCESS);
  ASSERT_EQ(reg.SetString(companies + "\\B", "", "3"), ERROR_SUCCESS);
  EXPECT_EQ(reg.KeyExists("HKLM\\SOFTWARE"), ERROR_SUCCESS) << "parents exist implicitly";
  EXPECT_EQ(Text(reg, "HKLM\\Software\\qx SISTEMAS\\empresas\\\xC1GUA\\", "path"), "2");
  EXPECT_EQ(Listed(reg, companies), (Names{"\xC1gua", "B"}));
  EXPECT_EQ(Listed(reg, companies + "\\\xE1gua", true), Names{"Path"});
  EXPECT_EQ(reg.HasValue(companies + "\\b", ""), ERROR_SUCCESS);
  EXPECT_EQ(reg.HasValue(companies + "\\b", "DF"), ERROR_FILE_NOT_FOUND);

  // Reads see changes by others at once.
  const std::string file = dir / "a/b/m.reg";
  for (char digit = '0'; digit <= '9'; ++digit) {
    // Same size, same folder, right after the previous read: only the content differs.
    test::WriteText(file, std::string("[HKEY_LOCAL_MACHINE\\K]\n\"V\"=\"") + digit + "\"\n");
    EXPECT_EQ(Text(reg, "HKLM\\K", "V"), std::string(1, digit));
  }
  std::filesystem::remove(file);
  EXPECT_EQ(Text(reg, "HKLM\\K", "V"), Error(ERROR_FILE_NOT_FOUND));

  // The default stores follow the environment at each call.
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

TEST(RegistryStore, ClassesRootMergesTheUserClassesOverTheMachineAndEditsApplyInOrder) {
  test::TempDir dir;
  Registry reg(dir / "m.reg", dir / "u.reg");
  const std::string userClasses = "HKEY_CURRENT_USER\\Software\\Classes\\CLSID";
  ASSERT_EQ(reg.Apply(RegEdit()
                          .SetString("HKCR\\CLSID\\{A}", "", "machine")
                          .SetString("HKCR\\CLSID\\{B}", "", "machine")
                          .SetString(userClasses + "\\{B}", "", "user")
                          .SetString(userClasses + "\\{C}", "", "user")),
            ERROR_SUCCESS);
  EXPECT_EQ(Text(reg, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\{A}", ""), "machine");
  EXPECT_EQ(Text(reg, "HKEY_CLASSES_ROOT\\CLSID\\{B}", ""), "user");
  EXPECT_EQ(Listed(reg, "HKCR\\CLSID"), (Names{"{B}", "{C}", "{A}"}));
  // Deletes act on the machine.
  EXPECT_EQ(reg.DeleteTree("HKCR\\CLSID\\{C}"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(test::ReadText(dir / "u.reg").find("HKEY_LOCAL"), std::string::npos);

  Registry machineOnly(dir / "m.reg", "");
  EXPECT_EQ(Text(machineOnly, "HKCR\\CLSID\\{B}", ""), "machine");
  EXPECT_EQ(machineOnly.SetString("HKCU\\Software\\X", "V", "1"), ERROR_ACCESS_DENIED);
  EXPECT_EQ(machineOnly.DeleteTree("HKLM"), ERROR_ACCESS_DENIED);

  // Edits apply in order and refuse texts the file cannot hold.
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
  EXPECT_EQ(Listed(reg, clsid), (Names{"LocalServer32", "Programmable"}));
  EXPECT_EQ(Dword(reg, "HKCU\\Software\\Classes\\X", "N"), "7");
  EXPECT_NE(
      test::ReadText(dir / "m.reg")
          .find("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\{1234}\\Programmable]\r\n\r\n"),
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

// Two processes writing the same store file at once keep each other's keys.
TEST(RegistryStore, TwoProcessesWritingAtOnceLoseNothing) {
  constexpr int kWrites = 150;
  test::TempDir dir;
  const std::string file = dir / "m.reg";
  auto key = [](char who, int i) {
    return std::string("HKLM\\SOFTWARE\\") + who + "\\" + std::to_string(i);
  };
  auto writer = [&](char who) {
    return [&, who](test::Child& self) {
      self.Send('r');
      if (self.Receive() != 'g') return 2;
      Registry reg(file, "");
      for (int i = 0; i < kWrites; ++i) {
        if (reg.SetDword(key(who, i), "N", static_cast<uint32_t>(i)) != ERROR_SUCCESS) return 1;
      }
      return 0;
    };
  };
  test::Child a(writer('A')), b(writer('B'));
  ASSERT_EQ(a.Receive(), 'r');
  ASSERT_EQ(b.Receive(), 'r');
  a.Send('g');
  b.Send('g');
  EXPECT_EQ(a.Wait(), 0);
  EXPECT_EQ(b.Wait(), 0);

  Registry reg(file, "");
  for (char who : {'A', 'B'}) {
    EXPECT_EQ(Listed(reg, std::string("HKLM\\SOFTWARE\\") + who).size(), size_t{kWrites}) << who;
    for (int i = 0; i < kWrites; ++i) EXPECT_EQ(Dword(reg, key(who, i), "N"), std::to_string(i));
  }
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    EXPECT_TRUE(entry.path().filename() == "m.reg" || entry.path().filename() == "m.reg.lock")
        << "no temporary file left: " << entry.path();
  }
}

TEST(Profile, StringsAndIntegersFollowTheWindowsRulesInUnicodeAndGarbageFilesToo) {
  test::TempDir dir;
  const std::string ini = dir / "log.ini";
  test::WriteText(ini,
                  "; profiler configuration\r\n"
                  "[Other]\r\nEntrada=9\r\n"
                  "  [ LOG ]  \r\n"
                  "  entrada =  1  \r\n"
                  "Saida=\"  2 \"\r\n"
                  "Processos='todos;ostrel'\r\n"
                  "Half=\"open\r\n"
                  ";Trace=1\r\nTrace\r\n"
                  "Memory=12abc\r\nNegative=-5x\r\nPlus=+7\r\nWords=abc\r\nEmpty=\r\n"
                  "Huge=99999999999999\r\n"
                  "Entrada=3\r\n"
                  "[log]\r\nExtra=1\r\n");
  // Section, key, default and the text found; "Extra" is in a second [log], which is not read.
  const std::string_view texts[][4] = {
      {"Log", "ENTRADA", "", "1"},        {"log", "Saida", "", "  2 "},
      {"Log", "Half", "", "\"open"},      {"Log", "Processos", "todos", "todos;ostrel"},
      {"Log", "Trace", "none  ", "none"}, {"Log", "Empty", "d", ""},
      {"Log", "Extra", "d", "d"},         {"Other", "Entrada", "", "9"},
      {"Missing", "Entrada", "x", "x"}};
  for (const auto& [section, key, fallback, text] : texts) {
    EXPECT_EQ(GetPrivateProfileString(section, key, fallback, ini), text) << section << key;
  }
  // The first key wins, blanks inside quotes are dropped, digits count up to the first other.
  const std::tuple<const char*, int, int> numbers[] = {
      {"Entrada", 0, 1}, {"Saida", 0, 2},     {"Memory", 0, 12},   {"Negative", 0, -5},
      {"Plus", 0, 7},    {"Words", 600, 600}, {"Empty", 600, 600}, {"Huge", 0, INT_MAX}};
  for (const auto& [key, fallback, number] : numbers) {
    EXPECT_EQ(GetPrivateProfileInt("LOG", key, fallback, ini), number) << key;
  }
  EXPECT_EQ(GetPrivateProfileInt("Log", "Entrada", 4, dir / "absent.ini"), 4);
  EXPECT_EQ(GetPrivateProfileInt("Log", "Entrada", 4, dir.path()), 4) << "a folder";

  // Unicode and garbage files.
  std::string utf16 = "\xFF\xFE";
  for (char c : std::string("[Log]\r\nProcessos=a\xE7\xE3o\r\n")) utf16 += {c, '\0'};
  test::WriteText(dir / "u16.ini", utf16);
  EXPECT_EQ(GetPrivateProfileString("Log", "Processos", "", dir / "u16.ini"), "a\xE7\xE3o");
  test::WriteText(dir / "u8.ini", "\xEF\xBB\xBF[Log]\nProcessos=a\xC3\xA7\xC3\xA3o\n");
  EXPECT_EQ(GetPrivateProfileString("Log", "Processos", "", dir / "u8.ini"), "a\xE7\xE3o");

  std::string garbage;
  for (int i = 0; i < 5000; ++i) garbage.push_back(static_cast<char>((i * 7919) % 256));
  garbage += "\n[Log\nEntrada=1\n[]\n=\n[\n";
  test::WriteText(dir / "bad.ini", garbage);
  // An unclosed section name runs to the end of the line.
  EXPECT_EQ(GetPrivateProfileInt("Log", "Entrada", 0, dir / "bad.ini"), 1);
  EXPECT_EQ(GetPrivateProfileString("Log", "Saida", "d", dir / "bad.ini"), "d");
}

}  // namespace
}  // namespace qx
