#pragma once
// How an import saves the lines it has read. Through the service's batch
// interface, a page of lines per call, each page saved all or nothing under
// one mark; or, when asked (or with a server without the batch interface),
// line by line through the published interface with no call the service
// does not need: GravaDados for the entry, and the complement text, split
// lines and quantities only where they differ from what the line before
// left in the service object.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "reports/importacao/linha.h"
#include "reports/sessao.h"

namespace qx {

// Lines per call of the batch interface: a page of entries with two split
// lines and a complement each is about 400 KB, far under the frame limit,
// and holds the service's mark for some tens of milliseconds.
inline constexpr size_t kLinhasPorChamada = 2048;

struct Gravacao {
  // Whether to go on, asked between calls.
  std::function<bool()> continua;
  // Line i was saved at position `indlan` of the month of its date.
  std::function<void(size_t i, int32_t indlan)> gravada;
  // Line i was refused with `hr` (SIZE_MAX as i: a page was, as a whole,
  // and the saving ends); the answer says whether to go on.
  std::function<bool(size_t i, HRESULT hr)> recusada;
};

// Saves the lines in order (their origin key set), one page or one line per
// call; a page refused for one of its lines goes again without it when the
// import goes on.
void GravaLinhas(SessaoLancamento& servico, bool porLote,
                 const std::vector<const LinhaImportada*>& linhas, const Gravacao& gravacao);

}  // namespace qx
