// Generation of the quantity records of the configured period.
#include <filesystem>

#include "split_fixture.h"

namespace qx {
namespace {

class QuantidadeTest : public SplitTest {
 protected:
  static constexpr uint16_t kMaio = CQXMesAno::Make(5, 2024).Value();
  static constexpr uint16_t kJaneiro2025 = CQXMesAno::Make(1, 2025).Value();

  std::vector<int64_t> Quantidades(uint16_t mes) const {
    std::vector<int64_t> valores;
    for (const REGQTD_GER& q : Read<REGQTD_GER>(kPrefixoQuantidades, mes)) {
      valores.push_back(q.Quantidade.int64);
    }
    return valores;
  }
};

TEST_F(QuantidadeTest, MissingRecordsOfThePeriodAreFilledWithZeros) {
  Inicializa();  // the period is the year 2024
  const std::vector<REGLAN_GER> tres = {Line(1, 2, 4, 100), Line(1, 3, 4, 200), Line(2, 2, 4, 300)};
  Write(kPrefixoGerencial, tres);
  Write(kPrefixoQuantidades, std::vector<REGQTD_GER>{{{70000}}});
  Write(kPrefixoGerencial, std::vector<REGLAN_GER>(tres.begin(), tres.begin() + 2), kMaio);
  Write(kPrefixoGerencial, tres, kJaneiro2025);

  ASSERT_EQ(objeto_.GeraArquivoQuantidadeGerencial(), S_OK);
  EXPECT_EQ(Quantidades(kMarco), (std::vector<int64_t>{70000, 0, 0}));
  EXPECT_EQ(Quantidades(kMaio), (std::vector<int64_t>{0, 0}));  // CNLQ made for it
  EXPECT_FALSE(std::filesystem::exists(Path(kPrefixoQuantidades, kJaneiro2025)));
  EXPECT_EQ(std::filesystem::file_size(Path(kPrefixoGerencial)), 4u * kSplitRecordSize);

  // Complete already: nothing changes.
  ASSERT_EQ(objeto_.GeraArquivoQuantidadeGerencial(), S_OK);
  EXPECT_EQ(Quantidades(kMarco), (std::vector<int64_t>{70000, 0, 0}));
}

TEST_F(QuantidadeTest, TornLastRecordIsOverwrittenInPlace) {
  Inicializa();
  Write(kPrefixoGerencial, std::vector<REGLAN_GER>{Line(1, 2, 4, 100), Line(1, 3, 4, 200)});
  Write(kPrefixoQuantidades, std::vector<REGQTD_GER>{{{5}}});
  std::filesystem::resize_file(Path(kPrefixoQuantidades), 2 * kQuantityRecordSize + 3);
  ASSERT_EQ(objeto_.GeraArquivoQuantidadeGerencial(), S_OK);
  EXPECT_EQ(std::filesystem::file_size(Path(kPrefixoQuantidades)), 3u * kQuantityRecordSize);
  EXPECT_EQ(Quantidades(kMarco), (std::vector<int64_t>{5, 0}));
}

TEST_F(QuantidadeTest, PeriodWithoutADayMakesNothing) {
  company_.SetConfig("period-start", 0);
  Inicializa();
  Write(kPrefixoGerencial, std::vector<REGLAN_GER>{Line(1, 2, 4, 100)});
  ASSERT_EQ(objeto_.GeraArquivoQuantidadeGerencial(), S_OK);
  EXPECT_FALSE(std::filesystem::exists(Path(kPrefixoQuantidades)));
}

}  // namespace
}  // namespace qx
