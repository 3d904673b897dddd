// The room a save or removal needs on the disk of the files it writes: its
// records and the pages of the change log. Below it, on a disk that is full
// or nearly so, writing is refused with ARQ_DISCO_CHEIO before anything is
// written, rather than fitting one file's record into the slack of a block
// and failing on the next file.
#pragma once

#include <cstdint>
#include <string>

#include "platform/disk_space.h"

namespace qx {

inline constexpr uint64_t kFolgaGravacao = 64 * 1024;

// Whether the disk that holds `caminho` has less room than a save needs.
inline bool SemFolgaParaGravar(const std::string& caminho) {
  return FreeBytes(caminho) < kFolgaGravacao;
}

}  // namespace qx
