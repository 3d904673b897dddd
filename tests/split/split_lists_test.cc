// The split and quantity lists of the current entry: hand in, take out,
// clear, and the split mark of a loaded entry.
#include <cstring>
#include <stdexcept>
#include <tuple>

#include "platform/invalid_parameter.h"
#include "split_fixture.h"

namespace qx {
namespace {

constexpr HRESULT kHrEinval = static_cast<HRESULT>(0x8004EAF0u);

RegLan_Ger Client(int64_t valor, int32_t indlan, int32_t gerencial, int32_t contabil) {
  RegLan_Ger registro;
  std::memset(&registro, 0x5A, sizeof(registro));  // the filler must not travel
  registro.Valor.int64 = valor;
  registro.Indlan = indlan;
  registro.ContaGerencial = gerencial;
  registro.ContaContabil = contabil;
  return registro;
}

void Throwing(const char16_t*, const char16_t*, const char16_t*, unsigned, uintptr_t) {
  throw static_cast<long>(kHrEinval);
}

class SplitLists : public SplitTest {
 protected:
  void SetUp() override { Inicializa(); }

  void SetThree() {
    RegLan_Ger linhas[3] = {Client(10000, 7, 2, 4), Client(20000, 0, 3, 5),
                            Client(-30000, 1 << 28, 4, 6)};
    ASSERT_EQ(objeto_.SetLancamentoGerencial(3, linhas), S_OK);
    RegQtd_Ger quantidades[2] = {{{15000}}, {{25000}}};
    ASSERT_EQ(objeto_.SetQuantidadeGerencial(2, quantidades), S_OK);
  }
};

TEST_F(SplitLists, LinesAndQuantitiesComeBackOnceWithZeroFiller) {
  SetThree();
  RegLan_Ger saida[4];
  std::memset(saida, 0x77, sizeof(saida));
  ASSERT_EQ(objeto_.GetLancamentoGerencial(3, saida), S_OK);
  EXPECT_EQ(std::tuple(saida[0].Valor.int64, saida[0].Indlan, saida[1].ContaGerencial,
                       saida[2].Valor.int64, saida[2].Indlan, saida[2].ContaContabil),
            std::tuple(10000, 7, 3, -30000, 1 << 28, 6));
  for (int i = 0; i < 3; ++i) {
    for (uint8_t byte : saida[i].cFiller) EXPECT_EQ(byte, 0);
  }
  EXPECT_EQ(saida[3].Indlan, 0x77777777);  // nothing past the count is written

  RegQtd_Ger quantidades[2] = {};
  ASSERT_EQ(objeto_.GetQuantidadeGerencial(2, quantidades), S_OK);
  EXPECT_EQ(std::tuple(quantidades[0].Quantidade.int64, quantidades[1].Quantidade.int64),
            std::tuple(15000, 25000));

  // Taking out empties each list: nothing is left for a second copy.
  EXPECT_EQ(objeto_.GetLancamentoGerencial(1, saida), kHrEinval);
  EXPECT_EQ(objeto_.GetQuantidadeGerencial(1, quantidades), kHrEinval);
}

TEST_F(SplitLists, CopyOutBoundedByTheCountAndRefusedBeyondTheList) {
  SetThree();
  // Zero lines: nothing copied, the list emptied.
  RegLan_Ger saida[3];
  std::memset(saida, 0x77, sizeof(saida));
  ASSERT_EQ(objeto_.GetLancamentoGerencial(0, saida), S_OK);
  EXPECT_EQ(saida[0].Indlan, 0x77777777);
  EXPECT_EQ(objeto_.GetLancamentoGerencial(1, saida), kHrEinval);

  // Fewer than the list holds: only those are written, the whole list goes.
  SetThree();
  ASSERT_EQ(objeto_.GetLancamentoGerencial(1, saida), S_OK);
  EXPECT_EQ(saida[0].Valor.int64, 10000);
  EXPECT_EQ(saida[1].Indlan, 0x77777777);
  EXPECT_EQ(objeto_.GetLancamentoGerencial(1, saida), kHrEinval);

  // More than the list holds goes to the invalid-parameter handler and keeps
  // the list; without a handler the code of EINVAL comes back.
  SetThree();
  const _invalid_parameter_handler anterior = _set_thread_local_invalid_parameter_handler(Throwing);
  EXPECT_THROW(objeto_.GetLancamentoGerencial(4, saida), long);
  RegQtd_Ger quantidades[3];
  EXPECT_THROW(objeto_.GetQuantidadeGerencial(3, quantidades), long);
  _set_thread_local_invalid_parameter_handler(anterior);
  EXPECT_EQ(objeto_.GetLancamentoGerencial(4, saida), kHrEinval);
  EXPECT_EQ(objeto_.GetLancamentoGerencial(3, saida), S_OK);
  EXPECT_EQ(objeto_.GetQuantidadeGerencial(2, quantidades), S_OK);

  // A missing buffer for a non-zero count, in or out, changes nothing.
  SetThree();
  EXPECT_EQ(objeto_.GetLancamentoGerencial(2, nullptr), E_POINTER);
  EXPECT_EQ(objeto_.SetLancamentoGerencial(2, nullptr), E_POINTER);
  EXPECT_EQ(objeto_.SetQuantidadeGerencial(1, nullptr), E_POINTER);
  EXPECT_EQ(objeto_.GetLancamentoGerencial(3, saida), S_OK);
  EXPECT_EQ(objeto_.GetQuantidadeGerencial(2, quantidades), S_OK);
}

TEST_F(SplitLists, ClearingAndReplacingEachListLeavesTheOther) {
  SetThree();
  ASSERT_EQ(objeto_.ZeraLancamentoGerencial(), S_OK);
  RegLan_Ger saida[3];
  EXPECT_EQ(objeto_.GetLancamentoGerencial(1, saida), kHrEinval);
  RegQtd_Ger quantidades[2];
  EXPECT_EQ(objeto_.GetQuantidadeGerencial(2, quantidades), S_OK);

  SetThree();
  ASSERT_EQ(objeto_.ZeraQuantidadeGerencial(), S_OK);
  EXPECT_EQ(objeto_.GetQuantidadeGerencial(1, quantidades), kHrEinval);
  RegLan_Ger uma = Client(5, 0, 9, 9);
  ASSERT_EQ(objeto_.SetLancamentoGerencial(1, &uma), S_OK);  // replaces the three
  EXPECT_EQ(objeto_.GetLancamentoGerencial(2, saida), kHrEinval);
  EXPECT_EQ(objeto_.GetLancamentoGerencial(1, saida), S_OK);
  EXPECT_EQ(saida[0].ContaGerencial, 9);
}

TEST_F(SplitLists, EntryWithoutSplitReadsNothingAndKeepsTheLists) {
  int32_t tem = -1;
  ASSERT_EQ(objeto_.TemGerencial(&tem), S_OK);
  EXPECT_EQ(tem, 0);
  EXPECT_EQ(objeto_.TemGerencial(nullptr), E_POINTER);

  SetThree();
  uint16_t qtd = 99;
  ASSERT_EQ(objeto_.LeGerencial(&qtd), S_OK);
  EXPECT_EQ(qtd, 99);
  RegLan_Ger saida[3];
  EXPECT_EQ(objeto_.GetLancamentoGerencial(3, saida), S_OK);
  EXPECT_EQ(objeto_.LeGerencial(nullptr), E_POINTER);
}

}  // namespace
}  // namespace qx
