// A sum of amounts that never wraps around: once it passes what an amount
// holds (64-bit ten-thousandths) it stays marked as overflowed, and its cell
// is then nothing.
#pragma once

#include "common/celula.h"
#include "platform/com_types.h"

namespace qx::cli {

class Total {
 public:
  void Soma(CURRENCY valor) { Junta(valor.int64, 1); }
  void Subtrai(CURRENCY valor) { Junta(valor.int64, -1); }

  bool Estourou() const { return estourou_; }
  CURRENCY Valor() const { return CURRENCY{valor_}; }
  Celula ParaCelula() const { return estourou_ ? Celula() : Celula(Valor()); }
  // The amount as people read it, or that it overflowed.
  std::string ParaPessoas() const;

 private:
  void Junta(int64_t valor, int sinal);

  int64_t valor_ = 0;
  bool estourou_ = false;
};

}  // namespace qx::cli
