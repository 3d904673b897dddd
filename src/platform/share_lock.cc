// Share modes over open-file-description locks.
//
// Every open of a file holds shared locks on four lock bytes far beyond any data (2^62 + k):
// "reads", "writes", "denies read" and "denies write", one for each thing it does or denies.
// An open may proceed when nobody else denies what it does and nobody else does what it denies.
// So after taking its bytes it probes the opposite ones ("reads" <-> "denies read", "writes" <->
// "denies write") for a lock held by another open; a conflict releases its bytes and fails.
// That is the original platform's rule: an open with access A and share S succeeds exactly when,
// for every existing open E, A is allowed by E's share and E's access is allowed by S.
//
// Two openers racing: each takes its bytes before probing, so the later prober sees the other's
// bytes and at least one of them fails. Both may fail; callers retry, as they do for any
// sharing violation.
//
// The locks belong to the open file description: different CFile objects in one process
// conflict like different processes; closing another descriptor of the file keeps them; a
// process that ends, however it ends, releases them. Only shared locks are ever taken, so taking
// one never waits or conflicts; probing asks whether an exclusive lock could be taken.
#include "platform/share_lock.h"

#include <fcntl.h>

#include <cerrno>
#include <cstdint>

#include "platform/file.h"

namespace qx {
namespace {

constexpr off_t kLockBase = off_t{1} << 62;
enum LockByte { kReads, kWrites, kDeniesRead, kDeniesWrite, kLockBytes };

// The byte that conflicts with one an open holds.
int Opposite(int byte) { return byte ^ 2; }

int Lock(int fd, int command, short type, off_t first, off_t count, short* found = nullptr) {
  struct flock lock = {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  lock.l_start = kLockBase + first;
  lock.l_len = count;
  if (fcntl(fd, command, &lock) != 0) return errno;
  if (found) *found = lock.l_type;
  return 0;
}

int Release(int fd) { return Lock(fd, F_OFD_SETLK, F_UNLCK, 0, kLockBytes); }

// Whether an open other than fd's holds a lock on bytes [first, first + count).
int Held(int fd, off_t first, off_t count, bool* held) {
  short found = F_UNLCK;
  int error = Lock(fd, F_OFD_GETLK, F_WRLCK, first, count, &found);
  *held = found != F_UNLCK;
  return error;
}

}  // namespace

ShareMode ShareModeOfFlags(unsigned flags) {
  unsigned access = flags & (CFile::modeWrite | CFile::modeReadWrite);
  unsigned share = flags & 0x70;
  ShareMode mode;
  mode.reads = access != CFile::modeWrite;
  mode.writes = access != CFile::modeRead;
  mode.deniesRead = share != CFile::shareDenyWrite && share != CFile::shareDenyNone;
  mode.deniesWrite = share != CFile::shareDenyRead && share != CFile::shareDenyNone;
  return mode;
}

// Calls `each(first, count)` for every run of consecutive set bytes; stops at
// the first error.
template <class Each>
int ForRuns(const bool (&bytes)[kLockBytes], Each each) {
  for (int first = 0; first < kLockBytes; ++first) {
    if (!bytes[first]) continue;
    int end = first + 1;
    while (end < kLockBytes && bytes[end]) ++end;
    if (int error = each(first, end - first)) return error;
    first = end;
  }
  return 0;
}

int TakeShareLocks(int fd, ShareMode mode) {
  const bool wanted[kLockBytes] = {mode.reads, mode.writes, mode.deniesRead, mode.deniesWrite};
  bool opposite[kLockBytes] = {};
  for (int byte = 0; byte < kLockBytes; ++byte) opposite[Opposite(byte)] = wanted[byte];
  // Consecutive bytes go in one call: a read-write open denying nothing takes
  // one lock and makes one probe.
  int error = ForRuns(wanted, [fd](int first, int count) {
    return Lock(fd, F_OFD_SETLK, F_RDLCK, first, count);
  });
  // A foreign exclusive lock on our bytes is a conflict like any other.
  if (error == EAGAIN || error == EACCES) error = EBUSY;
  if (error == 0) {
    error = ForRuns(opposite, [fd](int first, int count) {
      bool held = false;
      const int probe = Held(fd, first, count, &held);
      return probe != 0 ? probe : held ? EBUSY : 0;
    });
  }
  if (error != 0) Release(fd);
  return error;
}

int FileInUse(int fd, bool* inUse) { return Held(fd, 0, kLockBytes, inUse); }

}  // namespace qx
