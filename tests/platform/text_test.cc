// Code page 1252, BSTR and GUID texts.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/bstr.h"
#include "platform/codepage.h"
#include "platform/guid.h"
#include "platform/task_memory.h"
#include "platform/unknown.h"

namespace qx {
namespace {

using namespace std::string_view_literals;

// The interface's table holds its three slots and nothing else: no data, no destructor.
static_assert(sizeof(IUnknown) == sizeof(void*));

TEST(Codepage, EveryByteRoundTripsWhatItLacksIsNamedAndItsLettersUpperCase) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  std::u16string wide = Cp1252ToUtf16(all);
  ASSERT_EQ(wide.size(), 256u);
  EXPECT_EQ(Utf16ToCp1252(wide), all);
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
  EXPECT_EQ(Utf8ToUtf16(Cp1252ToUtf8(all)), wide);
  UniqueBstr bstr(BstrFromCp1252(all));
  EXPECT_EQ(BstrToCp1252(bstr.get()), all);
  for (unsigned char undefined : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) {
    EXPECT_EQ(wide[undefined], static_cast<char16_t>(undefined));
    EXPECT_EQ(UnicodeToCp1252(undefined), undefined);
  }
  EXPECT_EQ(wide[0x80], u'\u20AC');
  EXPECT_EQ(wide[0x9F], u'\u0178');
  EXPECT_EQ(Cp1252ToUtf8("\x80"), "\xE2\x82\xAC");

  EXPECT_EQ(Utf16ToCp1252(u"a\u0080b\u4E2D"), "a?b?");
  EXPECT_EQ(Utf16ToCp1252(u"x\U0001F600y"), "x?y") << "a surrogate pair is one character";
  EXPECT_EQ(Utf16ToCp1252(std::u16string{u'a', 0xD800, u'b', 0xDC00}), "a?b?");
  // Malformed UTF-8: stray continuation, truncated sequence, overlong form, surrogate.
  EXPECT_EQ(Utf8ToCp1252("\x80z\xE2\x82"), "?z??");
  EXPECT_EQ(Utf8ToCp1252("\xC0\xAF\xED\xA0\x80"), "?????");
  EXPECT_EQ(Utf16ToUtf8(std::u16string{0xDC00}), "\xEF\xBF\xBD");

  // What a text would lose in the code page is named, never replaced unseen.
  using Lista = std::vector<std::string>;
  EXPECT_EQ(MissingFromCp1252("Caf\u00e9 \u2615 \u0141\u00f3d\u017a \u6771\u4eac \u2615"),
            (Lista{"\u2615", "\u0141", "\u017a", "\u6771", "\u4eac"}));
  EXPECT_EQ(MissingFromCp1252("\u20ac \u00ff \u0081 \xef\xbf\xbd"), Lista{"\ufffd"});
  EXPECT_EQ(MissingFromCp1252("ma\xe7o"), Lista{"\\xE7"});
  EXPECT_EQ(FirstMalformedUtf8("ma\xe7o"), 2u);
  EXPECT_EQ(FirstMalformedUtf8("ma\u00e7o \xef\xbf\xbd"), std::string_view::npos);
  EXPECT_EQ(Latin1ToUtf8("ma\xe7o \x80"), "ma\u00e7o \u0080");

  // Upper case covers the letters of the code page.
  EXPECT_EQ(Cp1252ToUpper('\xE9'), '\xC9');  // é
  EXPECT_EQ(Cp1252ToUpper('\xFF'), '\x9F');  // ÿ -> Ÿ
  EXPECT_EQ(Cp1252ToUpper('\x9A'), '\x8A');  // š -> Š
  for (char same : {'\xF7', '\xB5', '\xDF', '1', '\x81'}) EXPECT_EQ(Cp1252ToUpper(same), same);
  EXPECT_TRUE(Cp1252EqualNoCase("Opera\xE7\xE3o", "OPERA\xC7\xC3O"));
  EXPECT_FALSE(Cp1252EqualNoCase("abc", "ab"));
}

TEST(ComBstr, LengthsPrefixTerminatorAndNull) {
  UniqueBstr text(SysAllocString(u"abc"));
  ASSERT_NE(text, nullptr);
  uint32_t prefix;
  std::memcpy(&prefix, reinterpret_cast<const char*>(text.get()) - sizeof prefix, sizeof prefix);
  EXPECT_EQ(prefix, 6u) << "the prefix counts bytes";
  EXPECT_EQ(SysStringLen(text.get()), 3u);
  EXPECT_EQ(text.get()[3], u'\0');

  UniqueBstr zeroed(SysAllocStringLen(nullptr, 5));
  EXPECT_EQ(BstrView(zeroed.get()), std::u16string(5, u'\0'));
  UniqueBstr empty(SysAllocString(u""));
  ASSERT_NE(empty, nullptr) << "an empty text is a real allocation";
  UniqueBstr bytes(SysAllocStringByteLen("\x01\x02\x03\x04\x05", 5));
  EXPECT_EQ(SysStringByteLen(bytes.get()), 5u);
  EXPECT_EQ(SysStringLen(bytes.get()), 2u) << "the odd byte is no character";
  EXPECT_EQ(std::memcmp(bytes.get(), "\x01\x02\x03\x04\x05\x00\x00", 7), 0);
  EXPECT_EQ(SysAllocStringLen(nullptr, 0x80000000u), nullptr) << "byte length beyond 32 bits";

  EXPECT_EQ(SysAllocString(nullptr), nullptr);
  EXPECT_EQ(SysStringLen(nullptr), 0u);
  EXPECT_EQ(BstrToCp1252(nullptr), "");
  SysFreeString(nullptr);
  UniqueBstr nuls(SysAllocStringLen(u"a\0b\0", 4));
  EXPECT_EQ(BstrToCp1252(nuls.get()), "a\0b\0"sv);
  UniqueBstr accents(BstrFromCp1252("A\xE7\xE3o \x80"));
  EXPECT_EQ(BstrView(accents.get()), u"Ação €");

  void* a = CoTaskMemAlloc(0);
  void* b = CoTaskMemAlloc(0);
  EXPECT_NE(a, nullptr);
  EXPECT_NE(a, b) << "zero-size blocks are real";
  CoTaskMemFree(a);
  CoTaskMemFree(b);
  CoTaskMemFree(nullptr);
}

TEST(ComGuid, TextsParseInEitherFormAndCompareInTextOrder) {
  GUID parsed{};
  ASSERT_TRUE(GuidFromText("{00000000-0000-0000-C000-000000000046}", &parsed));
  const uint8_t layout[16] = {0, 0, 0, 0, 0, 0, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46};
  EXPECT_EQ(std::memcmp(&parsed, layout, 16), 0);
  EXPECT_TRUE(IsEqualIID(parsed, IID_IUnknown));
  ASSERT_TRUE(GuidFromText("1a2b3c4d-5e6f-7a8b-9cad-beefcafe0102", &parsed));
  EXPECT_EQ(parsed.Data1, 0x1A2B3C4Du);
  EXPECT_EQ(parsed.Data4[7], 0x02);
  EXPECT_EQ(GuidToBracedText(parsed), "{1A2B3C4D-5E6F-7A8B-9CAD-BEEFCAFE0102}");
  std::set<std::string> seen;
  for (int i = 0; i < 100; ++i) {
    GUID fresh, back{};
    ASSERT_EQ(CoCreateGuid(&fresh), S_OK);
    ASSERT_TRUE(GuidFromText(GuidToBracedText(fresh), &back));
    EXPECT_EQ(back, fresh);
    // Version 4, the RFC 4122 variant.
    EXPECT_EQ(std::pair(fresh.Data3 >> 12, fresh.Data4[0] >> 6), std::pair(4, 2));
    seen.insert(GuidToText(fresh));
  }
  EXPECT_EQ(seen.size(), 100u);

  for (std::string_view bad :
       {""sv, "00000000-0000-0000-C000-00000000004"sv, "{00000000-0000-0000-C000-000000000046"sv,
        "00000000-0000-0000-C000-000000000046}"sv, "000000000-000-0000-C000-000000000046"sv,
        "00000000-0000-0000-C000-00000000004G"sv, "{{00000000-0000-0000-C000-000000000046}}"sv}) {
    GUID target = IID_IUnknown;
    EXPECT_FALSE(GuidFromText(bad, &target)) << bad;
    EXPECT_EQ(target, IID_IUnknown) << "kept on failure: " << bad;
  }

  GUID low{}, high{};
  ASSERT_TRUE(GuidFromText("00000001-FFFF-FFFF-FFFF-FFFFFFFFFFFF", &low));
  ASSERT_TRUE(GuidFromText("00000002-0000-0000-0000-000000000000", &high));
  EXPECT_TRUE(low < high);
  EXPECT_FALSE(high < low);
  EXPECT_FALSE(low < low);
  GUID lastByte = high;
  lastByte.Data4[7] = 1;
  EXPECT_TRUE(high < lastByte);
}

}  // namespace
}  // namespace qx
