#pragma once
// Charts as inline SVG, drawn on the server: bars side by side for each
// label (a month's debits and credits), and a line through values in order
// (a statement's running balance). Heights are scaled in whole numbers from
// the exact amounts; an axis on the left gives the amounts the heights stand
// for, and each bar and point carries its own as people read it.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/com_types.h"

namespace qxweb {

struct Serie {
  std::string nome;
  std::string cor;  // "#2a6f97"
  std::vector<CURRENCY> valores;  // one per label
};

std::string GraficoBarras(const std::string& titulo, const std::vector<std::string>& rotulos,
                          const std::vector<Serie>& series);

std::string GraficoLinha(const std::string& titulo, const std::vector<std::string>& rotulos,
                         const std::vector<CURRENCY>& valores);

}  // namespace qxweb
