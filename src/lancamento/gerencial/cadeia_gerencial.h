// The chain of an entry's managerial split lines in the month's CNLG: the
// line at the entry's first position and every following line whose owner
// word agrees in its low 28 bits.
#pragma once

#include <cstdint>
#include <vector>

#include "storage/qx_arq.h"

namespace qx {

// The positions of the chain that starts at `primeira`. A failing read of the
// first line, or of a later one before the end of the file, is returned.
int LeCadeiaGerencial(CQXarq& gerencial, uint32_t primeira, std::vector<uint32_t>* posicoes);

// Overwrites the lines at `posicoes` with zero records; the first failing
// write is returned.
int ZeraLinhasGerenciais(CQXarq& gerencial, const std::vector<uint32_t>& posicoes);

}  // namespace qx
