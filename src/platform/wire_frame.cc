#include "platform/wire_frame.h"

#include "platform/wire_frame_marshal.h"

namespace qx {

std::vector<uint8_t> EncodeRequest(uint32_t callId, uint32_t objectId, uint16_t slot,
                                   const std::vector<uint8_t>& payload) {
  WireWriter out;
  out.U32(static_cast<uint32_t>(sizeof(WireRequestHeader) + payload.size()));
  out.U32(callId);
  out.U32(objectId);
  out.U16(slot);
  out.U16(0);
  out.Bytes(payload.data(), payload.size());
  return out.Take();
}

std::vector<uint8_t> EncodeReply(uint32_t callId, HRESULT result,
                                 const std::vector<uint8_t>& payload) {
  WireWriter out;
  out.U32(static_cast<uint32_t>(sizeof(WireReplyHeader) + payload.size()));
  out.U32(callId);
  out.I32(result);
  out.Bytes(payload.data(), payload.size());
  return out.Take();
}

WireRequestHeader DecodeRequestHeader(const uint8_t* bytes) {
  WireReader in(bytes, sizeof(WireRequestHeader));
  WireRequestHeader header{};
  in.U32(&header.length);
  in.U32(&header.callId);
  in.U32(&header.objectId);
  in.U16(&header.slot);
  in.U16(&header.flags);
  return header;
}

WireReplyHeader DecodeReplyHeader(const uint8_t* bytes) {
  WireReader in(bytes, sizeof(WireReplyHeader));
  WireReplyHeader header{};
  in.U32(&header.length);
  in.U32(&header.callId);
  in.I32(&header.result);
  return header;
}

}  // namespace qx
