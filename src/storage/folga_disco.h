// The room an operation needs on the disk of the files it writes: its
// records, its intent and the pages of the change log. Below it, on a disk
// that is full or nearly so, writing is refused with ARQ_DISCO_CHEIO before
// anything is written, rather than fitting one file's record into the slack
// of a block and failing on the next file. Saves also leave a reserve free,
// which removals may use: what a full disk let in can always be taken out.
#pragma once

#include <cstdint>
#include <string>

#include "platform/disk_space.h"

namespace qx {

inline constexpr uint64_t kFolgaGravacao = 256 * 1024;

// Whether the disk that holds `caminho` has room for `bytes` (and the
// reserve, when asked).
inline bool CabeNoDisco(const std::string& caminho, uint64_t bytes, bool reserva) {
  const uint64_t livres = FreeBytes(caminho);
  return livres >= bytes && livres - bytes >= (reserva ? kFolgaGravacao : 0);
}

}  // namespace qx
