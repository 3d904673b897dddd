// A record file written from scratch for the sample folder: created (or
// emptied), then filled by appending.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file.h"

namespace qx::sample {

class SampleFile {
 public:
  // Creates folder + name for writing; throws CFileException* on failure.
  // Every name made is added to *made, for the control file.
  SampleFile(const std::string& folder, const std::string& name, std::vector<std::string>* made);

  template <typename Record>
  uint32_t Append(const Record& record) {
    return static_cast<uint32_t>(AppendBytes(&record, sizeof record) / sizeof record);
  }
  // Returns the byte offset the bytes were written at.
  uint64_t AppendBytes(const void* bytes, uint32_t size);
  uint64_t AppendText(std::string_view text) {
    return AppendBytes(text.data(), static_cast<uint32_t>(text.size()));
  }
  // A zero record of size bytes.
  void AppendZeros(uint32_t size);

 private:
  CFile file_;
  uint64_t length_ = 0;
};

// Copies text into a fixed character field, NUL-padded and cut to its size.
template <size_t N>
void SetField(char (&field)[N], std::string_view text) {
  std::memset(field, 0, N);
  std::memcpy(field, text.data(), text.size() < N ? text.size() : N);
}

}  // namespace qx::sample
