// Reading complement texts from a month's complement heap, opened once for
// as many texts as a read takes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "storage/qx_arq.h"
#include "values/qx_mes_ano.h"

namespace qx {

// Opens the heap of `mes` for reading texts. The heap is read as it is: a
// missing one is not made here, where it would get a header of the read's
// size. 0 or the open's status.
int AbreComplementos(const std::string& pasta, CQXMesAno mes, CQXarq* heap);

// Reads the text at byte `posicao` of the open heap into texto (512 bytes,
// zero-terminated): up to and including the first carriage return, up to a
// zero byte, or 499 bytes. A position of 0 gives an empty text; one at or
// past the end of the heap ARQ_FIM_DE_ARQUIVO. Texts that lie in what the
// heap's buffer holds are served from it.
int LeTextoComplemento(CQXarq& heap, uint32_t posicao, char* texto);
// The same text seen in the heap's read buffer, without a copy: valid until
// the next read of the heap.
int VeTextoComplemento(CQXarq& heap, uint32_t posicao, std::string_view* texto);

}  // namespace qx
