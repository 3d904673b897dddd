#include "common/total.h"

#include "common/falhas.h"
#include "values/br_text.h"

namespace qx::cli {

std::string TotalParaPessoas(const Total& total) {
  return total.Estourou() ? "(estouro: passa de " + AmountText(CURRENCY{INT64_MAX}) + ")"
                          : AmountText(total.Valor());
}

void VerificaTotais(std::initializer_list<const Total*> totais) {
  for (const Total* total : totais) VerificaEstouro(total->Estourou());
}

void VerificaEstouro(bool estourou) {
  if (estourou) {
    throw FalhaLocal(
        "uma soma passa do maior valor que um montante guarda e ficou vazia; os outros valores "
        "estão certos",
        "restrinja o período ou as contas pedidas");
  }
}

}  // namespace qx::cli
