#pragma once

// The share modes of the original platform, emulated with locks (see share_lock.cc).
namespace qx {

// What one open does and what it keeps others from doing.
struct ShareMode {
  bool reads;
  bool writes;
  bool deniesRead;
  bool deniesWrite;
};

// The share mode of CFile open flags.
ShareMode ShareModeOfFlags(unsigned flags);

// Registers an open of the file on descriptor fd (opened for reading) and checks it against
// every other open of the file. Returns 0 when the open may proceed, EBUSY when it conflicts
// with another open (nothing stays registered), or the errno of a failed lock call.
int TakeShareLocks(int fd, ShareMode mode);

// Whether an open other than fd's is registered on the file. Returns 0 or the errno of a failed
// lock call.
int FileInUse(int fd, bool* inUse);

}  // namespace qx
