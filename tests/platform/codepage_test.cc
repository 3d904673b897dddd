#include "platform/codepage.h"

#include <gtest/gtest.h>

namespace qx {
namespace {

std::string AllBytes() {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  return all;
}

TEST(Codepage, EveryByteRoundTripsThroughUtf16AndUtf8) {
  const std::string all = AllBytes();
  std::u16string wide = Cp1252ToUtf16(all);
  ASSERT_EQ(wide.size(), 256u);
  EXPECT_EQ(Utf16ToCp1252(wide), all);
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
  EXPECT_EQ(Utf8ToUtf16(Cp1252ToUtf8(all)), wide);
  EXPECT_EQ(Utf16ToUtf8(wide), Cp1252ToUtf8(all));
  for (unsigned char undefined : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) {
    EXPECT_EQ(wide[undefined], static_cast<char16_t>(undefined));
    EXPECT_EQ(UnicodeToCp1252(undefined), undefined);
  }
  EXPECT_EQ(wide[0x80], u'\u20AC');
  EXPECT_EQ(wide[0x9F], u'\u0178');
  EXPECT_EQ(wide[0xE7], u'\u00E7');
  EXPECT_EQ(Cp1252ToUtf8("\x80"), "\xE2\x82\xAC");
}

TEST(Codepage, CharactersOutsideTheCodePageBecomeQuestionMarks) {
  EXPECT_EQ(Utf16ToCp1252(u"a\u0080b\u4E2D"), "a?b?");
  EXPECT_EQ(Utf16ToCp1252(u"x\U0001F600y"), "x?y") << "a surrogate pair is one character";
  EXPECT_EQ(Utf16ToCp1252(std::u16string{u'a', 0xD800, u'b', 0xDC00}), "a?b?");
  EXPECT_EQ(Utf8ToCp1252("\xE4\xB8\xAD-\xF0\x9F\x98\x80"), "?-?");
  // Malformed UTF-8: stray continuation, truncated sequence, overlong form, surrogate.
  EXPECT_EQ(Utf8ToCp1252("\x80z\xE2\x82"), "?z??");
  EXPECT_EQ(Utf8ToCp1252("\xC0\xAF\xED\xA0\x80"), "?????");
  EXPECT_EQ(Utf16ToUtf8(std::u16string{0xDC00}), "\xEF\xBF\xBD");
}

TEST(Codepage, UpperCaseCoversTheLettersOfTheCodePage) {
  EXPECT_EQ(Cp1252ToUpper('a'), 'A');
  EXPECT_EQ(Cp1252ToUpper('\xE9'), '\xC9');  // é
  EXPECT_EQ(Cp1252ToUpper('\xFF'), '\x9F');  // ÿ -> Ÿ
  EXPECT_EQ(Cp1252ToUpper('\x9A'), '\x8A');  // š -> Š
  EXPECT_EQ(Cp1252ToUpper('\x9C'), '\x8C');  // œ -> Œ
  EXPECT_EQ(Cp1252ToUpper('\x9E'), '\x8E');  // ž -> Ž
  for (char same : {'\xF7', '\xB5', '\xDF', '1', '\x81', '\xC9'})
    EXPECT_EQ(Cp1252ToUpper(same), same);
  EXPECT_TRUE(Cp1252EqualNoCase("Opera\xE7\xE3o", "OPERA\xC7\xC3O"));
  EXPECT_FALSE(Cp1252EqualNoCase("abc", "abd"));
  EXPECT_FALSE(Cp1252EqualNoCase("abc", "ab"));
}

}  // namespace
}  // namespace qx
