#include "platform/random_bytes.h"

#include <sys/random.h>

#include <cerrno>
#include <cstring>

namespace qx {

bool RandomBytes(void* out, size_t size) {
  auto* bytes = static_cast<unsigned char*>(out);
  size_t got = 0;
  while (got < size) {
    const ssize_t n = getrandom(bytes + got, size - got, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      std::memset(out, 0, size);
      return false;
    }
    got += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace qx
