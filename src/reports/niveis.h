#pragma once
// The levels of a chart's classifications ("1.1.01.001": four levels, parted
// by the level separator). A total account sums the accounts at or below its
// own level: those of its classification, and those whose classification is
// its own followed by the separator. So "1.1" sums "1.1.01.001" and not
// "1.10.01.001", which "1.10" sums.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qx {

inline constexpr char kSeparadorNivel = '.';

// Whether `classificacao` is `raiz` or lies below it.
bool NoNivelOuAbaixo(std::string_view classificacao, std::string_view raiz);

// A level whose part is wider or narrower than the chart's others at that
// level (the width most of them use), as "1.10" in a chart of "1.1", "1.2".
struct LarguraDiferente {
  size_t nivel = 0;     // from 1
  size_t largura = 0;   // of the part of the classification looked at
  size_t doPlano = 0;   // the chart's at that level
  std::string exemplo;  // a classification of the chart with that width there
};

// Looks at `classificacao` against the chart's `classificacoes`; nullopt when
// every level has the chart's width (or the chart has none at that level).
std::optional<LarguraDiferente> ConfereLarguras(const std::vector<std::string>& classificacoes,
                                                std::string_view classificacao);

}  // namespace qx
