// Wire frames, payload marshalling, class lookup and server command lines.
#include <gtest/gtest.h>

#include "platform/com_runtime.h"
#include "platform/localserver_launch.h"
#include "platform/registry.h"
#include "platform/wire_frame.h"
#include "platform/wire_frame_marshal.h"
#include "runtime_support.h"

namespace qx::test {
namespace {

TEST(RuntimeWire, FramesAreLittleEndianAndTheirLengthCountsTheWholeFrame) {
  EXPECT_EQ(EncodeRequest(0x01020304, 7, 0x0A0B, {0xEE}),
            (std::vector<uint8_t>{17, 0, 0, 0, 4, 3, 2, 1, 7, 0, 0, 0, 0x0B, 0x0A, 0, 0, 0xEE}));
  std::vector<uint8_t> reply = EncodeReply(9, E_FAIL, {});
  EXPECT_EQ(reply, (std::vector<uint8_t>{12, 0, 0, 0, 9, 0, 0, 0, 0x05, 0x40, 0x00, 0x80}));
  WireReplyHeader header = DecodeReplyHeader(reply.data());
  EXPECT_EQ(header.length, 12u);
  EXPECT_EQ(header.callId, 9u);
  EXPECT_EQ(header.result, E_FAIL);
  WireRequestHeader request = DecodeRequestHeader(EncodeRequest(5, 6, 7, {}).data());
  EXPECT_EQ(request.length, 16u);
  EXPECT_EQ(request.objectId, 6u);
  EXPECT_EQ(request.slot, 7u);
}

TEST(RuntimeWire, ReaderGivesBackWhatTheWriterWroteAndStopsAtTheEnd) {
  WireWriter out;
  out.U16(0xBEEF);
  out.I32(-5);
  UniqueBstr text(SysAllocString(u"\u00e7a"));
  out.Bstr(text.get());
  out.Bstr(nullptr);
  const int32_t numbers[] = {1, -2, 3};
  out.Array(numbers, 3);
  out.Value(CURRENCY{123456});

  WireReader in(out.bytes());
  uint16_t u16 = 0;
  int32_t i32 = 0;
  BSTR first = nullptr, second = nullptr;
  std::vector<int32_t> array;
  CURRENCY money{};
  EXPECT_TRUE(in.U16(&u16) && in.I32(&i32) && in.Bstr(&first) && in.Bstr(&second) &&
              in.Array(&array) && in.Value(&money));
  EXPECT_TRUE(in.Finished());
  EXPECT_EQ(u16, 0xBEEF);
  EXPECT_EQ(i32, -5);
  EXPECT_EQ(BstrView(first), u"\u00e7a");
  EXPECT_NE(second, nullptr);
  EXPECT_EQ(SysStringLen(second), 0u);
  EXPECT_EQ(array, (std::vector<int32_t>{1, -2, 3}));
  EXPECT_EQ(money.int64, 123456);
  SysFreeString(first);
  SysFreeString(second);

  // Bytes past what the payload holds are never read, and a failed reader stays failed.
  uint32_t extra = 7;
  EXPECT_FALSE(in.U32(&extra));
  EXPECT_EQ(extra, 7u);
  EXPECT_FALSE(in.ok());
}

TEST(RuntimeWire, ReaderRefusesCountsBeyondThePayload) {
  auto bytes = [](std::initializer_list<uint8_t> list) { return std::vector<uint8_t>(list); };
  BSTR text = nullptr;
  EXPECT_FALSE(WireReader(bytes({4, 0, 0, 0, 'a', 0})).Bstr(&text));       // text cut short
  EXPECT_FALSE(WireReader(bytes({3, 0, 0, 0, 'a', 0, 'b'})).Bstr(&text));  // half a character
  EXPECT_FALSE(WireReader(bytes({0xFF, 0xFF, 0xFF, 0xFF})).Bstr(&text));
  EXPECT_EQ(text, nullptr);
  std::vector<int32_t> array;
  EXPECT_FALSE(WireReader(bytes({0xFF, 0xFF, 0xFF, 0x7F, 1, 2, 3, 4})).Array(&array));
  EXPECT_FALSE(WireReader(bytes({2, 0, 0, 0, 1, 0, 0, 0})).Array(&array));
  EXPECT_TRUE(array.empty());
  WireReader twoBytes(bytes({1, 2}));
  int32_t number = 0;
  EXPECT_FALSE(twoBytes.I32(&number));
  EXPECT_FALSE(twoBytes.Finished());
}

TEST(RuntimeWire, CommandLinesSplitAtBlanksOutsideQuotes) {
  EXPECT_EQ(SplitCommandLine("  /opt/qx/ostrel\t-a  b "),
            (std::vector<std::string>{"/opt/qx/ostrel", "-a", "b"}));
  EXPECT_EQ(SplitCommandLine("\"/opt/qx sistemas/ostrel\" \"x y\""),
            (std::vector<std::string>{"/opt/qx sistemas/ostrel", "x y"}));
  EXPECT_TRUE(SplitCommandLine(" \t").empty());
}

using RuntimeLookupTest = RuntimeTest;

TEST_F(RuntimeLookupTest, ProgIdsLeadToClassesAndClassesToTheirServers) {
  const std::string classKey = "HKEY_CLASSES_ROOT\\CLSID\\" + GuidToBracedText(CLSID_RuntimeAdder);
  ASSERT_EQ(RegApply(RegEdit()
                         .SetString("HKEY_CLASSES_ROOT\\Adder.Adder.1\\CLSID", "",
                                    GuidToBracedText(CLSID_RuntimeAdder))
                         .SetString("HKEY_CLASSES_ROOT\\Adder.Adder\\CurVer", "", "Adder.Adder.1")
                         .SetString("HKEY_CLASSES_ROOT\\Loop\\CurVer", "", "Loop")
                         .SetString("HKEY_CLASSES_ROOT\\Bad\\CLSID", "", "{not a guid}")
                         .SetString(classKey + "\\LocalServer32", "", "/opt/ostrel -x")),
            ERROR_SUCCESS);
  for (const char16_t* progId : {u"Adder.Adder.1", u"adder.adder"}) {
    CLSID clsid = GUID_NULL;
    EXPECT_EQ(CLSIDFromProgID(progId, &clsid), S_OK);
    EXPECT_EQ(clsid, CLSID_RuntimeAdder);
  }
  CLSID clsid = GUID_NULL;
  for (const char16_t* progId : {u"Nothing", u"Loop", u"Bad", u""}) {
    EXPECT_EQ(CLSIDFromProgID(progId, &clsid), CO_E_CLASSSTRING);
  }
  EXPECT_EQ(CLSIDFromProgID(nullptr, &clsid), E_INVALIDARG);

  std::string command;
  EXPECT_EQ(LocalServerCommand(CLSID_RuntimeAdder, &command), S_OK);
  EXPECT_EQ(command, "/opt/ostrel -x");
  EXPECT_EQ(LocalServerCommand(IID_IRuntimeAdder, &command), REGDB_E_CLASSNOTREG);
}

}  // namespace
}  // namespace qx::test
