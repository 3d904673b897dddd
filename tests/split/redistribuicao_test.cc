// The arithmetic of a redistribution: parts of an amount and the work area
// of a new chain (the chains themselves are in faz_red_test.cc).
#include "lancamento/gerencial/redistribuicao.h"

#include <gtest/gtest.h>

#include <vector>

#include "split_fixture.h"

namespace qx {
namespace {

std::vector<int64_t> Partes(int64_t valor, const std::vector<REG_REDISTR_GERENCIAL>& contas) {
  std::vector<int64_t> partes;
  for (CURRENCY parte : PartesDoValor(CURRENCY{valor}, contas)) partes.push_back(parte.int64);
  return partes;
}

TEST(PartesDoValor, CutToCentsWithTheRemainderOnTheLastAccount) {
  const std::vector<REG_REDISTR_GERENCIAL> tercos = {Alvo(2, 333333), Alvo(3, 333333),
                                                     Alvo(4, 333333)};
  EXPECT_EQ(Partes(1000000, tercos), (std::vector<int64_t>{333300, 333300, 333400}));
  EXPECT_EQ(Partes(-1000000, tercos), (std::vector<int64_t>{-333300, -333300, -333400}));
  EXPECT_EQ(Partes(100000, {Alvo(2, 500000), Alvo(3, 0)}), (std::vector<int64_t>{50000, 50000}));
  EXPECT_EQ(Partes(100000, {Alvo(2, 0), Alvo(3, 1000000)}), (std::vector<int64_t>{0, 100000}));
  // A single account takes the whole amount, whatever its percentage; an
  // amount below a cent goes to the last one too.
  EXPECT_EQ(Partes(123456, {Alvo(2, 100)}), (std::vector<int64_t>{123456}));
  EXPECT_EQ(Partes(123456, {Alvo(2, 500000), Alvo(3, 500000)}),
            (std::vector<int64_t>{61700, 61756}));
  // A product that money cannot hold is 0, and the parts still add up.
  EXPECT_EQ(Partes(INT64_MAX / 2, {Alvo(2, INT64_MAX), Alvo(3, 0)}),
            (std::vector<int64_t>{0, INT64_MAX / 2}));
}

TEST(RedistribuiCadeia, WorkAreaNeverExceeded) {
  const auto conta2 = [](const REGLAN_GER& linha) { return linha.ContaGerencial == 2; };
  const std::vector<REG_REDISTR_GERENCIAL> metades = {Alvo(8, 500000), Alvo(9, 500000)};
  std::vector<REGLAN_GER> antiga(kLinhasAreaRedistribuicao - 2, Line(1, 3, 4, 100));
  antiga.push_back(Line(1, 2, 4, 100000));
  std::vector<REGLAN_GER> nova;
  ASSERT_EQ(RedistribuiCadeia(antiga, conta2, metades, &nova), ResultadoCadeia::kRedistribuida);
  EXPECT_EQ(nova.size(), kLinhasAreaRedistribuicao);

  antiga.push_back(Line(1, 3, 4, 100));
  EXPECT_EQ(RedistribuiCadeia(antiga, conta2, metades, &nova), ResultadoCadeia::kAreaCheia);
  EXPECT_LE(nova.size(), kLinhasAreaRedistribuicao);

  // A long chain with nothing to redistribute is no overflow.
  std::vector<REGLAN_GER> longa(kLinhasAreaRedistribuicao + 10, Line(1, 3, 4, 100));
  EXPECT_EQ(RedistribuiCadeia(longa, conta2, metades, &nova), ResultadoCadeia::kSemMudanca);
}

}  // namespace
}  // namespace qx
