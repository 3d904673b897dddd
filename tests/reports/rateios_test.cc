// The split of each entry as a report resolves it from a month's pages: the
// chain from the entry's first line while the owner word stays its own.
#include <gtest/gtest.h>

#include "reports/leitura_mes.h"

namespace qx {
namespace {

LancamentoDoMes Lancamento(int32_t posicao, int32_t gerencial, uint8_t status = 0) {
  LancamentoDoMes l;
  l.posicao = posicao;
  l.status = status;
  l.dados.Gerencial = gerencial;
  return l;
}

LinhaGerencialDoMes Linha(int32_t posicao, uint32_t dono) {
  LinhaGerencialDoMes l;
  l.posicao = posicao;
  l.linha.Indlan = static_cast<int32_t>(dono);
  return l;
}

TEST(RateiosDoMes, ChainsEndAtAnotherOwnerAZeroLineOrTheEnd) {
  // Lines: 1-2 of entry 1, a removed line, 4 of entry 3 (with the client's
  // high bits), 5-6 of entry 5.
  const std::vector<LinhaGerencialDoMes> linhas = {
      Linha(1, 1), Linha(2, 1), Linha(3, 0), Linha(4, 0x30000003), Linha(5, 5), Linha(6, 5)};
  const std::vector<LancamentoDoMes> lancamentos = {
      Lancamento(1, 1), Lancamento(2, 0), Lancamento(3, 4), Lancamento(4, 3, 1),
      Lancamento(5, 5), Lancamento(6, 9)};
  std::map<int32_t, std::vector<int32_t>> posicoes;
  for (const auto& [lancamento, cadeia] : RateiosDoMes(lancamentos, linhas)) {
    for (const LinhaGerencialDoMes& l : cadeia) posicoes[lancamento].push_back(l.posicao);
  }
  // Entry 4 is deleted and entry 6 names a line past the end: no split.
  EXPECT_EQ(posicoes, (std::map<int32_t, std::vector<int32_t>>{
                          {1, {1, 2}}, {3, {4}}, {5, {5, 6}}}));
}

}  // namespace
}  // namespace qx
