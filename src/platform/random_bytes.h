// Bytes from the system's cryptographic random source.
#pragma once

#include <cstddef>

namespace qx {

// Fills `out` with `size` random bytes; false (and `out` zeroed) when the source fails.
bool RandomBytes(void* out, size_t size);

}  // namespace qx
