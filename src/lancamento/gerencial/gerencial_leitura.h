// Reading an entry's split lines with their quantities: the line at the
// entry's split position and every following line whose owner word agrees in
// its low 28 bits, up to the first line that cannot be read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "lancamento/lancamento_atual.h"
#include "storage/qx_arq.h"
#include "storage/records/entry_records.h"

namespace qx {

// The lines of the chain that starts at `primeira` (at most `limite`), in
// order; line i sits at position primeira + i. Empty when the first line
// cannot be read.
std::vector<REGLAN_GER> LeLinhasDaCadeia(CQXarq& gerencial, uint32_t primeira, std::size_t limite);

// Loads the chain at `primeira` of the month's CNLG in folder `pasta` into
// lista->linhas and, with `quantidades`, the CNLQ records of the same
// positions into lista->quantidades (a record that cannot be read counts as
// 0); both lists are replaced and *qtd is the number of lines. At most 65535
// lines are taken, as many as a count can name. A failing open is returned;
// otherwise the result of closing the files.
int LeGerencialDoMes(const std::string& pasta, uint16_t mesAno, uint32_t primeira, bool quantidades,
                     GerencialAtual* lista, uint16_t* qtd);

}  // namespace qx
