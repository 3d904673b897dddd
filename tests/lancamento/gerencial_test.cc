// The split and quantity lists of the current entry; reading an entry's
// split chain and its quantities from the month files; the generation of the
// quantity records of the period; the redistribution of split lines: its
// arithmetic and the chains it rewrites over the month files.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <tuple>
#include <vector>

#include "lancamento/gerencial/gerencial_leitura.h"
#include "lancamento/gerencial/redistribuicao.h"
#include "lancamento_fixture.h"
#include "platform/invalid_parameter.h"

namespace qx {
namespace {

class SplitTest : public LancamentoTest {
 protected:
  void SetUp() override {}
  // quantidades: whether the company keeps managerial quantities.
  void Inicializa(bool quantidades = true) {
    company_.SetConfig("managerial-quantities", quantidades ? 1 : 0);
    LancamentoTest::Inicializa();
  }

  static EntryRecord Entry(int dia, uint16_t filial, int32_t gerencial, uint8_t status = 0) {
    EntryRecord record = Registro(dia, 4, 11, 1500000, filial);
    record.Gerencial = gerencial;
    record.cStatus = status;
    return record;
  }
};

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

TEST_F(SplitLists, CopyOutOnceBoundedByTheCountClearAndReplaceEachAlone) {
  SetThree();
  RegLan_Ger saida[4];
  std::memset(saida, 0x77, sizeof(saida));
  RegQtd_Ger quantidades[3] = {};
  // Both copies, the lines first; each takes its list out.
  const auto copia = [&](uint16_t linhas, uint16_t qtds) {
    return std::tuple{objeto_.GetLancamentoGerencial(linhas, saida),
                      objeto_.GetQuantidadeGerencial(qtds, quantidades)};
  };
  ASSERT_EQ(copia(3, 2), std::tuple(S_OK, S_OK));
  EXPECT_EQ(std::tuple(saida[0].Valor.int64, saida[0].Indlan, saida[1].ContaGerencial,
                       saida[2].Valor.int64, saida[2].Indlan, saida[2].ContaContabil,
                       saida[3].Indlan, quantidades[0].Quantidade.int64,
                       quantidades[1].Quantidade.int64),
            std::tuple(10000, 7, 3, -30000, 1 << 28, 6, 0x77777777, 15000, 25000));
  for (int i = 0; i < 3; ++i) {
    for (uint8_t byte : saida[i].cFiller) EXPECT_EQ(byte, 0);
  }
  EXPECT_EQ(copia(1, 1), std::tuple(kHrEinval, kHrEinval)) << "nothing left for a second copy";

  // Fewer than the list holds: only those are written, the whole list goes.
  SetThree();
  std::memset(saida, 0x77, sizeof(saida));
  ASSERT_EQ(objeto_.GetLancamentoGerencial(1, saida), S_OK);
  EXPECT_EQ(std::tuple(saida[0].Valor.int64, saida[1].Indlan), std::tuple(10000, 0x77777777));
  EXPECT_EQ(objeto_.GetLancamentoGerencial(1, saida), kHrEinval);

  // More than the list holds goes to the invalid-parameter handler and keeps
  // the list; without a handler the code of EINVAL comes back.
  SetThree();
  const _invalid_parameter_handler anterior = _set_thread_local_invalid_parameter_handler(Throwing);
  EXPECT_THROW(objeto_.GetLancamentoGerencial(4, saida), long);
  EXPECT_THROW(objeto_.GetQuantidadeGerencial(3, quantidades), long);
  _set_thread_local_invalid_parameter_handler(anterior);
  EXPECT_EQ(objeto_.GetLancamentoGerencial(4, saida), kHrEinval);
  EXPECT_EQ(copia(3, 2), std::tuple(S_OK, S_OK));

  // Clearing or replacing one list leaves the other.
  SetThree();
  ASSERT_EQ(objeto_.ZeraLancamentoGerencial(), S_OK);
  EXPECT_EQ(copia(1, 2), std::tuple(kHrEinval, S_OK));
  SetThree();
  ASSERT_EQ(objeto_.ZeraQuantidadeGerencial(), S_OK);
  RegLan_Ger uma = Client(5, 0, 9, 9);
  ASSERT_EQ(objeto_.SetLancamentoGerencial(1, &uma), S_OK);  // replaces the three
  EXPECT_EQ(copia(1, 1), std::tuple(S_OK, kHrEinval));
  EXPECT_EQ(saida[0].ContaGerencial, 9);

  // An entry without split reads nothing and keeps the lists.
  int32_t tem = -1;
  uint16_t qtd = 99;
  SetThree();
  EXPECT_EQ((std::tuple{objeto_.TemGerencial(&tem), objeto_.LeGerencial(&qtd), tem, qtd}),
            std::tuple(S_OK, S_OK, 0, 99));
  EXPECT_EQ(copia(3, 2), std::tuple(S_OK, S_OK));
}

// The quantities of the records, in ten-thousandths.
std::vector<int64_t> Valores(const std::vector<REGQTD_GER>& quantidades) {
  std::vector<int64_t> valores;
  for (const REGQTD_GER& q : quantidades) valores.push_back(q.Quantidade.int64);
  return valores;
}

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

TEST_F(LeGerencialTest, ChainEndsAtAnotherOwnerMissingQuantitiesReadZeroAFailingOpenIsReturned) {
  Write(kPrefixoQuantidades, std::vector<REGQTD_GER>{{{1}}, {{20000}}, {{30000}}});
  lista_.linhas.resize(7);
  uint16_t qtd = 0;
  ASSERT_EQ(Read(2, true, &qtd), ARQ_OK);
  EXPECT_EQ(qtd, 3);
  EXPECT_EQ(lista_.linhas, (std::vector<REGLAN_GER>{Line(3, 2, 4, 1000000), Line(3, 3, 5, 200000),
                                                     Line(3 | (1u << 28), 4, 6, 300000)}));
  // Past the end of CNLQ: 0.
  EXPECT_EQ(Valores(lista_.quantidades), (std::vector<int64_t>{20000, 30000, 0}));

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

  // A failing open of the quantities (made once by controlled creation and
  // gone since: not made again) is returned and leaves the lists.
  CQXarq criada;
  const std::string quantidades = Caminho(kPrefixoQuantidades);
  std::filesystem::remove(quantidades);
  ASSERT_EQ(criada.Abre(quantidades.c_str(), 'G', kQuantityRecordSize, true), ARQ_OK);
  criada.Fecha();
  ASSERT_EQ(std::remove(quantidades.c_str()), 0);
  lista_.linhas.resize(4);
  qtd = 77;
  EXPECT_EQ(Read(2, true, &qtd), ARQ_NAO_ENCONTRADO);
  EXPECT_EQ(std::tuple(qtd, lista_.linhas.size()), std::tuple(77, 4u));
  ASSERT_EQ(Read(2, false, &qtd), ARQ_OK);
  EXPECT_EQ(qtd, 3);
}

TEST_F(LeGerencialTest, LoadedEntryHasItsSplitMarkedAndRead) {
  Write(kPrefixoQuantidades, std::vector<REGQTD_GER>{{{1}}, {{2}}});
  Write(kPrefixoLancamentos, std::vector<EntryRecord>{Entry(10, 1, 1), Entry(11, 1, 2)});
  ASSERT_EQ(objeto_.Le(2, kMarco), S_OK);
  int32_t tem = 0;
  uint16_t qtd = 0;
  ASSERT_EQ((std::tuple{objeto_.TemGerencial(&tem), objeto_.LeGerencial(&qtd), tem, qtd}),
            std::tuple(S_OK, S_OK, 1, 3));
  RegLan_Ger linhas[3];
  ASSERT_EQ(objeto_.GetLancamentoGerencial(3, linhas), S_OK);
  RegQtd_Ger quantidades[3];
  ASSERT_EQ(objeto_.GetQuantidadeGerencial(3, quantidades), S_OK);
  EXPECT_EQ(std::tuple(linhas[1].ContaGerencial, linhas[1].Valor.int64,
                       quantidades[0].Quantidade.int64, quantidades[1].Quantidade.int64),
            std::tuple(3, 200000, 2, 0));
}

using QuantidadeTest = SplitTest;

TEST_F(QuantidadeTest, MissingRecordsOfThePeriodAreFilledWithZeros) {
  Inicializa();  // the period is the year 2024
  const uint16_t kMaio = CQXMesAno::Make(5, 2024).Value();
  const uint16_t kJaneiro2025 = CQXMesAno::Make(1, 2025).Value();
  const auto quantidades = [&](uint16_t mes) {
    return Valores(Read<REGQTD_GER>(kPrefixoQuantidades, mes));
  };
  const std::vector<REGLAN_GER> tres = {Line(1, 2, 4, 100), Line(1, 3, 4, 200), Line(2, 2, 4, 300)};
  Write(kPrefixoGerencial, tres);
  Write(kPrefixoQuantidades, std::vector<REGQTD_GER>{{{70000}}});
  // A torn last record is overwritten in place.
  std::filesystem::resize_file(Caminho(kPrefixoQuantidades), 2 * kQuantityRecordSize + 3);
  Write(kPrefixoGerencial, std::vector<REGLAN_GER>(tres.begin(), tres.begin() + 2), kMaio);
  Write(kPrefixoGerencial, tres, kJaneiro2025);

  ASSERT_EQ(objeto_.GeraArquivoQuantidadeGerencial(), S_OK);
  EXPECT_EQ(quantidades(kMarco), (std::vector<int64_t>{70000, 0, 0}));
  EXPECT_EQ(std::filesystem::file_size(Caminho(kPrefixoQuantidades)), 4u * kQuantityRecordSize);
  EXPECT_EQ(quantidades(kMaio), (std::vector<int64_t>{0, 0}));  // CNLQ made for it
  EXPECT_FALSE(std::filesystem::exists(Caminho(kPrefixoQuantidades, kJaneiro2025)));
  EXPECT_EQ(std::filesystem::file_size(Caminho(kPrefixoGerencial)), 4u * kSplitRecordSize);

  // Complete already: nothing changes.
  ASSERT_EQ(objeto_.GeraArquivoQuantidadeGerencial(), S_OK);
  EXPECT_EQ(quantidades(kMarco), (std::vector<int64_t>{70000, 0, 0}));
}

TEST_F(QuantidadeTest, PeriodWithoutADayMakesNothing) {
  company_.SetConfig("period-start", 0);
  Inicializa();
  Write(kPrefixoGerencial, std::vector<REGLAN_GER>{Line(1, 2, 4, 100)});
  ASSERT_EQ(objeto_.GeraArquivoQuantidadeGerencial(), S_OK);
  EXPECT_FALSE(std::filesystem::exists(Caminho(kPrefixoQuantidades)));
}

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
    return objeto_.FazRedGerencial(2, contabil, Dia(1, 3), ultimoDia,
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

// Refused without targets or days before any file; then the total account
// takes its classification only, in range, of active branches, live.
TEST_F(FazRed, TotalAccountFilterTakesItsClassificationOnlyInRangeActiveAndLive) {
  const std::string quantidades = TestCompany::ReadAll(Caminho(kPrefixoQuantidades));
  const std::string lancamentos = TestCompany::ReadAll(Caminho(kPrefixoLancamentos));
  const std::vector<REGLAN_GER> antes = Lines();
  const uint32_t fimDeAbril = CQXData::Make(30, 4, 2024).Value();
  EXPECT_EQ(objeto_.FazRedGerencial(2, 0, Dia(1, 3), fimDeAbril, 0, tercos_.data()), E_INVALIDARG);
  EXPECT_EQ(objeto_.FazRedGerencial(2, 0, Dia(1, 3), fimDeAbril, 2, nullptr), E_INVALIDARG);
  EXPECT_EQ(objeto_.FazRedGerencial(2, 0, 0, fimDeAbril, 3, tercos_.data()), E_INVALIDARG);
  EXPECT_EQ(objeto_.FazRedGerencial(2, 0, Dia(1, 3), 1048248, 3, tercos_.data()), E_INVALIDARG);
  EXPECT_EQ(std::tuple(TestCompany::ReadAll(Caminho(kPrefixoLancamentos)), Lines()),
            std::tuple(lancamentos, antes));
  EXPECT_FALSE(std::filesystem::exists(Caminho(kPrefixoLancamentos, kAbril)));

  ASSERT_EQ(Redistribui(kTotalDisponivel, Dia(20, 3), tercos_), S_OK);

  const std::vector<REGLAN_GER> linhas = Lines();
  ASSERT_EQ(linhas.size(), 12u);
  for (int p = 0; p < 3; ++p) EXPECT_EQ(linhas[p], REGLAN_GER{}) << p;  // old chain zeroed
  for (int p = 3; p < 7; ++p) EXPECT_EQ(linhas[p], antes[p]) << p;      // other entries kept
  // "1.1.02.001" is not under "1.1.01".
  EXPECT_EQ(std::vector(linhas.begin() + 7, linhas.end()),
            (std::vector{Line(1, 3, 4, 333300), Line(1, 4, 4, 333300), Line(1, 9, 4, 333400),
                         Line(1, 3, 4, 500000), Line(1, 2, 6, 300000)}));

  EXPECT_EQ(Positions(), (std::vector<int32_t>{8, 4, 5, 6, 7, 0}));
  EXPECT_EQ(int64_t{Read<EntryRecord>(kPrefixoLancamentos)[0].Valor.int64}, 1500000);
  EXPECT_EQ(TestCompany::ReadAll(Caminho(kPrefixoQuantidades)), quantidades);
}

TEST_F(FazRed, ExactAccountAndNoAccount) {
  ASSERT_EQ(Redistribui(6, Dia(20, 3), {Alvo(3, 500000), Alvo(4, 500000)}), S_OK);
  std::vector<REGLAN_GER> linhas = Lines();
  ASSERT_EQ(linhas.size(), 11u);
  EXPECT_EQ(std::vector(linhas.begin() + 7, linhas.end()),
            (std::vector{Line(1, 2, 4, 1000000), Line(1, 3, 4, 500000), Line(1, 3, 6, 150000),
                         Line(1, 4, 6, 150000)}));

  // Account 0: every line of the managerial account, over two months now.
  Write(kPrefixoGerencial, std::vector<REGLAN_GER>{Line(1, 2, 11, 100000)}, kAbril);
  Write(kPrefixoLancamentos, std::vector<EntryRecord>{Entry(2, 2, 1)}, kAbril);
  ASSERT_EQ(objeto_.FazRedGerencial(2, 0, Dia(1, 3), CQXData::Make(30, 4, 2024).Value(), 2,
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

TEST_F(FazRed, EntryLeftWithoutLinesLosesItsSplitPositionOneThatWouldOverflowStays) {
  Write(kPrefixoGerencial, std::vector<REGLAN_GER>{Line(1, 2, 4, 0), Line(2, 2, 4, 100)});
  Write(kPrefixoLancamentos, std::vector<EntryRecord>{Entry(10, 1, 1), Entry(10, 1, 2)});
  ASSERT_EQ(Redistribui(0, Dia(20, 3), tercos_), S_OK);
  // 0.01 over thirds: the last account takes the cent, the others nothing.
  EXPECT_EQ(Positions(), (std::vector<int32_t>{0, 3}));
  EXPECT_EQ(Lines(), (std::vector<REGLAN_GER>{REGLAN_GER{}, REGLAN_GER{}, Line(2, 9, 4, 100)}));
  // One whose new chain would overflow the work area is left as it was.
  std::vector<REGLAN_GER> longa(kLinhasAreaRedistribuicao, Line(1, 3, 4, 100));
  longa.back() = Line(1, 2, 4, 100000);
  longa.push_back(Line(2, 2, 4, 100000));
  Write(kPrefixoGerencial, longa);
  Write(kPrefixoLancamentos, std::vector<EntryRecord>{Entry(10, 1, 1), Entry(10, 1, 5001)});
  const int linhasDeErro = company_.ErrorLines();
  ASSERT_EQ(Redistribui(0, Dia(20, 3), {Alvo(3, 500000), Alvo(4, 500000)}), S_OK);
  EXPECT_EQ(Positions(), (std::vector<int32_t>{1, 5002}));  // the other entry still changes
  const std::vector<REGLAN_GER> linhas = Lines();
  ASSERT_EQ(linhas.size(), 5003u);
  EXPECT_EQ(linhas[4999], Line(1, 2, 4, 100000));
  EXPECT_EQ(linhas[5000], REGLAN_GER{});
  EXPECT_GT(company_.ErrorLines(), linhasDeErro);
}

}  // namespace
}  // namespace qx
