// Redistribution of managerial split lines over the month files.
#include <filesystem>

#include "lancamento/gerencial/redistribuicao.h"
#include "split_fixture.h"

namespace qx {
namespace {

class FazRed : public SplitTest {
 protected:
  static constexpr uint16_t kAbril = CQXMesAno::Make(4, 2024).Value();
  // Accounting account 3 is the total "1.1.01" over 4 and 5; 6 is "1.1.02.001".
  static constexpr uint32_t kTotalDisponivel = 3;

  void SetUp() override {
    Inicializa();
    Write(kPrefixoGerencial, std::vector<REGLAN_GER>{
                                 Line(1, 2, 4, 1000000),  // 1-3: entry 1
                                 Line(1, 3, 4, 500000), Line(1, 2, 6, 300000),
                                 Line(2, 2, 4, 1000000),  // 4: entry 2, inactive branch
                                 Line(3, 2, 4, 1000000),  // 5: entry 3, deleted
                                 Line(4, 2, 4, 1000000),  // 6: entry 4, day 25
                                 Line(5, 3, 4, 1000000),  // 7: entry 5, no line of account 2
                             });
    Write(kPrefixoLancamentos,
          std::vector<EntryRecord>{Entry(10, 1, 1), Entry(10, 3, 4), Entry(10, 1, 5, 1),
                                   Entry(25, 2, 6), Entry(5, 2, 7), Entry(5, 2, 0)});
    Write(kPrefixoQuantidades, std::vector<REGQTD_GER>{{{11}}, {{12}}});
  }

  HRESULT Redistribui(uint32_t contabil, uint32_t ultimoDia,
                      std::vector<REG_REDISTR_GERENCIAL> contas) {
    return objeto_.FazRedGerencial(2, contabil, Dia(1), ultimoDia,
                                   static_cast<uint16_t>(contas.size()), contas.data());
  }

  std::vector<REGLAN_GER> Lines(uint16_t mes = kMarco) const {
    return Read<REGLAN_GER>(kPrefixoGerencial, mes);
  }
  // The split position of every entry (copied out of the packed records).
  std::vector<int32_t> Positions(uint16_t mes = kMarco) const {
    std::vector<int32_t> posicoes;
    for (const EntryRecord& registro : Read<EntryRecord>(kPrefixoLancamentos, mes)) {
      posicoes.push_back(int32_t{registro.Gerencial});
    }
    return posicoes;
  }

  std::vector<REG_REDISTR_GERENCIAL> tercos_ = {Alvo(3, 333333), Alvo(4, 333333), Alvo(9, 333333)};
};

TEST_F(FazRed, TotalAccountFilterTakesItsClassificationOnlyInRangeActiveAndLive) {
  const std::string quantidades = TestCompany::ReadAll(Path(kPrefixoQuantidades));
  const std::vector<REGLAN_GER> antes = Lines();
  ASSERT_EQ(Redistribui(kTotalDisponivel, Dia(20), tercos_), S_OK);

  const std::vector<REGLAN_GER> linhas = Lines();
  ASSERT_EQ(linhas.size(), 12u);
  for (int p = 0; p < 3; ++p) EXPECT_EQ(linhas[p], REGLAN_GER{}) << p;  // old chain zeroed
  for (int p = 3; p < 7; ++p) EXPECT_EQ(linhas[p], antes[p]) << p;      // other entries kept
  EXPECT_EQ(linhas[7], Line(1, 3, 4, 333300));
  EXPECT_EQ(linhas[8], Line(1, 4, 4, 333300));
  EXPECT_EQ(linhas[9], Line(1, 9, 4, 333400));
  EXPECT_EQ(linhas[10], Line(1, 3, 4, 500000));
  EXPECT_EQ(linhas[11], Line(1, 2, 6, 300000));  // "1.1.02.001" is not under "1.1.01"

  EXPECT_EQ(Positions(), (std::vector<int32_t>{8, 4, 5, 6, 7, 0}));
  EXPECT_EQ(int64_t{Read<EntryRecord>(kPrefixoLancamentos)[0].Valor.int64}, 1500000);
  EXPECT_EQ(TestCompany::ReadAll(Path(kPrefixoQuantidades)), quantidades);
}

TEST_F(FazRed, ExactAccountAndNoAccount) {
  ASSERT_EQ(Redistribui(6, Dia(20), {Alvo(3, 500000), Alvo(4, 500000)}), S_OK);
  std::vector<REGLAN_GER> linhas = Lines();
  ASSERT_EQ(linhas.size(), 11u);
  EXPECT_EQ(linhas[7], Line(1, 2, 4, 1000000));
  EXPECT_EQ(linhas[8], Line(1, 3, 4, 500000));
  EXPECT_EQ(linhas[9], Line(1, 3, 6, 150000));
  EXPECT_EQ(linhas[10], Line(1, 4, 6, 150000));

  // Account 0: every line of the managerial account, over two months now.
  Write(kPrefixoGerencial, std::vector<REGLAN_GER>{Line(1, 2, 11, 100000)}, kAbril);
  Write(kPrefixoLancamentos, std::vector<EntryRecord>{Entry(2, 2, 1)}, kAbril);
  ASSERT_EQ(objeto_.FazRedGerencial(2, 0, Dia(1), CQXData::Make(30, 4, 2024).Value(), 2,
                                    std::vector{Alvo(3, 0), Alvo(4, 1000000)}.data()),
            S_OK);
  linhas = Lines();
  ASSERT_EQ(linhas.size(), 16u);
  EXPECT_EQ(linhas[11], Line(1, 4, 4, 1000000));  // entry 1's chain once more
  EXPECT_EQ(linhas[12], Line(1, 3, 4, 500000));
  EXPECT_EQ(linhas[15], Line(4, 4, 4, 1000000));  // entry 4, day 25, now in range
  EXPECT_EQ(Positions(), (std::vector<int32_t>{12, 4, 5, 16, 7, 0}));
  EXPECT_EQ(Lines(kAbril), (std::vector<REGLAN_GER>{REGLAN_GER{}, Line(1, 4, 11, 100000)}));
  EXPECT_EQ(Positions(kAbril), (std::vector<int32_t>{2}));
}

TEST_F(FazRed, RefusedWithoutTargetsOrDaysBeforeAnyFile) {
  const std::string lancamentos = TestCompany::ReadAll(Path(kPrefixoLancamentos));
  const std::string gerencial = TestCompany::ReadAll(Path(kPrefixoGerencial));
  const uint32_t fimDeAbril = CQXData::Make(30, 4, 2024).Value();
  EXPECT_EQ(objeto_.FazRedGerencial(2, 0, Dia(1), fimDeAbril, 0, nullptr), E_INVALIDARG);
  EXPECT_EQ(objeto_.FazRedGerencial(2, 0, Dia(1), fimDeAbril, 0, tercos_.data()), E_INVALIDARG);
  EXPECT_EQ(objeto_.FazRedGerencial(2, 0, Dia(1), fimDeAbril, 2, nullptr), E_INVALIDARG);
  EXPECT_EQ(objeto_.FazRedGerencial(2, 0, 0, fimDeAbril, 3, tercos_.data()), E_INVALIDARG);
  EXPECT_EQ(objeto_.FazRedGerencial(2, 0, Dia(1), 1048248, 3, tercos_.data()), E_INVALIDARG);
  EXPECT_EQ(TestCompany::ReadAll(Path(kPrefixoLancamentos)), lancamentos);
  EXPECT_EQ(TestCompany::ReadAll(Path(kPrefixoGerencial)), gerencial);
  EXPECT_FALSE(std::filesystem::exists(Path(kPrefixoLancamentos, kAbril)));
}

TEST_F(FazRed, EntryLeftWithoutLinesLosesItsSplitPosition) {
  Write(kPrefixoGerencial, std::vector<REGLAN_GER>{Line(1, 2, 4, 0), Line(2, 2, 4, 100)});
  Write(kPrefixoLancamentos, std::vector<EntryRecord>{Entry(10, 1, 1), Entry(10, 1, 2)});
  ASSERT_EQ(Redistribui(0, Dia(20), tercos_), S_OK);
  // 0.01 over thirds: the last account takes the cent, the others nothing.
  EXPECT_EQ(Positions(), (std::vector<int32_t>{0, 3}));
  EXPECT_EQ(Lines(), (std::vector<REGLAN_GER>{REGLAN_GER{}, REGLAN_GER{}, Line(2, 9, 4, 100)}));
}

TEST_F(FazRed, EntryWhoseNewChainWouldOverflowTheWorkAreaIsLeftAsItWas) {
  std::vector<REGLAN_GER> longa(kLinhasAreaRedistribuicao, Line(1, 3, 4, 100));
  longa.back() = Line(1, 2, 4, 100000);
  longa.push_back(Line(2, 2, 4, 100000));
  Write(kPrefixoGerencial, longa);
  Write(kPrefixoLancamentos, std::vector<EntryRecord>{Entry(10, 1, 1), Entry(10, 1, 5001)});
  const int linhasDeErro = company_.ErrorLines();
  ASSERT_EQ(Redistribui(0, Dia(20), {Alvo(3, 500000), Alvo(4, 500000)}), S_OK);
  EXPECT_EQ(Positions(), (std::vector<int32_t>{1, 5002}));  // the other entry still changes
  const std::vector<REGLAN_GER> linhas = Lines();
  ASSERT_EQ(linhas.size(), 5003u);
  EXPECT_EQ(linhas[4999], Line(1, 2, 4, 100000));
  EXPECT_EQ(linhas[5000], REGLAN_GER{});
  EXPECT_GT(company_.ErrorLines(), linhasDeErro);
}

}  // namespace
}  // namespace qx
