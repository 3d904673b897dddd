// A sum of amounts (64-bit ten-thousandths) that never wraps around: once it
// passes what an amount holds it stays marked as overflowed, and its value
// means nothing.
#pragma once

#include <cstdint>

#include "values/currency.h"

namespace qx {

class Total {
 public:
  void Soma(CURRENCY valor) { Junta(valor.int64, 1); }
  void Subtrai(CURRENCY valor) { Junta(valor.int64, -1); }
  // Adds or takes another sum, overflowed or not.
  void Soma(const Total& outro) { Junta(outro, 1); }
  void Subtrai(const Total& outro) { Junta(outro, -1); }

  bool Estourou() const { return estourou_; }
  bool Zero() const { return !estourou_ && valor_ == 0; }
  CURRENCY Valor() const { return CURRENCY{valor_}; }

 private:
  void Junta(int64_t valor, int sinal) {
    const bool falhou = sinal > 0 ? __builtin_add_overflow(valor_, valor, &valor_)
                                  : __builtin_sub_overflow(valor_, valor, &valor_);
    estourou_ = estourou_ || falhou;
  }

  void Junta(const Total& outro, int sinal) {
    Junta(outro.valor_, sinal);
    estourou_ = estourou_ || outro.estourou_;
  }

  int64_t valor_ = 0;
  bool estourou_ = false;
};

}  // namespace qx
