// The local-server wire: the input is a stream of request frames as a client
// would send them. Each frame is cut as the server's connection cuts it, its
// header decoded and encoded again, and its payload read with a sequence of
// reads that the header's flags choose (a number, a BSTR, an array, a GUID).
#include "platform/wire_frame.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/wire_frame_marshal.h"

namespace {

void ReadPayload(const uint8_t* payload, size_t size, uint16_t program) {
  qx::WireReader in(payload, size);
  for (int step = 0; step < 8 && in.ok(); ++step, program >>= 2) {
    switch (program & 3) {
      case 0: {
        uint32_t number = 0;
        in.U32(&number);
        break;
      }
      case 1: {
        BSTR text = nullptr;
        if (in.Bstr(&text)) {
          // The text is complete and terminated: touch its last character.
          const uint32_t length = SysStringLen(text);
          if (text[length] != u'\0') __builtin_trap();
        }
        SysFreeString(text);
        break;
      }
      case 2: {
        std::vector<int32_t> elements;
        in.Array(&elements);
        break;
      }
      case 3: {
        GUID guid;
        in.Value(&guid);
        break;
      }
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size >= sizeof(qx::WireReplyHeader)) qx::DecodeReplyHeader(data);
  size_t at = 0;
  while (size - at >= sizeof(uint32_t)) {
    uint32_t length = 0;
    qx::WireReader(data + at, sizeof length).U32(&length);
    if (length < sizeof(qx::WireRequestHeader) || length > qx::kMaxFrameLength) break;
    if (length > size - at) break;  // the connection would wait for the rest
    const uint8_t* frame = data + at;
    const qx::WireRequestHeader header = qx::DecodeRequestHeader(frame);
    const std::vector<uint8_t> payload(frame + sizeof header, frame + length);
    // Encoding the decoded frame gives its bytes back (the reserved flags go as 0).
    const std::vector<uint8_t> again =
        qx::EncodeRequest(header.callId, header.objectId, header.slot, payload);
    if (again.size() != length || std::memcmp(again.data(), frame, 14) != 0 ||
        std::memcmp(again.data() + 16, frame + 16, length - 16) != 0) {
      __builtin_trap();
    }
    ReadPayload(payload.data(), payload.size(), header.flags);
    at += length;
  }
  return 0;
}
