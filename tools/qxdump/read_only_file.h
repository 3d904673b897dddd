// A file opened for reading only, sharing everything (the record layer's mode
// 'L'), so that a live company folder can be read while its server writes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/file.h"

namespace qx::dump {

class ReadOnlyFile {
 public:
  // False with a message when the file cannot be opened.
  bool Open(const std::string& path, std::string* error);
  // The length when the file was opened; nothing beyond it is read.
  uint64_t Length() const { return length_; }
  // Up to count bytes at offset into out (fewer at the end or when the file
  // shrank). False with a message when the read fails.
  bool ReadAt(uint64_t offset, uint32_t count, std::vector<unsigned char>* out, std::string* error);

 private:
  CFile file_;
  uint64_t length_ = 0;
  // A window of the file kept from the last read, so that a scan record by
  // record reads the disk once per window.
  uint64_t windowStart_ = 0;
  std::vector<unsigned char> window_;
};

// The text of a failure cause of the file layer.
std::string CauseText(int cause);

}  // namespace qx::dump
