// Frames of the local-server wire. Every integer is little-endian.
//   request: {u32 length, u32 call id, u32 object id, u16 slot, u16 flags, payload}
//   reply:   {u32 length, u32 call id, i32 HRESULT, payload}
// `length` counts the whole frame, its own four bytes and the header included, so an empty
// payload gives 16 (request) or 12 (reply). A frame longer than kMaxFrameLength or shorter
// than its header is malformed and ends the connection that sent it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/com_types.h"

namespace qx {

#pragma pack(push, 1)
struct WireRequestHeader {
  uint32_t length;
  uint32_t callId;
  uint32_t objectId;
  uint16_t slot;
  uint16_t flags;  // reserved: sent as 0, ignored
};
struct WireReplyHeader {
  uint32_t length;
  uint32_t callId;
  int32_t result;
};
#pragma pack(pop)
static_assert(sizeof(WireRequestHeader) == 16);
static_assert(offsetof(WireRequestHeader, length) == 0);
static_assert(offsetof(WireRequestHeader, callId) == 4);
static_assert(offsetof(WireRequestHeader, objectId) == 8);
static_assert(offsetof(WireRequestHeader, slot) == 12);
static_assert(offsetof(WireRequestHeader, flags) == 14);
static_assert(sizeof(WireReplyHeader) == 12);
static_assert(offsetof(WireReplyHeader, length) == 0);
static_assert(offsetof(WireReplyHeader, callId) == 4);
static_assert(offsetof(WireReplyHeader, result) == 8);

inline constexpr uint32_t kMaxFrameLength = 16u * 1024 * 1024;

// Object 0 of a connection is the class factory of the connection's class.
inline constexpr uint32_t kClassFactoryObject = 0;
// The slots of IUnknown and IClassFactory that travel on the wire.
inline constexpr uint16_t kSlotQueryInterface = 0;  // payload IID; reply u32 new object id
inline constexpr uint16_t kSlotAddRef = 1;          // never sent: proxies count locally
inline constexpr uint16_t kSlotRelease = 2;         // no payload, no reply payload
inline constexpr uint16_t kSlotCreateInstance = 3;  // object 0; payload IID; reply u32 object id
inline constexpr uint16_t kSlotLockServer = 4;      // object 0; payload i32 lock; no reply payload

// A complete frame: header fields in wire order, then the payload.
std::vector<uint8_t> EncodeRequest(uint32_t callId, uint32_t objectId, uint16_t slot,
                                   const std::vector<uint8_t>& payload);
std::vector<uint8_t> EncodeReply(uint32_t callId, HRESULT result,
                                 const std::vector<uint8_t>& payload);

// The header of a frame whose first bytes are at `bytes` (at least the header's size).
WireRequestHeader DecodeRequestHeader(const uint8_t* bytes);
WireReplyHeader DecodeReplyHeader(const uint8_t* bytes);

}  // namespace qx
