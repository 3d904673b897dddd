// Copying a text into a fixed character field of a record.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string_view>

namespace qx {

// The text cut to the field's size less one, then a terminating zero; the
// bytes after it are left as they are.
template <size_t N>
void CopyToField(char (&field)[N], std::string_view text) {
  const size_t length = std::min(text.size(), N - 1);
  std::memcpy(field, text.data(), length);
  field[length] = '\0';
}

}  // namespace qx
