#include "common/total.h"

#include "values/br_text.h"

namespace qx::cli {

void Total::Junta(int64_t valor, int sinal) {
  const bool falhou = sinal > 0 ? __builtin_add_overflow(valor_, valor, &valor_)
                                : __builtin_sub_overflow(valor_, valor, &valor_);
  estourou_ = estourou_ || falhou;
}

std::string Total::ParaPessoas() const {
  return estourou_ ? "(estouro: passa de " + AmountText(CURRENCY{INT64_MAX}) + ")"
                   : AmountText(Valor());
}

}  // namespace qx::cli
