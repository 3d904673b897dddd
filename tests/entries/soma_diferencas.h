// The sum of every difference total of the company, read through the
// business object's difference queries.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "lancamento/lancamento_base.h"

namespace qx {

inline int64_t SomaDiferencas(CLancamentoBase& objeto) {
  int32_t quantidade = 0;
  EXPECT_EQ(objeto.GetQuantidadeDiferenca(&quantidade), S_OK);
  std::vector<Reg_Dif> lista(static_cast<size_t>(quantidade) + 1);
  EXPECT_EQ(objeto.GetDiferenca(quantidade, lista.data()), S_OK);
  int64_t soma = 0;
  for (int32_t i = 0; i < quantidade; ++i) soma += lista[i].Valor.int64;
  return soma;
}

}  // namespace qx
