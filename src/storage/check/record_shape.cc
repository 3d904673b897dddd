#include "storage/check/record_shape.h"

#include <algorithm>
#include <string>

namespace qx::check {

uint64_t CheckRecordShape(const LoadedFile& file, uint32_t recordSize, Findings* findings) {
  const uint64_t length = file.Length();
  const std::string size = std::to_string(recordSize);
  if (length == 0) {
    findings->Add("empty-file", file.name, "0 bytes: sem o registro zero de " + size + " bytes");
    return 0;
  }
  if (length < recordSize) {
    findings->Add("short-file", file.name,
                  std::to_string(length) + " bytes, menos que o seu registro zero de " + size);
    return 0;
  }
  const uint64_t records = file.Records(recordSize);
  if (length % recordSize != 0) {
    findings->At("partial-tail", file.name, Unit::kRecord, records + 1,
                 std::to_string(length % recordSize) + " de " + size + " bytes");
  }
  if (!AllZero(file, 0, recordSize)) {
    findings->At("zero-record", file.name, Unit::kRecord, 0, "o registro zero não é todo zero");
  }
  return records;
}

bool AllZero(const LoadedFile& file, uint64_t offset, uint64_t size) {
  const auto begin = file.bytes.begin() + static_cast<std::ptrdiff_t>(offset);
  return std::all_of(begin, begin + static_cast<std::ptrdiff_t>(size),
                     [](char c) { return c == '\0'; });
}

}  // namespace qx::check
