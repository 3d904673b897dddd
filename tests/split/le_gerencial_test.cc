// Reading an entry's split chain and its quantities from the month files, and
// the generation of the quantity records of the configured period.
#include <cstdio>
#include <filesystem>

#include "lancamento/gerencial/gerencial_leitura.h"
#include "split_fixture.h"

namespace qx {
namespace {

class LeGerencialTest : public SplitTest {
 protected:
  // Lines 1 (owner 5), 2-4 (owner 3, then 3 | 1<<28: the high bits are not
  // part of the chain), 5 (owner 9).
  void SetUp() override {
    Inicializa();
    Write(kPrefixoGerencial,
          std::vector<REGLAN_GER>{Line(5, 2, 4, 100), Line(3, 2, 4, 1000000), Line(3, 3, 5, 200000),
                                  Line(3 | (1u << 28), 4, 6, 300000), Line(9, 2, 4, 400000)});
  }

  int Read(uint32_t primeira, bool quantidades, uint16_t* qtd) {
    return LeGerencialDoMes(company_.CnFolder(), kMarco, primeira, quantidades, &lista_, qtd);
  }

  GerencialAtual lista_;
};

TEST_F(LeGerencialTest, ChainEndsAtAnotherOwnerAndMissingQuantitiesReadZero) {
  Write(kPrefixoQuantidades, std::vector<REGQTD_GER>{{{1}}, {{20000}}, {{30000}}});
  lista_.linhas.resize(7);
  uint16_t qtd = 0;
  ASSERT_EQ(Read(2, true, &qtd), ARQ_OK);
  EXPECT_EQ(qtd, 3);
  ASSERT_EQ(lista_.linhas.size(), 3u);
  EXPECT_EQ(lista_.linhas[0], Line(3, 2, 4, 1000000));
  EXPECT_EQ(lista_.linhas[2], Line(3 | (1u << 28), 4, 6, 300000));
  ASSERT_EQ(lista_.quantidades.size(), 3u);
  EXPECT_EQ(lista_.quantidades[0].Quantidade.int64, 20000);
  EXPECT_EQ(lista_.quantidades[1].Quantidade.int64, 30000);
  EXPECT_EQ(lista_.quantidades[2].Quantidade.int64, 0);  // past the end of CNLQ

  // Without quantities the quantity list is emptied.
  ASSERT_EQ(Read(5, false, &qtd), ARQ_OK);
  EXPECT_EQ(qtd, 1);
  EXPECT_EQ(lista_.linhas[0].Indlan, 9u);
  EXPECT_TRUE(lista_.quantidades.empty());

  // A first line past the end empties both lists.
  lista_.quantidades.resize(2);
  ASSERT_EQ(Read(6, true, &qtd), ARQ_OK);
  EXPECT_EQ(qtd, 0);
  EXPECT_TRUE(lista_.linhas.empty());
  EXPECT_TRUE(lista_.quantidades.empty());
}

TEST_F(LeGerencialTest, FailingOpenOfTheQuantitiesIsReturned) {
  // Made once by controlled creation and gone since: not made again.
  CQXarq criada;
  ASSERT_EQ(criada.Abre(Path(kPrefixoQuantidades).c_str(), 'G', kQuantityRecordSize, true), ARQ_OK);
  criada.Fecha();
  ASSERT_EQ(std::remove(Path(kPrefixoQuantidades).c_str()), 0);
  lista_.linhas.resize(4);
  uint16_t qtd = 77;
  EXPECT_EQ(Read(2, true, &qtd), ARQ_NAO_ENCONTRADO);
  EXPECT_EQ(qtd, 77);
  EXPECT_EQ(lista_.linhas.size(), 4u);
  ASSERT_EQ(Read(2, false, &qtd), ARQ_OK);
  EXPECT_EQ(qtd, 3);
}

TEST_F(LeGerencialTest, LoadedEntryHasItsSplitMarkedAndRead) {
  Write(kPrefixoQuantidades, std::vector<REGQTD_GER>{{{1}}, {{2}}});
  Write(kPrefixoLancamentos, std::vector<EntryRecord>{Entry(10, 1, 1), Entry(11, 1, 2)});
  ASSERT_EQ(objeto_.Le(1, kMarco), S_OK);
  int32_t tem = 0;
  ASSERT_EQ(objeto_.TemGerencial(&tem), S_OK);
  EXPECT_EQ(tem, 1);
  uint16_t qtd = 0;
  ASSERT_EQ(objeto_.LeGerencial(&qtd), S_OK);
  EXPECT_EQ(qtd, 1);

  ASSERT_EQ(objeto_.Le(2, kMarco), S_OK);
  ASSERT_EQ(objeto_.LeGerencial(&qtd), S_OK);
  ASSERT_EQ(qtd, 3);
  RegLan_Ger linhas[3];
  ASSERT_EQ(objeto_.GetLancamentoGerencial(3, linhas), S_OK);
  EXPECT_EQ(linhas[1].ContaGerencial, 3);
  EXPECT_EQ(linhas[1].Valor.int64, 200000);
  RegQtd_Ger quantidades[3];
  ASSERT_EQ(objeto_.GetQuantidadeGerencial(3, quantidades), S_OK);
  EXPECT_EQ(quantidades[0].Quantidade.int64, 2);
  EXPECT_EQ(quantidades[1].Quantidade.int64, 0);
}

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
