// The acceptance test of the searches on records of one month: the bounds,
// the field tests, the origin selection, the complement and the managerial
// account.
#include "lancamento/buscas/filtro_aceita.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <utility>
#include <vector>

#include "../entries/test_company.h"
#include "filtro_mes.h"
#include "lancamento/buscas/filtro_texto.h"
#include "lancamento/lancamento_base.h"
#include "values/qx_data.h"
#include "values/qx_mes_ano.h"

namespace qx {
namespace {

const uint16_t kMarco = CQXMesAno::Make(3, 2024).Value();
const uint32_t kPrimeiro = CQXData::Make(1, 3, 2024).Value();
const uint32_t kUltimo = CQXData::Make(31, 3, 2024).Value();

class Aceitacao : public ::testing::Test {
 protected:
  Aceitacao() { filiais_.Define(1, {1, 2}); }

  // Whether the filter accepts the record at `posicao` of `mes`, searched
  // over March 2024.
  bool Aceita(const EntryRecord& r, int32_t posicao = 1, uint16_t mes = kMarco) {
    AceitacaoFiltro aceitacao(filtro_, kPrimeiro, kUltimo, filiais_, sessoes_);
    aceitacao.IniciaMes(mes, nullptr, nullptr);
    bool aceito = false;
    EXPECT_EQ(aceitacao.Aceita(r, posicao, &aceito), ARQ_OK);
    return aceito;
  }
  EntryRecord ComOrigem(uint32_t modulo, uint32_t chave = 7) {
    EntryRecord r = Lancamento(5);
    r.lChaveModulo = MakeChaveModulo(chave, modulo);
    return r;
  }

  FiltroLancamento filtro_;
  CQXDadosDF_FiliaisAtivas filiais_;
  std::vector<int32_t> sessoes_;
};

TEST_F(Aceitacao, FreshFilterTakesLiveEntriesOfActiveBranchesWithinTheBounds) {
  EXPECT_TRUE(Aceita(Lancamento(1)));
  EXPECT_TRUE(Aceita(Lancamento(31)));
  EntryRecord r = Lancamento(5);
  r.Filial = 2;
  EXPECT_TRUE(Aceita(r));
  r.Filial = 3;  // not active for the user
  EXPECT_FALSE(Aceita(r));
  r = Lancamento(5);
  r.cStatus = kEntryDeleted;
  EXPECT_FALSE(Aceita(r));
  r.cStatus = kEntryLiveWithCurrency;
  EXPECT_TRUE(Aceita(r));
  // Day 40 is cut to the month's end; day 0 has no date, below every bound.
  EXPECT_TRUE(Aceita(Lancamento(40)));
  EXPECT_FALSE(Aceita(Lancamento(0)));
  // The filter's dates replace the search's bounds.
  filtro_.DataInicial = CQXData::Make(10, 3, 2024).Value();
  filtro_.DataFinal = CQXData::Make(20, 3, 2024).Value();
  EXPECT_FALSE(Aceita(Lancamento(9)));
  EXPECT_TRUE(Aceita(Lancamento(10)));
  EXPECT_TRUE(Aceita(Lancamento(20)));
  EXPECT_FALSE(Aceita(Lancamento(21)));
  // Records of April are outside March's bounds.
  EXPECT_FALSE(Aceita(Lancamento(15), 1, kMarco + 1));
}

TEST_F(Aceitacao, AmountAndDocumentRanges) {
  EntryRecord r = Lancamento(5);
  filtro_.ValorInicial.int64 = 1000000;  // 100.00 with ValorFinal 0: nothing passes
  EXPECT_FALSE(Aceita(r));
  filtro_.ValorFinal.int64 = 1000000;
  EXPECT_TRUE(Aceita(r));
  r.Valor.int64 = 999999;
  EXPECT_FALSE(Aceita(r));
  filtro_.ValorInicial.int64 = -5;
  filtro_.ValorFinal.int64 = 0;
  r.Valor.int64 = -5;
  EXPECT_TRUE(Aceita(r));

  filtro_ = FiltroLancamento{};
  r = Lancamento(5);
  r.Documento = 900;
  filtro_.DocumentoFinal = 500;  // without DocumentoInicial: no document test
  EXPECT_TRUE(Aceita(r));
  filtro_.DocumentoInicial = 100;
  EXPECT_FALSE(Aceita(r));
  r.Documento = 500;
  EXPECT_TRUE(Aceita(r));
  r.Documento = 99;
  EXPECT_FALSE(Aceita(r));
}

TEST_F(Aceitacao, PositionBoundsCutOnlyTheFirstAndLastMonth) {
  const EntryRecord r = Lancamento(5);
  filtro_.ChaveInicial = 10;  // without MesInicial: no effect
  EXPECT_TRUE(Aceita(r, 1));
  filtro_.MesInicial = kMarco;
  EXPECT_FALSE(Aceita(r, 9));
  EXPECT_TRUE(Aceita(r, 10));
  filtro_.ChaveFinal = 20;
  EXPECT_TRUE(Aceita(r, 30));  // MesFinal 0: no upper position
  filtro_.MesFinal = kMarco;
  EXPECT_FALSE(Aceita(r, 21));
  EXPECT_TRUE(Aceita(r, 20));

  // In a range of months the positions cut its ends only.
  filtro_.MesInicial = kMarco - 1;
  filtro_.MesFinal = kMarco + 1;
  filtro_.DataInicial = CQXData::Make(1, 2, 2024).Value();
  filtro_.DataFinal = CQXData::Make(30, 4, 2024).Value();
  EXPECT_TRUE(Aceita(r, 1));
  EXPECT_TRUE(Aceita(r, 50));
  EXPECT_FALSE(Aceita(r, 9, kMarco - 1));
  EXPECT_FALSE(Aceita(r, 21, kMarco + 1));
  filtro_.MesFinal = kMarco - 1;  // March is past the last month
  EXPECT_FALSE(Aceita(r, 15));
}

// (Branch, account, history and IFRS are among the end-to-end search cases.)
TEST_F(Aceitacao, SessionAndCheckedMarkTests) {
  EntryRecord r = Lancamento(5);
  filtro_.Sessao = 4;
  EXPECT_FALSE(Aceita(r));
  filtro_.Sessao = 3;
  EXPECT_TRUE(Aceita(r));

  // The user's sessions: an empty table admits nothing.
  filtro_ = FiltroLancamento{};
  filtro_.iUsuario = 1;
  EXPECT_FALSE(Aceita(r));
  sessoes_ = {9, 3, 1};
  EXPECT_TRUE(Aceita(r));
  r.Secao = 2;
  EXPECT_FALSE(Aceita(r));

  // Checked marks: one flag tests, both or neither do not.
  filtro_ = FiltroLancamento{};
  EntryRecord conferido = Lancamento(5);
  conferido.cConferido = 1;
  const EntryRecord aberto = Lancamento(5);
  const auto ambos = [&] { return std::pair(Aceita(conferido), Aceita(aberto)); };
  filtro_.Origem.bConferidos = 1;
  EXPECT_EQ(ambos(), std::pair(true, false));
  filtro_.Origem.bNaoConferidos = 1;
  EXPECT_EQ(ambos(), std::pair(true, true));
  filtro_.Origem.bConferidos = 0;
  EXPECT_EQ(ambos(), std::pair(false, true));
}

TEST_F(Aceitacao, OriginSelectionAndOriginKey) {
  // Financial flags alone leave the selection inactive: every origin passes.
  filtro_.Origem.bFNCPLan = 1;
  EXPECT_TRUE(Aceita(ComOrigem(21)));
  EXPECT_TRUE(Aceita(Lancamento(5)));
  // With bFinanceiro only payables (6) pass, and typed entries need bContabilidade.
  filtro_.Origem.bFinanceiro = 1;
  EXPECT_TRUE(Aceita(ComOrigem(6)));
  EXPECT_FALSE(Aceita(ComOrigem(4)));
  EXPECT_FALSE(Aceita(Lancamento(5)));
  filtro_.Origem.bContabilidade = 1;
  EXPECT_TRUE(Aceita(Lancamento(5)));

  filtro_ = FiltroLancamento{};
  filtro_.Origem.bEscritaFiscal = 1;
  EXPECT_TRUE(Aceita(ComOrigem(95)));
  EXPECT_FALSE(Aceita(ComOrigem(25)));  // a code no flag lists
  EXPECT_FALSE(Aceita(ComOrigem(66)));
  filtro_.Origem.bGeradorLancamento = 1;  // one of the flags that list it
  EXPECT_TRUE(Aceita(ComOrigem(66)));

  // A batch number must be the batch's origin key.
  filtro_ = FiltroLancamento{};
  filtro_.Origem.bLote = 1;
  filtro_.Origem.lNumeroLote = 7;
  EXPECT_TRUE(Aceita(ComOrigem(22, 7)));
  EXPECT_FALSE(Aceita(ComOrigem(22, 8)));

  // The origin key and month; typed entries pass that test.
  filtro_ = FiltroLancamento{};
  filtro_.Origem.lChaveOrigem = 7;
  EXPECT_TRUE(Aceita(ComOrigem(5, 7)));
  EXPECT_FALSE(Aceita(ComOrigem(5, 8)));
  EXPECT_TRUE(Aceita(Lancamento(5)));
  filtro_.Origem.iMesOrigem = 100;
  EntryRecord r = ComOrigem(5, 7);
  EXPECT_FALSE(Aceita(r));
  r.iData = 100;
  EXPECT_TRUE(Aceita(r));
}

TEST(DobraTexto, FoldsAccentsAndCase) {
  EXPECT_EQ(DobraTexto("A\xC7\xC3O de Cobran\xE7"
                       "a"),
            "acao de cobranca");
  EXPECT_EQ(DobraTexto("\xC0\xC9\xCD\xD5\xDC\xDD\xD1 \xE0\xE9\xED\xF5\xFC\xFD\xFF\xF1"),
            "aeiouyn aeiouyyn");
  // Letters without a base letter are only lower-cased (\x9F to \xFF, which is
  // not folded again); other bytes stay.
  EXPECT_EQ(DobraTexto("\xC6\xD8\x8A\x9F\xD7 1-Z"), "\xE6\xF8\x9A\xFF\xD7 1-z");
}

// The complement and the managerial account read the month's files.
class AceitacaoComArquivos : public Aceitacao {
 protected:
  void SetUp() override {
    ASSERT_EQ(objeto_.Inicializa(RegistroInicializacao()), S_OK);
    mes_.emplace(objeto_.GetPastaEmpresa(), kMarco);
  }

  // The month's accepted positions.
  std::vector<uint32_t> Aceitos(const std::vector<EntryRecord>& registros) {
    AceitacaoFiltro aceitacao(filtro_, kPrimeiro, kUltimo, filiais_, sessoes_);
    CQXarq heap;
    CQXarq gerencial;
    EXPECT_EQ(
        heap.Abre(mes_->Nome(kPrefixoComplementos).c_str(), 'L', kTamanhoLeituraComplemento, true),
        ARQ_OK);
    EXPECT_EQ(gerencial.Abre(mes_->Nome(kPrefixoGerencial).c_str(), 'L', kSplitRecordSize, true),
              ARQ_OK);
    aceitacao.IniciaMes(kMarco, &heap, &gerencial);
    std::vector<uint32_t> aceitos;
    for (size_t i = 0; i < registros.size(); ++i) {
      bool aceito = false;
      EXPECT_EQ(aceitacao.Aceita(registros[i], static_cast<int32_t>(i + 1), &aceito), ARQ_OK);
      if (aceito) aceitos.push_back(static_cast<uint32_t>(i + 1));
    }
    return aceitos;
  }
  EntryRecord ComComplemento(const std::string& texto) {
    EntryRecord r = Lancamento(5);
    r.Complemento = mes_->Complemento(texto);
    return r;
  }

  TestCompany company_;
  CLancamentoBase objeto_;
  std::optional<MesDeTeste> mes_;
};

TEST_F(AceitacaoComArquivos, ComplementContainsTheFilterWithoutAccentsOrCase) {
  // Texts are read up to their carriage return (or a zero byte): the heap
  // keeps no lengths.
  const std::vector<EntryRecord> registros = {
      ComComplemento("A\xC7\xC3O DE COBRAN\xC7"
                     "A\r"),
      ComComplemento("Pagamento de fornecedor\r"),
      Lancamento(5),  // no complement
      ComComplemento("linha um\rACAO depois do fim\r"),
      ComComplemento("a\xE7\xE3o"),
  };
  std::strcpy(filtro_.Complemento, "acao");
  EXPECT_EQ(Aceitos(registros), (std::vector<uint32_t>{1, 5}));
  std::strcpy(filtro_.Complemento, "A\xC7\xC3O");
  EXPECT_EQ(Aceitos(registros), (std::vector<uint32_t>{1, 5}));
  std::strcpy(filtro_.Complemento, "linha um\r");  // the carriage return ends a text
  EXPECT_EQ(Aceitos(registros), (std::vector<uint32_t>{4}));
}

TEST_F(AceitacaoComArquivos, ManagerialAccountOfTheEntrysChain) {
  EntryRecord semSplit = Lancamento(5);
  EntryRecord comConta3 = Lancamento(5);
  comConta3.Gerencial = mes_->Gerencial(0x10000002, {2, 3});
  EntryRecord outraCadeia = Lancamento(5);
  outraCadeia.Gerencial = mes_->Gerencial(3, {2});
  mes_->Gerencial(4, {3});  // next chain: not the entry's
  filtro_.ContaGerencial = 3;
  EXPECT_EQ(Aceitos({semSplit, comConta3, outraCadeia}), (std::vector<uint32_t>{2}));
  filtro_.ContaGerencial = 2;
  EXPECT_EQ(Aceitos({semSplit, comConta3, outraCadeia}), (std::vector<uint32_t>{2, 3}));
}

}  // namespace
}  // namespace qx
