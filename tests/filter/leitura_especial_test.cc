// Keyed reading of an open month: single reads into the current entry, entry
// data, lists of keys with and without complements, reading month by month.
#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <tuple>
#include <utility>
#include <vector>

#include "../entries/test_company.h"
#include "filtro_mes.h"
#include "lancamento/lancamento_base.h"
#include "storage/arq_status.h"
#include "values/qx_data.h"
#include "values/qx_mes_ano.h"

namespace qx {
namespace {

const uint16_t kMarco = CQXMesAno::Make(3, 2024).Value();

class LeituraEspecial : public ::testing::Test {
 protected:
  void Inicializa() {
    ASSERT_EQ(objeto_.Inicializa(RegistroInicializacao()), S_OK);
    marco_.emplace(objeto_.GetPastaEmpresa(), kMarco);
    abril_.emplace(objeto_.GetPastaEmpresa(), kMarco + 1);
  }
  void SetUp() override { Inicializa(); }

  std::vector<RegDados> Chaves(std::vector<int32_t> indlans, HRESULT esperado = S_OK) {
    std::vector<Lancamentos> chaves;
    for (int32_t indlan : indlans) chaves.push_back({indlan, {}});
    std::vector<RegDados> dados(indlans.size());
    std::memset(dados.data(), 0xAB, dados.size() * sizeof(RegDados));
    EXPECT_EQ(
        objeto_.LeEspecialChaves(static_cast<int32_t>(chaves.size()), chaves.data(), dados.data()),
        esperado);
    return dados;
  }

  TestCompany company_;
  CLancamentoBase objeto_;
  std::optional<MesDeTeste> marco_;
  std::optional<MesDeTeste> abril_;
};

TEST_F(LeituraEspecial, ReadsLoadTheCurrentEntryAndEndAtTheLastRecord) {
  EntryRecord r = Lancamento(12);
  r.lChaveModulo = MakeChaveModulo(15, 5);
  r.iData = 77;
  r.cConferido = 1;
  r.cStatusIFRS = 2;
  r.Gerencial = marco_->Gerencial(1, {2});
  r.Complemento = marco_->Complemento("texto");
  marco_->Lancamento(r);
  EntryRecord excluido = Lancamento(13);
  excluido.cStatus = kEntryDeleted;
  marco_->Lancamento(excluido);

  ASSERT_EQ(objeto_.AbreEspecial(kMarco), S_OK);
  RegDados dados;
  std::memset(&dados, 0xAB, sizeof dados);
  ASSERT_EQ(objeto_.LeEspecialDados(1, &dados), S_OK);
  EXPECT_EQ(std::tuple(dados.DataLancamento, dados.Debito, dados.Credito, dados.Valor.int64,
                       dados.Gerencial, dados.Complemento, dados.Secao),
            std::tuple(CQXData::Make(12, 3, 2024).Value(), 4, 11, 1000000, +r.Gerencial,
                       +r.Complemento, 3));
  EXPECT_EQ(std::tuple(dados.wChaveOrigem.lChaveModulo, dados.wChaveOrigem.iData,
                       dados.wChaveOrigem.cFiller[0], dados.cConferido, dados.cStatusIFRS,
                       dados.cGravarZero),
            std::tuple(MakeChaveModulo(15, 5), 77, 0, 1, 2, 0));
  EXPECT_EQ(dados.cFiller[4], 0xAB);  // the trailing filler is not written

  // A deleted entry reads without date, accounts and split.
  ASSERT_EQ(objeto_.LeEspecialDados(2, &dados), S_OK);
  EXPECT_EQ(std::tuple(dados.DataLancamento, dados.Debito, dados.Credito, dados.Gerencial,
                       dados.Documento),
            std::tuple(0u, 0, 0, 0, 10));

  EXPECT_EQ(objeto_.LeEspecial(3), ARQ_FIM_DE_ARQUIVO);
  EXPECT_EQ(objeto_.LeEspecial(-1), ARQ_FIM_DE_ARQUIVO);
  EXPECT_EQ(objeto_.LeEspecialDados(3, &dados), static_cast<HRESULT>(0x80043E95u));
  EXPECT_EQ(objeto_.LeEspecialDados(0, &dados), static_cast<HRESULT>(0x000405F8u));
  EXPECT_EQ(objeto_.FechaEspecial(), ARQ_OK);
  EXPECT_EQ(objeto_.FechaEspecial(), ARQ_NADA_FEITO);
  EXPECT_EQ(objeto_.LeEspecial(1), ARQ_NADA_FEITO);  // no month open
}

TEST_F(LeituraEspecial, KeyListsAreAllOrNothing) {
  for (int8_t dia : {1, 2, 3}) {
    EntryRecord r = Lancamento(dia);
    r.Documento = 100 + dia;
    marco_->Lancamento(r);
  }
  ASSERT_EQ(objeto_.AbreEspecial(kMarco), S_OK);
  std::vector<RegDados> dados = Chaves({3, 0, 1, -4});
  EXPECT_EQ(dados[0].Documento, 103);
  EXPECT_EQ(dados[2].Documento, 101);
  for (size_t k : {size_t{1}, size_t{3}}) {  // keys of 0 or less: zero elements
    EXPECT_EQ(std::tuple(dados[k].Documento, dados[k].DataLancamento, dados[k].Valor.int64),
              std::tuple(0, 0u, 0))
        << k;
  }
  // One key past the end fails the whole list, which stays as it was.
  dados = Chaves({1, 4, 2}, static_cast<HRESULT>(0x80043E95u));
  for (const RegDados& d : dados) EXPECT_EQ(d.Documento, static_cast<int32_t>(0xABABABAB));
  EXPECT_EQ(objeto_.LeEspecialChaves(0, nullptr, nullptr), S_OK);
}

TEST_F(LeituraEspecial, OrderedReadingMonthByMonthWithComplements) {
  EntryRecord r = Lancamento(5);
  r.Complemento = marco_->Complemento("primeiro de mar\xE7o\rresto");
  marco_->Lancamento(r);
  r = Lancamento(6);
  r.Documento = 20;
  r.Complemento = abril_->Complemento("abril");
  abril_->Lancamento(Lancamento(1));
  abril_->Lancamento(r);

  // Keys as a search based at March gives them: month offset in the high byte.
  const std::vector<int32_t> chaves = {1, (1 << 24) + 2, (1 << 24) + 1};
  std::vector<int32_t> documentos;
  std::vector<std::string> textos;
  for (uint16_t mes : {kMarco, static_cast<uint16_t>(kMarco + 1)}) {
    std::vector<Lancamentos> doMes;
    for (int32_t chave : chaves) {
      if (kMarco + (chave >> 24) == mes) doMes.push_back({chave & 0xFFFFFF, {}});
    }
    ASSERT_EQ(objeto_.AbreEspecial(mes), S_OK);
    std::vector<RegDadosComplemento> dados(doMes.size());
    ASSERT_EQ(objeto_.LeEspecialChavesComplemento(static_cast<int32_t>(doMes.size()), doMes.data(),
                                                  dados.data()),
              S_OK);
    ASSERT_EQ(objeto_.FechaEspecial(), ARQ_OK);
    for (const RegDadosComplemento& d : dados) {
      documentos.push_back(d.RegLan.Documento);
      textos.push_back(d.cComplemento);
    }
  }
  EXPECT_EQ(documentos, (std::vector<int32_t>{10, 20, 10}));
  EXPECT_EQ(textos, (std::vector<std::string>{"primeiro de mar\xE7o\r", "abril", ""}));
}

class LeituraEspecialMoeda : public LeituraEspecial {
 protected:
  void SetUp() override {
    company_.SetConfig("foreign-currency", 1);
    Inicializa();
  }
};

TEST_F(LeituraEspecialMoeda, ForeignCurrencyAmountOfEntriesThatKeepOne) {
  EntryRecord r = Lancamento(5);
  r.cStatus = kEntryLiveWithCurrency;
  marco_->Lancamento(Lancamento(4));
  marco_->Lancamento(r);
  marco_->Lancamento(r);
  marco_->Moeda(2, 123456);
  marco_->Moeda(3, 0);
  ASSERT_EQ(objeto_.AbreEspecial(kMarco), S_OK);
  const std::vector<RegDados> dados = Chaves({1, 2, 3});
  std::vector<std::pair<int64_t, int>> moeda;
  for (const RegDados& d : dados) moeda.emplace_back(d.ValorMoeda.int64, d.cGravarZero);
  EXPECT_EQ(moeda, (std::vector<std::pair<int64_t, int>>{{0, 0}, {123456, 0}, {0, 'S'}}));
}

}  // namespace
}  // namespace qx
