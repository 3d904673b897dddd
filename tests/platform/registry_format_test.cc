// The registry file format: what the store writes, what it reads from
// Windows exports, and what it keeps untouched.
#include <gtest/gtest.h>

#include "platform/codepage.h"
#include "platform/registry.h"
#include "test_support.h"

namespace qx {
namespace {

constexpr char kKey[] = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\QX Sistemas";

TEST(RegistryFormat, WrittenFileHasTheExportFormatAndReadsBackEqual) {
  test::TempDir dir;
  Registry reg(dir / "m.reg", "");
  ASSERT_EQ(reg.SetString(kKey, "Path", "C:\\QX\\\"x\"\xC7\xE3o"), ERROR_SUCCESS);
  ASSERT_EQ(reg.SetDword(kKey, "DesabilitaAutenticacaoDCOM", 10), ERROR_SUCCESS);
  ASSERT_EQ(reg.SetString(std::string(kKey) + "\\Empresas\\0001", "", "def"), ERROR_SUCCESS);
  EXPECT_EQ(test::ReadText(dir / "m.reg"),
            "Windows Registry Editor Version 5.00\r\n\r\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\QX Sistemas]\r\n"
            "\"Path\"=\"C:\\\\QX\\\\\\\"x\\\"\xC3\x87\xC3\xA3o\"\r\n"
            "\"DesabilitaAutenticacaoDCOM\"=dword:0000000a\r\n\r\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\QX Sistemas\\Empresas\\0001]\r\n"
            "@=\"def\"\r\n\r\n");

  // A copy is a file the process has never cached.
  test::WriteText(dir / "copy.reg", test::ReadText(dir / "m.reg"));
  Registry copy(dir / "copy.reg", "");
  std::string text;
  uint32_t dword = 0;
  EXPECT_EQ(copy.GetString(kKey, "Path", &text), ERROR_SUCCESS);
  EXPECT_EQ(text, "C:\\QX\\\"x\"\xC7\xE3o");
  EXPECT_EQ(copy.GetDword(kKey, "DesabilitaAutenticacaoDCOM", &dword), ERROR_SUCCESS);
  EXPECT_EQ(dword, 10u);
  EXPECT_EQ(copy.GetString(std::string(kKey) + "\\Empresas\\0001", "", &text), ERROR_SUCCESS);
  EXPECT_EQ(text, "def");
}

TEST(RegistryFormat, ReadsUtf16ExportsFromWindows) {
  std::string utf8 =
      "Windows Registry Editor Version 5.00\r\n\r\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\QX Sistemas]\r\n"
      "\"Mensagens\"=\"D:\\\\Mens\xC3\xA1gens\"\r\n"
      "\"Path_x64\"=hex(2):43,00,3a,00,5c,00,\\\r\n"
      "  51,00,58,00,00,00\r\n"
      "\"Chinese\"=\"\xE4\xB8\xAD\"\r\n\r\n"
      "[HKEY_CLASSES_ROOT\\QXCN_Lancamento.QXCN_Lancamento\\CurVer]\r\n"
      "@=\"QXCN_Lancamento.QXCN_Lancamento.1\"\r\n";
  std::u16string units = Utf8ToUtf16(utf8);
  std::string bytes = "\xFF\xFE";
  for (char16_t u : units) bytes += {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
  test::TempDir dir;
  test::WriteText(dir / "m.reg", bytes);
  Registry reg(dir / "m.reg", "");
  std::string text;
  uint32_t type = 0;
  EXPECT_EQ(reg.GetString(kKey, "Mensagens", &text), ERROR_SUCCESS);
  EXPECT_EQ(text, "D:\\Mens\xE1gens");
  EXPECT_EQ(reg.GetString(kKey, "Path_x64", &text), ERROR_SUCCESS);
  EXPECT_EQ(text, "C:\\QX");
  EXPECT_EQ(reg.GetValueType(kKey, "Path_x64", &type), ERROR_SUCCESS);
  EXPECT_EQ(type, REG_EXPAND_SZ);
  EXPECT_EQ(reg.GetString(kKey, "Chinese", &text), ERROR_SUCCESS);
  EXPECT_EQ(text, "?");
  EXPECT_EQ(reg.GetString("HKEY_CLASSES_ROOT\\QXCN_Lancamento.QXCN_Lancamento\\CurVer", "", &text),
            ERROR_SUCCESS);
  EXPECT_EQ(text, "QXCN_Lancamento.QXCN_Lancamento.1");

  // A rewrite keeps what the code page cannot show, and converts the file to UTF-8.
  ASSERT_EQ(reg.SetDword(kKey, "Novo", 1), ERROR_SUCCESS);
  std::string written = test::ReadText(dir / "m.reg");
  EXPECT_NE(written.find("\"Chinese\"=\"\xE4\xB8\xAD\""), std::string::npos);
  EXPECT_NE(written.find("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\QXCN_Lancamento."),
            std::string::npos);
}

TEST(RegistryFormat, OtherEncodingsAndLineEndsAreRead) {
  test::TempDir dir;
  Registry reg(dir / "m.reg", "");
  std::string text;
  // UTF-8 with a byte-order mark and LF line ends.
  test::WriteText(
      dir / "m.reg",
      "\xEF\xBB\xBFWindows Registry Editor Version 5.00\n\n[HKLM\\A]\n\"N\"=\"\xC3\xA9\"\n");
  EXPECT_EQ(reg.GetString("HKLM\\A", "N", &text), ERROR_SUCCESS);
  EXPECT_EQ(text, "\xE9");
  // Old exports are in the ANSI code page.
  test::WriteText(dir / "old.reg", "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\A]\r\n\"N\"=\"\xE9\"\r\n");
  EXPECT_EQ(Registry(dir / "old.reg", "").GetString("HKLM\\A", "N", &text), ERROR_SUCCESS);
  EXPECT_EQ(text, "\xE9");
  // So are hand-made files that are not UTF-8.
  test::WriteText(dir / "ansi.reg", "[HKEY_LOCAL_MACHINE\\A]\n\"N\"=\"\xE9\"\n");
  EXPECT_EQ(Registry(dir / "ansi.reg", "").GetString("HKLM\\A", "N", &text), ERROR_SUCCESS);
  EXPECT_EQ(text, "\xE9");
}

TEST(RegistryFormat, UnknownValueTypesSurviveARewrite) {
  const std::string original =
      "\"Bin\"=hex:01,02,ff\r\n"
      "\"Multi\"=hex(7):61,00,00,00,62,00,00,00,\\\r\n"
      "  00,00\r\n"
      "\"Big\"=hex(b):01,00,00,00,00,00,00,00\r\n"
      "\"Q\"=qword:0000000000000001\r\n"
      "; a comment\r\n";
  test::TempDir dir;
  test::WriteText(dir / "m.reg",
                  "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\K]\r\n" +
                      original + "\r\n");
  Registry reg(dir / "m.reg", "");
  ASSERT_EQ(reg.SetString("HKLM\\K", "Added", "x"), ERROR_SUCCESS);
  std::string written = test::ReadText(dir / "m.reg");
  EXPECT_NE(written.find(original + "\"Added\"=\"x\"\r\n"), std::string::npos) << written;
  uint32_t type = 0;
  std::string text;
  EXPECT_EQ(reg.GetValueType("HKLM\\K", "Multi", &type), ERROR_SUCCESS);
  EXPECT_EQ(type, REG_MULTI_SZ);
  EXPECT_EQ(reg.GetValueType("HKLM\\K", "Big", &type), ERROR_SUCCESS);
  EXPECT_EQ(type, REG_QWORD);
  EXPECT_EQ(reg.GetString("HKLM\\K", "Bin", &text), ERROR_UNSUPPORTED_TYPE);
  EXPECT_EQ(reg.GetDword("HKLM\\K", "Added", &type), ERROR_UNSUPPORTED_TYPE);
}

TEST(RegistryFormat, MalformedLinesAreSkippedReportedOnceAndKept) {
  test::TempDir dir;
  const std::string file = dir / "m.reg";
  test::WriteText(file,
                  "Windows Registry Editor Version 5.00\r\n\r\n"
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
  Registry reg(file, "");
  std::string text;
  uint32_t dword = 0;
  testing::internal::CaptureStderr();
  EXPECT_EQ(reg.GetString("HKLM\\K", "Good", &text), ERROR_SUCCESS);
  EXPECT_EQ(reg.GetString("HKLM\\K", "Bad", &text), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(reg.GetDword("HKLM\\K\\Sub", "After", &dword), ERROR_SUCCESS);
  std::string report = testing::internal::GetCapturedStderr();
  EXPECT_NE(report.find("m.reg"), std::string::npos);
  EXPECT_EQ(report.find('\n'), report.size() - 1) << "one report: " << report;

  // A write neither reports again nor drops the unreadable lines.
  testing::internal::CaptureStderr();
  ASSERT_EQ(reg.SetDword("HKLM\\K", "New", 3), ERROR_SUCCESS);
  EXPECT_EQ(reg.GetString("HKLM\\K", "Good", &text), ERROR_SUCCESS);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  std::string written = test::ReadText(file);
  for (const char* kept : {"\"Bad\"=dword:xyz", "\"Open\"=\"never closed", "garbage \x01 line",
                           "[NOT_A_ROOT\\X]", "\"Lost\"=\"x\"", "\"Orphan\""}) {
    EXPECT_NE(written.find(kept), std::string::npos) << kept;
  }
  EXPECT_EQ(written.find("Gone"), std::string::npos);
}

// A continuation backslash on the file's last line continues with nothing; the
// rewrite must not let it swallow the line written after it.
TEST(RegistryFormat, AContinuationAtTheEndOfTheFileJoinsNothingOnARewrite) {
  test::TempDir dir;
  test::WriteText(dir / "m.reg",
                  "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\K]\r\n"
                  "\"Bin\"=hex:01,\\");
  {
    Registry reg(dir / "m.reg", "");
    ASSERT_EQ(reg.SetString("HKLM\\K", "Added", "x"), ERROR_SUCCESS);
  }
  Registry again(dir / "m.reg", "");
  std::string text;
  EXPECT_EQ(again.GetString("HKLM\\K", "Added", &text), ERROR_SUCCESS)
      << test::ReadText(dir / "m.reg");
  EXPECT_EQ(text, "x");
  uint32_t type = 0;
  EXPECT_EQ(again.GetValueType("HKLM\\K", "Bin", &type), ERROR_SUCCESS);
  EXPECT_EQ(type, REG_BINARY);
}

}  // namespace
}  // namespace qx
