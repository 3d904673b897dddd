// Payload marshalling of the local-server wire: numbers as their little-endian bytes, records
// as their exact bytes, BSTR as a u32 byte count then UTF-16LE, sized arrays as a u32 element
// count then the elements. The reader checks every length against what is left: a payload
// too short, a count beyond the end or a text of an odd byte count makes it fail (and stay
// failed) instead of reading past the end.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>
#include <vector>

#include "platform/bstr.h"
#include "platform/com_types.h"
#include "platform/guid.h"

static_assert(std::endian::native == std::endian::little, "the wire is little-endian");

// What a stub returns for a payload it cannot read; the runtime then ends the connection.
inline constexpr HRESULT RPC_X_BAD_STUB_DATA = static_cast<HRESULT>(0x800706F7u);

namespace qx {

class WireWriter {
 public:
  template <class T>
  void Value(const T& value) {
    static_assert(std::is_trivially_copyable_v<T>);
    Bytes(&value, sizeof(T));
  }
  void U16(uint16_t value) { Value(value); }
  void U32(uint32_t value) { Value(value); }
  void I32(int32_t value) { Value(value); }
  void Bytes(const void* bytes, size_t size);
  // u32 byte count, then the UTF-16LE characters; a null BSTR goes as the empty text.
  void Bstr(BSTR text);
  // u32 element count, then the elements' bytes.
  template <class T>
  void Array(const T* elements, uint32_t count) {
    static_assert(std::is_trivially_copyable_v<T>);
    U32(count);
    Bytes(elements, sizeof(T) * count);
  }

  const std::vector<uint8_t>& bytes() const { return bytes_; }
  std::vector<uint8_t> Take() { return std::move(bytes_); }

 private:
  std::vector<uint8_t> bytes_;
};

class WireReader {
 public:
  WireReader(const uint8_t* bytes, size_t size) : next_(bytes), left_(size) {}
  explicit WireReader(const std::vector<uint8_t>& bytes) : WireReader(bytes.data(), bytes.size()) {}

  // Each read gives false, leaves *value untouched and fails the reader when the payload is
  // too short (or the reader failed before).
  template <class T>
  bool Value(T* value) {
    static_assert(std::is_trivially_copyable_v<T>);
    return Bytes(value, sizeof(T));
  }
  bool U16(uint16_t* value) { return Value(value); }
  bool U32(uint32_t* value) { return Value(value); }
  bool I32(int32_t* value) { return Value(value); }
  bool Bytes(void* bytes, size_t size);
  // A new BSTR that the caller frees (an empty text gives a valid empty BSTR).
  bool Bstr(BSTR* text);
  // The count then the elements; the elements are appended to *elements.
  template <class T>
  bool Array(std::vector<T>* elements) {
    static_assert(std::is_trivially_copyable_v<T>);
    uint32_t count = 0;
    if (!U32(&count) || count > left_ / sizeof(T)) return Fail();
    // Element by element: growing the vector by a count read from the wire
    // trips GCC 12's -Wstringop-overflow at -O3 even though the count is bounded.
    elements->reserve(elements->size() + count);
    for (uint32_t i = 0; i < count; ++i) {
      T element;
      Value(&element);
      elements->push_back(element);
    }
    return ok_;
  }

  // True while every read so far succeeded.
  bool ok() const { return ok_; }
  // True when every read succeeded and nothing is left over.
  bool Finished() const { return ok_ && left_ == 0; }
  size_t left() const { return left_; }

 private:
  bool Fail() {
    ok_ = false;
    return false;
  }

  const uint8_t* next_;
  size_t left_;
  bool ok_ = true;
};

}  // namespace qx
