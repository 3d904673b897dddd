// The month files that a read of many entries keeps open for the whole call:
// the entry file (for the reloads of Le), the foreign-currency file and the
// complement heap, each opened at its first use as a single read opens it,
// and served from the buffer it holds for as long as the keys stay near one
// another. A read of another month closes them first; all close with the
// object.
#pragma once

#include <cstdint>
#include <string>

#include "storage/qx_arq.h"

namespace qx {

class ArquivosLeitura {
 public:
  explicit ArquivosLeitura(const std::string& pasta) : pasta_(pasta) {}
  ArquivosLeitura(const ArquivosLeitura&) = delete;
  ArquivosLeitura& operator=(const ArquivosLeitura&) = delete;

  // Each gives the month's file in *arq: 0 or the status of its open.
  int Lancamentos(uint16_t mesAno, CQXarq** arq);
  int Moeda(uint16_t mesAno, CQXarq** arq);
  int Complementos(uint16_t mesAno, CQXarq** arq);

 private:
  void Mes(uint16_t mesAno);

  const std::string& pasta_;
  uint16_t mesAno_ = 0;
  CQXarq lancamentos_;
  CQXarq moeda_;
  CQXarq complementos_;
};

}  // namespace qx
