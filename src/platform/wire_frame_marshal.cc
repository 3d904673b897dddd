#include "platform/wire_frame_marshal.h"

namespace qx {

void WireWriter::Bytes(const void* bytes, size_t size) {
  if (size == 0) return;
  const auto* first = static_cast<const uint8_t*>(bytes);
  bytes_.insert(bytes_.end(), first, first + size);
}

void WireWriter::Bstr(BSTR text) {
  uint32_t size = SysStringByteLen(text);
  U32(size);
  Bytes(text, size);
}

bool WireReader::Bytes(void* bytes, size_t size) {
  if (!ok_ || size > left_) return Fail();
  if (size != 0) std::memcpy(bytes, next_, size);
  next_ += size;
  left_ -= size;
  return true;
}

bool WireReader::Bstr(BSTR* text) {
  uint32_t size = 0;
  if (!U32(&size) || size > left_ || size % 2 != 0) return Fail();
  BSTR copy = SysAllocStringLen(nullptr, size / 2);
  if (copy == nullptr) return Fail();
  Bytes(copy, size);
  *text = copy;
  return true;
}

}  // namespace qx
