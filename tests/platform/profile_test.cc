#include "platform/profile.h"

#include <gtest/gtest.h>

#include <climits>

#include "test_support.h"

namespace {

TEST(Profile, StringsAndIntegersFollowTheWindowsRules) {
  qx::test::TempDir dir;
  const std::string ini = dir / "log.ini";
  qx::test::WriteText(ini,
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
  EXPECT_EQ(GetPrivateProfileString("Log", "ENTRADA", "", ini), "1");
  EXPECT_EQ(GetPrivateProfileString("log", "Saida", "", ini), "  2 ");
  EXPECT_EQ(GetPrivateProfileString("Log", "Processos", "todos", ini), "todos;ostrel");
  EXPECT_EQ(GetPrivateProfileString("Log", "Half", "", ini), "\"open");
  EXPECT_EQ(GetPrivateProfileString("Log", "Trace", "none  ", ini), "none");
  EXPECT_EQ(GetPrivateProfileString("Log", "Empty", "d", ini), "");
  EXPECT_EQ(GetPrivateProfileString("Log", "Extra", "d", ini), "d") << "first section only";
  EXPECT_EQ(GetPrivateProfileString("Other", "Entrada", "", ini), "9");
  EXPECT_EQ(GetPrivateProfileString("Missing", "Entrada", "x", ini), "x");

  EXPECT_EQ(GetPrivateProfileInt("LOG", "Entrada", 0, ini), 1) << "the first key wins";
  EXPECT_EQ(GetPrivateProfileInt("Log", "Saida", 0, ini), 2) << "blanks inside quotes";
  EXPECT_EQ(GetPrivateProfileInt("Log", "Memory", 0, ini), 12);
  EXPECT_EQ(GetPrivateProfileInt("Log", "Negative", 0, ini), -5);
  EXPECT_EQ(GetPrivateProfileInt("Log", "Plus", 0, ini), 7);
  EXPECT_EQ(GetPrivateProfileInt("Log", "Words", 600, ini), 600);
  EXPECT_EQ(GetPrivateProfileInt("Log", "Empty", 600, ini), 600);
  EXPECT_EQ(GetPrivateProfileInt("Log", "Huge", 0, ini), INT_MAX);
  EXPECT_EQ(GetPrivateProfileInt("Log", "Entrada", 4, dir / "absent.ini"), 4);
  EXPECT_EQ(GetPrivateProfileInt("Log", "Entrada", 4, dir.path()), 4) << "a folder";
}

TEST(Profile, UnicodeAndGarbageFiles) {
  qx::test::TempDir dir;
  std::string utf16 = "\xFF\xFE";
  for (char c : std::string("[Log]\r\nProcessos=a\xE7\xE3o\r\n")) utf16 += {c, '\0'};
  qx::test::WriteText(dir / "u16.ini", utf16);
  EXPECT_EQ(GetPrivateProfileString("Log", "Processos", "", dir / "u16.ini"), "a\xE7\xE3o");
  qx::test::WriteText(dir / "u8.ini", "\xEF\xBB\xBF[Log]\nProcessos=a\xC3\xA7\xC3\xA3o\n");
  EXPECT_EQ(GetPrivateProfileString("Log", "Processos", "", dir / "u8.ini"), "a\xE7\xE3o");

  std::string garbage;
  for (int i = 0; i < 5000; ++i) garbage.push_back(static_cast<char>((i * 7919) % 256));
  garbage += "\n[Log\nEntrada=1\n[]\n=\n[\n";
  qx::test::WriteText(dir / "bad.ini", garbage);
  EXPECT_EQ(GetPrivateProfileInt("Log", "Entrada", 0, dir / "bad.ini"), 1)
      << "an unclosed section name runs to the end of the line";
  EXPECT_EQ(GetPrivateProfileString("Log", "Saida", "d", dir / "bad.ini"), "d");
}

}  // namespace
