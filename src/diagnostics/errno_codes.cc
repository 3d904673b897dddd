#include "diagnostics/errno_codes.h"

#include <algorithm>
#include <cerrno>
#include <iterator>

namespace qx {
namespace {

constexpr int kRuntimeErrnos[] = {
    1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 16, 17, 18, 19, 20,        21,
    22, 23, 24, 25, 27, 28, 29, 30, 31, 32, 33, 34, 36, 38, 39, 40, 41, 42, STRUNCATE,
};

// The numbers below ERANGE are the same on this platform as in the runtime.
static_assert(EPERM == 1 && EAGAIN == 11 && EFAULT == 14 && EBUSY == 16 && ENOTTY == 25 &&
              EFBIG == 27 && ERANGE == 34);

}  // namespace

HRESULT HresultFromRuntimeErrno(int runtimeErrno) {
  const auto* found = std::find(std::begin(kRuntimeErrnos), std::end(kRuntimeErrnos), runtimeErrno);
  if (found == std::end(kRuntimeErrnos)) return kHrErrnoDesconhecido;
  return kHrPrimeiroErrno + static_cast<HRESULT>(found - std::begin(kRuntimeErrnos));
}

int RuntimeErrnoFromPlatform(int platformErrno) {
  // EPERM to ERANGE share their numbers; of the rest the runtime knows six.
  switch (platformErrno) {
    case EDEADLK:
      return 36;
    case ENAMETOOLONG:
      return 38;
    case ENOLCK:
      return 39;
    case ENOSYS:
      return 40;
    case ENOTEMPTY:
      return 41;
    case EILSEQ:
      return 42;
    default:
      return platformErrno >= EPERM && platformErrno <= ERANGE ? platformErrno : 0;
  }
}

HRESULT HresultFromCurrentErrno() {
  return HresultFromRuntimeErrno(RuntimeErrnoFromPlatform(errno));
}

}  // namespace qx
