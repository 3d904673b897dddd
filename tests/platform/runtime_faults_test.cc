// Bad frames end their own connection only; everyone else goes on being served.
#include <poll.h>
#include <sys/socket.h>

#include <mutex>
#include <vector>

#include "platform/unix_socket.h"
#include "platform/wire_frame.h"
#include "platform/wire_frame_marshal.h"
#include "runtime_support.h"

namespace qx::test {
namespace {

class RuntimeFaultsTest : public RuntimeTest {
 protected:
  RuntimeFaultsTest() {
    SetRuntimeLogHook([this](RuntimeEvent event, const std::string&) {
      std::lock_guard lock(mutex_);
      events_.push_back(event);
    });
  }

  std::vector<RuntimeEvent> Events() {
    std::lock_guard lock(mutex_);
    return events_;
  }

  int Connect() { return ConnectUnix(SocketPath()); }

  static void Send(int fd, const std::vector<uint8_t>& bytes) {
    ASSERT_TRUE(SendAll(fd, bytes.data(), bytes.size()));
  }

  // A new object on a raw connection: its id.
  static uint32_t Create(int fd) {
    WireWriter iid;
    iid.Value(IID_IRuntimeAdder);
    Send(fd, EncodeRequest(1, kClassFactoryObject, kSlotCreateInstance, iid.bytes()));
    uint8_t reply[sizeof(WireReplyHeader) + 4] = {};
    EXPECT_TRUE(ReceiveAll(fd, reply, sizeof(reply)));
    EXPECT_EQ(DecodeReplyHeader(reply).result, S_OK);
    uint32_t id = 0;
    WireReader(reply + sizeof(WireReplyHeader), 4).U32(&id);
    return id;
  }

  // True when the server ended the connection (end of stream within 20 s).
  static bool ClosedByServer(int fd) {
    pollfd in = {fd, POLLIN, 0};
    char byte;
    return poll(&in, 1, 20000) == 1 && recv(fd, &byte, 1, 0) <= 0;
  }

  std::mutex mutex_;
  std::vector<RuntimeEvent> events_;
};

std::vector<uint8_t> Bytes(std::initializer_list<uint8_t> list) { return list; }

TEST_F(RuntimeFaultsTest, BadFramesAndPayloadsCloseTheirConnectionAndReleaseItsObjects) {
  AdderServer server;
  ASSERT_EQ(server.result(), S_OK);
  struct Case {
    std::vector<uint8_t> frame;
    RuntimeEvent event;
  };
  WireWriter shortText;
  shortText.U32(100);
  shortText.U16('a');
  const Case cases[] = {
      {Bytes({0x00, 0x00, 0x00, 0x80}), RuntimeEvent::kBadFrame},  // announces 2 GiB
      {Bytes({0x01, 0x00, 0x00, 0x01}), RuntimeEvent::kBadFrame},  // 16 MiB + 1
      {Bytes({8, 0, 0, 0, 1, 0, 0, 0}), RuntimeEvent::kBadFrame},  // shorter than a header
      {EncodeRequest(2, kClassFactoryObject, kSlotCreateInstance, {1, 2, 3}),
       RuntimeEvent::kBadPayload},
      {EncodeRequest(2, 1, 3, {1, 2, 3, 4}), RuntimeEvent::kBadPayload},  // Add: one number
      {EncodeRequest(2, 1, 4, shortText.bytes()), RuntimeEvent::kBadPayload},
      {EncodeRequest(2, 1, kSlotRelease, {0}), RuntimeEvent::kBadPayload},
  };
  for (const Case& bad : cases) {
    int fd = Connect();
    ASSERT_GE(fd, 0);
    EXPECT_EQ(Create(fd), 1u);
    EXPECT_EQ(LiveObjectCount(), 1);
    size_t before = Events().size();
    Send(fd, bad.frame);
    EXPECT_TRUE(ClosedByServer(fd));
    CloseSocket(fd);
    EXPECT_TRUE(WaitFor([] { return LiveObjectCount() == 0; }));
    ASSERT_EQ(Events().size(), before + 1);
    EXPECT_EQ(Events().back(), bad.event);
    ExpectServed();
  }
}

TEST_F(RuntimeFaultsTest, UnknownObjectsAndSlotsAreAnsweredWithoutClosing) {
  AdderServer server;
  ASSERT_EQ(server.result(), S_OK);
  int fd = Connect();
  ASSERT_GE(fd, 0);
  uint32_t id = Create(fd);
  const struct {
    uint32_t object;
    uint16_t slot;
    HRESULT result;
  } calls[] = {{99, 3, RPC_E_INVALID_OBJECT},
               {id, kSlotAddRef, E_NOTIMPL},
               {id, 9, E_NOTIMPL},
               {kClassFactoryObject, 4, E_NOTIMPL},
               {id, kSlotRelease, S_OK},
               {id, kSlotRelease, RPC_E_INVALID_OBJECT}};
  uint32_t callId = 10;
  for (const auto& call : calls) {
    Send(fd, EncodeRequest(++callId, call.object, call.slot, {}));
    uint8_t reply[sizeof(WireReplyHeader)];
    ASSERT_TRUE(ReceiveAll(fd, reply, sizeof(reply)));
    WireReplyHeader header = DecodeReplyHeader(reply);
    EXPECT_EQ(header.callId, callId);
    EXPECT_EQ(header.result, call.result);
    EXPECT_EQ(header.length, sizeof(reply));
  }
  EXPECT_EQ(LiveObjectCount(), 0);
  EXPECT_TRUE(Events().empty());
  CloseSocket(fd);
}

TEST_F(RuntimeFaultsTest, HalfAFrameHoldsUpNobodyElse) {
  AdderServer server;
  ASSERT_EQ(server.result(), S_OK);
  int fd = Connect();
  ASSERT_GE(fd, 0);
  std::vector<uint8_t> frame =
      EncodeRequest(1, kClassFactoryObject, kSlotCreateInstance, std::vector<uint8_t>(16, 0));
  frame.resize(10);
  Send(fd, frame);
  ExpectServed();
  ExpectServed();
  CloseSocket(fd);
  EXPECT_TRUE(WaitFor([] { return LiveObjectCount() == 0; }));
  EXPECT_TRUE(Events().empty());
}

}  // namespace
}  // namespace qx::test
