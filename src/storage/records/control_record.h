// Records of "QXCTLARQ.DAT", the list of files a folder's record layer has
// created.
//
// One per folder, a record file with 32-byte records. Record 0 is 32 zero
// bytes. Every later record holds the name (without folder) of a file once
// made there by controlled creation: upper-cased, cut to 30 characters,
// NUL-terminated and NUL-padded. Records are only appended, so a file that
// was created once and has vanished since is found here and not silently made
// again.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qx {

#pragma pack(push, 1)

struct ControlRecord {
  char cNomeArquivo[32];
};

#pragma pack(pop)

static_assert(sizeof(ControlRecord) == 32);
static_assert(offsetof(ControlRecord, cNomeArquivo) == 0);

inline constexpr char kControlFileName[] = "QXCTLARQ.DAT";
inline constexpr uint32_t kControlRecordSize = sizeof(ControlRecord);
inline constexpr std::size_t kControlNameMaxLength = 30;

}  // namespace qx
