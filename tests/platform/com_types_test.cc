#include "platform/com_types.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <string_view>

#include "platform/bstr.h"
#include "platform/guid.h"
#include "platform/task_memory.h"
#include "platform/unknown.h"

namespace qx {
namespace {

using namespace std::string_view_literals;

// The interface's table holds its three slots and nothing else: no data, no destructor.
static_assert(sizeof(IUnknown) == sizeof(void*));

uint32_t PrefixOf(BSTR text) {
  uint32_t prefix;
  std::memcpy(&prefix, reinterpret_cast<const char*>(text) - sizeof prefix, sizeof prefix);
  return prefix;
}

TEST(ComBstr, AllocationLengthsAndTerminator) {
  UniqueBstr text(SysAllocString(u"abc"));
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(SysStringLen(text.get()), 3u);
  EXPECT_EQ(SysStringByteLen(text.get()), 6u);
  EXPECT_EQ(PrefixOf(text.get()), 6u) << "the prefix counts bytes";
  EXPECT_EQ(text.get()[3], u'\0');

  UniqueBstr cut(SysAllocStringLen(u"abcdef", 3));
  EXPECT_EQ(BstrView(cut.get()), u"abc");
  EXPECT_EQ(cut.get()[3], u'\0');

  UniqueBstr zeroed(SysAllocStringLen(nullptr, 5));
  ASSERT_NE(zeroed, nullptr);
  EXPECT_EQ(BstrView(zeroed.get()), std::u16string(5, u'\0'));

  UniqueBstr empty(SysAllocString(u""));
  ASSERT_NE(empty, nullptr) << "an empty text is a real allocation";
  EXPECT_EQ(SysStringLen(empty.get()), 0u);

  UniqueBstr bytes(SysAllocStringByteLen("\x01\x02\x03\x04\x05", 5));
  EXPECT_EQ(SysStringByteLen(bytes.get()), 5u);
  EXPECT_EQ(SysStringLen(bytes.get()), 2u) << "the odd byte is no character";
  EXPECT_EQ(std::memcmp(bytes.get(), "\x01\x02\x03\x04\x05\x00\x00", 7), 0);

  EXPECT_EQ(SysAllocStringLen(nullptr, 0x80000000u), nullptr) << "byte length beyond 32 bits";
}

TEST(ComBstr, NullIsTheEmptyTextAndEmbeddedNulsCount) {
  EXPECT_EQ(SysAllocString(nullptr), nullptr);
  EXPECT_EQ(SysStringLen(nullptr), 0u);
  EXPECT_EQ(SysStringByteLen(nullptr), 0u);
  EXPECT_TRUE(BstrView(nullptr).empty());
  EXPECT_EQ(BstrToCp1252(nullptr), "");
  SysFreeString(nullptr);

  UniqueBstr text(SysAllocStringLen(u"a\0b\0", 4));
  EXPECT_EQ(SysStringLen(text.get()), 4u);
  EXPECT_EQ(BstrView(text.get()), u"a\0b\0"sv);
  EXPECT_EQ(BstrToCp1252(text.get()), "a\0b\0"sv);
}

TEST(ComBstr, Cp1252RoundTrip) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  UniqueBstr wide(BstrFromCp1252(all));
  ASSERT_EQ(SysStringLen(wide.get()), 256u);
  EXPECT_EQ(BstrToCp1252(wide.get()), all);
  EXPECT_EQ(wide.get()[0x80], u'\u20AC');

  UniqueBstr accents(BstrFromCp1252("A\xE7\xE3o \x80"));
  EXPECT_EQ(BstrView(accents.get()), u"Ação €");
  UniqueBstr empty(BstrFromCp1252(""));
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(SysStringLen(empty.get()), 0u);

  UniqueBstr foreign(SysAllocString(u"x\u4E2Dy"));
  EXPECT_EQ(BstrToCp1252(foreign.get()), "x?y");
}

TEST(ComTaskMemory, ZeroSizeBlocksAreRealAndNullFreesNothing) {
  void* a = CoTaskMemAlloc(0);
  void* b = CoTaskMemAlloc(0);
  EXPECT_NE(a, nullptr);
  EXPECT_NE(a, b);
  CoTaskMemFree(a);
  CoTaskMemFree(b);
  CoTaskMemFree(nullptr);
}

TEST(ComGuid, ParsesBracedAndBareTextInEitherCase) {
  GUID parsed{};
  ASSERT_TRUE(GuidFromText("{00000000-0000-0000-C000-000000000046}", &parsed));
  EXPECT_TRUE(IsEqualIID(parsed, IID_IUnknown));
  const uint8_t layout[16] = {0, 0, 0, 0, 0, 0, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46};
  EXPECT_EQ(std::memcmp(&parsed, layout, 16), 0);

  ASSERT_TRUE(GuidFromText("1a2b3c4d-5e6f-7a8b-9cad-beefcafe0102", &parsed));
  EXPECT_EQ(parsed.Data1, 0x1A2B3C4Du);
  EXPECT_EQ(parsed.Data2, 0x5E6F);
  EXPECT_EQ(parsed.Data3, 0x7A8B);
  EXPECT_EQ(parsed.Data4[0], 0x9C);
  EXPECT_EQ(parsed.Data4[7], 0x02);
  EXPECT_EQ(GuidToBracedText(parsed), "{1A2B3C4D-5E6F-7A8B-9CAD-BEEFCAFE0102}");

  GUID fresh;
  ASSERT_EQ(CoCreateGuid(&fresh), S_OK);
  GUID back{};
  ASSERT_TRUE(GuidFromText(GuidToBracedText(fresh), &back));
  EXPECT_EQ(back, fresh);
}

TEST(ComGuid, RejectsMalformedTextAndKeepsTheTarget) {
  const GUID before = IID_IUnknown;
  for (std::string_view bad :
       {""sv, "{}"sv, "00000000-0000-0000-C000-00000000004"sv,
        "{00000000-0000-0000-C000-000000000046"sv, "00000000-0000-0000-C000-000000000046}"sv,
        "(00000000-0000-0000-C000-000000000046)"sv, "000000000-000-0000-C000-000000000046"sv,
        "00000000-0000-0000-C000-00000000004G"sv, "00000000-0000-0000-C000+000000000046"sv,
        "{{00000000-0000-0000-C000-000000000046}}"sv}) {
    GUID target = before;
    EXPECT_FALSE(GuidFromText(bad, &target)) << bad;
    EXPECT_EQ(target, before) << bad;
  }
}

TEST(ComGuid, ComparisonFollowsTheTextOrder) {
  GUID low{}, high{};
  ASSERT_TRUE(GuidFromText("00000001-FFFF-FFFF-FFFF-FFFFFFFFFFFF", &low));
  ASSERT_TRUE(GuidFromText("00000002-0000-0000-0000-000000000000", &high));
  EXPECT_TRUE(low < high);
  EXPECT_FALSE(high < low);
  EXPECT_FALSE(low < low);
  EXPECT_TRUE(low != high);
  EXPECT_FALSE(IsEqualGUID(low, high));
  GUID lastByte = high;
  lastByte.Data4[7] = 1;
  EXPECT_TRUE(high < lastByte);

  std::map<CLSID, int> classes{{high, 2}, {low, 1}, {GUID_NULL, 0}};
  EXPECT_EQ(classes.begin()->second, 0);
  EXPECT_EQ(classes.at(high), 2);
}

}  // namespace
}  // namespace qx
