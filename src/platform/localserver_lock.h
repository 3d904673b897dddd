// The lock file that makes one process at a time the server of a class. The lock belongs to
// the open file, so a server that dies releases it, and a second open in the same process
// conflicts too. The file itself is never removed: removing it would let two servers lock
// two different files of the same name.
#pragma once

#include <string>

namespace qx {

class ClassLock {
 public:
  ClassLock() = default;
  ClassLock(const ClassLock&) = delete;
  ClassLock& operator=(const ClassLock&) = delete;
  ~ClassLock();

  // False when another holder has it (then *busy, when given, is set) or the file cannot be
  // opened.
  bool Acquire(const std::string& path, bool* busy = nullptr);
  // Whether a server holds the lock at path now. The look takes a shared lock for an instant,
  // which may make a server that acquires at that instant see it busy.
  static bool IsHeld(const std::string& path);

 private:
  int fd_ = -1;
};

}  // namespace qx
