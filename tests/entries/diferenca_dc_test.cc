// The debit/credit difference file: keys by the grouping options, free slots,
// the lookup and the listing.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <tuple>
#include <vector>

#include "lancamento/lancamento_base.h"
#include "lancamento/meses/diferenca_arquivo.h"
#include "storage/arq_status.h"
#include "test_company.h"

namespace qx {
namespace {

class DiferencaDC : public ::testing::Test {
 protected:
  void Inicia(uint16_t modo, bool porFilial) {
    company_.SetConfig("difference-mode", modo);
    company_.SetConfig("difference-per-branch", porFilial ? 1 : 0);
    ASSERT_EQ(objeto_.Inicializa(RegistroInicializacao()), S_OK);
  }

  static CURRENCY Money(int64_t units) { return CURRENCY{units * 10000}; }

  // The total the update leaves for the key.
  int64_t Soma(CQXData data, uint16_t filial, uint16_t usuario, int64_t units) {
    CURRENCY total{-1};
    EXPECT_EQ(objeto_.AtualizaDiferenca(data, filial, usuario, Money(units), &total), ARQ_OK);
    return total.int64 / 10000;
  }

  struct Busca {
    int64_t units;
    int32_t temDiferenca;
    bool operator==(const Busca&) const = default;
  };
  Busca Procura(CQXData data, uint16_t filial, uint16_t usuario) {
    CURRENCY diferenca{-1};
    int32_t tem = -1;
    EXPECT_EQ(objeto_.BuscaDiferencaDC(data.Value(), filial, usuario, &diferenca, &tem), S_OK);
    return {diferenca.int64 / 10000, tem};
  }

  std::vector<Reg_Dif> Lista() {
    int32_t quantidade = -1;
    EXPECT_EQ(objeto_.GetQuantidadeDiferenca(&quantidade), S_OK);
    std::vector<Reg_Dif> lista(quantidade > 0 ? quantidade : 0);
    EXPECT_EQ(objeto_.GetDiferenca(quantidade, lista.data()), S_OK);
    return lista;
  }

  uintmax_t FileSize() const {
    return std::filesystem::file_size(CaminhoDiferenca(company_.CnFolder()));
  }

  static constexpr CQXData kDia = CQXData::Make(10, 3, 2024);
  TestCompany company_;
  CLancamentoBase objeto_;
};

TEST_F(DiferencaDC, OneSidedEntryAddsAndRemovalFreesTheSlotForTheNextKey) {
  Inicia(kDiferencaPorDataUsuario, true);
  EXPECT_TRUE(Lista().empty());
  EXPECT_EQ(FileSize(), kDifferenceRecordSize) << "a new file holds only its zero record";

  // Debit account only: +100; the same entry removed: -100.
  ASSERT_EQ(objeto_.AtualizaDiferencaLancamento(11, 0, Money(100), kDia, 1, 1, +1), ARQ_OK);
  EXPECT_EQ(Procura(kDia, 1, 1).units, 100);
  ASSERT_EQ(objeto_.AtualizaDiferencaLancamento(0, 12, Money(40), kDia, 1, 1, +1), ARQ_OK);
  EXPECT_EQ(Procura(kDia, 1, 1).units, 60) << "credit account only subtracts";
  ASSERT_EQ(objeto_.AtualizaDiferencaLancamento(11, 0, Money(100), kDia, 1, 1, -1), ARQ_OK);
  ASSERT_EQ(objeto_.AtualizaDiferencaLancamento(0, 12, Money(40), kDia, 1, 1, -1), ARQ_OK);
  EXPECT_TRUE(Lista().empty());
  EXPECT_EQ(FileSize(), 2 * kDifferenceRecordSize);

  // Both accounts, or neither, leave every total alone.
  ASSERT_EQ(objeto_.AtualizaDiferencaLancamento(11, 12, Money(7), kDia, 1, 1, +1), ARQ_OK);
  ASSERT_EQ(objeto_.AtualizaDiferencaLancamento(0, 0, Money(7), kDia, 1, 1, +1), ARQ_OK);
  EXPECT_TRUE(Lista().empty());

  // The freed record is taken by the next new key; a further key appends.
  EXPECT_EQ(Soma(CQXData::Make(11, 3, 2024), 1, 1, 5), 5);
  EXPECT_EQ(FileSize(), 2 * kDifferenceRecordSize);
  EXPECT_EQ(Soma(kDia, 1, 2, 3), 3) << "another user is another key";
  EXPECT_EQ(FileSize(), 3 * kDifferenceRecordSize);
  const std::vector<Reg_Dif> lista = Lista();
  ASSERT_EQ(lista.size(), 2u);
  EXPECT_EQ(std::tuple(lista[0].Data, lista[1].Usuario, lista[1].Filial),
            std::tuple(CQXData::Make(11, 3, 2024).Value(), 2, 1));
}

TEST_F(DiferencaDC, MonthGroupingAccumulatesAcrossYearsAndIgnoresUsers) {
  Inicia(kDiferencaPorMes, true);
  EXPECT_EQ(Soma(CQXData::Make(10, 3, 2023), 1, 1, 10), 10);
  EXPECT_EQ(Soma(CQXData::Make(25, 3, 2024), 1, 2, 15), 25);
  EXPECT_EQ(Soma(CQXData::Make(25, 4, 2024), 1, 1, 1), 1);
  EXPECT_EQ(Soma(CQXData::Make(5, 3, 2024), 2, 1, 4), 4) << "another branch is another key";
  EXPECT_EQ(Procura(CQXData::Make(1, 3, 2030), 1, 9).units, 25);

  const std::vector<Reg_Dif> lista = Lista();
  ASSERT_EQ(lista.size(), 3u);
  // The last date written; users are not kept by month alone.
  EXPECT_EQ(std::tuple(lista[0].Data, lista[0].Usuario, lista[2].Filial),
            std::tuple(CQXData::Make(25, 3, 2024).Value(), 0, 2));
}

TEST_F(DiferencaDC, WithoutPerBranchOptionBranchesShareOneTotal) {
  Inicia(kDiferencaPorData, false);
  EXPECT_EQ(Soma(kDia, 1, 1, 10), 10);
  EXPECT_EQ(Soma(kDia, 2, 3, 5), 15);
  EXPECT_EQ(Procura(kDia, 7, 9).units, 15);
  const std::vector<Reg_Dif> lista = Lista();
  ASSERT_EQ(lista.size(), 1u);
  EXPECT_EQ(std::tuple(lista[0].Filial, lista[0].Usuario, lista[0].Valor.int64),
            std::tuple(0, 0, 150000));
}

TEST_F(DiferencaDC, LookupReportsOtherOpenDifferencesWhenTheKeyHasNone) {
  Inicia(kDiferencaPorMesUsuario, true);
  EXPECT_EQ(Procura(kDia, 1, 1).temDiferenca, 0) << "empty file";
  EXPECT_EQ(Soma(kDia, 1, 1, 8), 8);
  EXPECT_EQ(Procura(CQXData::Make(30, 3, 2024), 1, 1), (Busca{8, 1}));
  EXPECT_EQ(Procura(kDia, 1, 2), (Busca{0, 1})) << "another key holds a total";
  EXPECT_EQ(Procura(kDia, 2, 1).temDiferenca, 0) << "the other branch's record is passed over";

  CURRENCY diferenca;
  EXPECT_EQ(objeto_.BuscaDiferencaDC(kDia.Value(), 1, 1, &diferenca, nullptr), E_POINTER);
}

TEST_F(DiferencaDC, ListingNeverWritesBeyondTheCallersCount) {
  Inicia(kDiferencaPorData, true);
  for (uint16_t filial = 1; filial <= 3; ++filial) Soma(kDia, filial, 1, filial);
  std::vector<Reg_Dif> lista(3, Reg_Dif{{-1}, 7, 7, 7});
  EXPECT_EQ(objeto_.GetDiferenca(2, lista.data()), S_OK);
  EXPECT_EQ(std::tuple(lista[0].Filial, lista[1].Filial), std::tuple(1, 2));
  EXPECT_EQ(lista[2].Valor.int64, -1) << "the element past the count is untouched";
  EXPECT_EQ(objeto_.GetDiferenca(0, nullptr), S_OK);
  EXPECT_EQ(objeto_.GetDiferenca(-4, nullptr), S_OK);
  EXPECT_EQ(objeto_.GetDiferenca(1, nullptr), E_POINTER);
}

TEST_F(DiferencaDC, VanishedFileIsMadeAgainAndBadAmountsAreRefused) {
  Inicia(kDiferencaPorData, true);
  EXPECT_EQ(Soma(kDia, 1, 1, 10), 10);
  std::filesystem::remove(CaminhoDiferenca(company_.CnFolder()));
  EXPECT_EQ(Soma(kDia, 1, 1, 4), 4);
  EXPECT_EQ(FileSize(), 2 * kDifferenceRecordSize);

  CURRENCY total;
  EXPECT_EQ(objeto_.AtualizaDiferenca(CQXData(), 1, 1, Money(1), &total), ARQ_PARAMETRO_INVALIDO);
  EXPECT_EQ(objeto_.AtualizaDiferenca(kDia, 1, 1, CURRENCY{INT64_MAX}, &total),
            ARQ_PARAMETRO_INVALIDO);
  EXPECT_EQ(objeto_.AtualizaDiferencaLancamento(0, 1, CURRENCY{INT64_MIN}, kDia, 1, 1, -1),
            ARQ_PARAMETRO_INVALIDO);
  EXPECT_EQ(Procura(kDia, 1, 1).units, 4) << "refused updates leave the total alone";
  EXPECT_EQ(FileSize(), 2 * kDifferenceRecordSize);
}

}  // namespace
}  // namespace qx
