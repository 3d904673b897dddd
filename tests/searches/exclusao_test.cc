// The removal of imported entries and the follow-up of reconciliation keys.
#include <filesystem>

#include "busca_fixture.h"
#include "platform/file_exception.h"
#include "platform/file_faults.h"
#include "platform/task_memory.h"

namespace qx {
namespace {

EntryRecord Importado(int dia) {
  EntryRecord r = Registro(dia, 4, 11, 100 * dia);
  r.lChaveModulo = MakeChaveModulo(7, kImportModule);
  r.iData = Mes(3).Value();
  return r;
}

class ExclusaoTest : public BuscaTest {
 protected:
  void SetUp() override {
    BuscaTest::SetUp();
    Acrescenta(Mes(3), {Importado(5), Registro(6, 4, 11, 1), Importado(7), Importado(8)});
  }

  // Asks for the removal of the positions of March, listed `vezes` times (and
  // of May, which has no files); the result goes to resultado_, its errors to
  // erros_.
  HRESULT Remove(std::vector<int32_t> posicoes, size_t vezes = 1) {
    int32_t maio[] = {1};
    std::vector<CNLAN_EXCLUSAO_MES_IMP_PS> meses(vezes + 1);
    for (size_t i = 0; i < vezes; ++i) {
      meses[i].nQtdDocs = static_cast<uint32_t>(posicoes.size());
      meses[i].iMesAno = Mes(3).Value();
      meses[i].pDocsLan = posicoes.data();
    }
    meses.back().nQtdDocs = 1;
    meses.back().iMesAno = Mes(5).Value();
    meses.back().pDocsLan = maio;
    CNLAN_EXCLUSAO_IMP_PS pedido{};
    pedido.nQtdMeses = static_cast<uint32_t>(meses.size());
    pedido.pMeses = meses.data();
    const HRESULT hr = objeto_.ExclusaoImportacao(pedido, &resultado_);
    erros_.assign(resultado_.pErros, resultado_.pErros + resultado_.nQtdErros);
    CoTaskMemFree(resultado_.pErros);
    return hr;
  }

  uint8_t Estado(uint32_t posicao) { return Le(Mes(3), posicao).cStatus; }

  CNLAN_RESULTADO_EXCLUSAO_IMP_PS resultado_{};
  std::vector<CNLAN_ERRO_EXCLUCAO_IMP_PS> erros_;
};

TEST_F(ExclusaoTest, OneTypedEntryBlocksTheWholeRequest) {
  ASSERT_EQ(Remove({1, 2}, 2), S_OK);  // reported once, though March comes twice
  EXPECT_EQ(resultado_.nQtdExcluidos, 0u);
  ASSERT_EQ(erros_.size(), 1u);
  EXPECT_EQ(erros_[0].eErro, CNLAN_EEI_NAO_FOI_IMPORTADO);
  EXPECT_EQ(erros_[0].lIndLan, 2);
  EXPECT_EQ(erros_[0].iMesAno, Mes(3).Value());
  EXPECT_EQ(Estado(1), kEntryLive);
  EXPECT_EQ(Estado(2), kEntryLive);
  EXPECT_FALSE(std::filesystem::exists(Caminho(kPrefixoLancamentos, Mes(5))));
}

TEST_F(ExclusaoTest, ClosedPeriodsRefuseTheRemoval) {
  company_.SetConfig("blocked-start", Dia(6, 3));
  company_.SetConfig("blocked-end", Dia(31, 3));
  ASSERT_EQ(Remove({1, 3}), S_OK);
  ASSERT_EQ(erros_.size(), 1u);
  EXPECT_EQ(erros_[0].eErro, CNLAN_EEI_PERIODO_BLOQUEADO);
  EXPECT_EQ(erros_[0].lIndLan, 3);

  // An allowed range leaves out every day beyond it.
  company_.SetConfig("blocked-start", 0);
  company_.SetConfig("removal-start", Dia(1, 3));
  company_.SetConfig("removal-end", Dia(6, 3));
  ASSERT_EQ(Remove({1, 3, 4}), S_OK);
  ASSERT_EQ(erros_.size(), 2u);
  EXPECT_EQ(erros_[1].lIndLan, 4);
  EXPECT_EQ(Estado(1), kEntryLive);
}

TEST_F(ExclusaoTest, RemovesEveryListedImportedEntry) {
  // March listed twice: each entry is removed and counted once.
  ASSERT_EQ(Remove({1, 3, 99}, 2), S_OK);
  EXPECT_EQ(resultado_.nQtdExcluidos, 2u);
  EXPECT_TRUE(erros_.empty());
  EXPECT_EQ(Estado(1), kEntryDeleted);
  EXPECT_EQ(Estado(3), kEntryDeleted);
  EXPECT_EQ(Estado(4), kEntryLive);
  // Already deleted entries are passed over.
  ASSERT_EQ(Remove({1, 3}), S_OK);
  EXPECT_EQ(resultado_.nQtdExcluidos, 0u);
}

TEST_F(ExclusaoTest, FailureMidwayTakesItsGroupOfRemovalsBack) {
  FileFaultsGuard guard;
  // The second entry's record cannot be written back: the first comes back too.
  FileFaults::Arm(FileOp::Write, 2, CFileException::hardIO, kPrefixoLancamentos);
  const HRESULT hr = Remove({1, 3, 4});
  FileFaults::Clear();
  EXPECT_EQ(hr, QXHresultDoStatus(ARQ_ERRO_DE_LEITURA_GRAVACAO));
  EXPECT_EQ(resultado_.nQtdExcluidos, 0u);
  EXPECT_EQ(Estado(1), kEntryLive);
  EXPECT_EQ(Estado(3), kEntryLive);
  EXPECT_EQ(Estado(4), kEntryLive);
}

TEST_F(BuscaTest, ReconciliationKeyFollowsTheReplacementOfADeletedEntry) {
  EntryRecord excluido = Registro(5, 4, 11, 100);
  excluido.cStatus = kEntryDeleted;
  EntryRecord comMoeda = Registro(5, 4, 11, 100);
  comMoeda.cStatus = kEntryLiveWithCurrency;
  EntryRecord outroValor = Registro(5, 4, 11, 101);
  Acrescenta(Mes(3), {Registro(5, 4, 11, 100), excluido, comMoeda, outroValor,
                      Registro(5, 4, 11, 100), excluido});
  int32_t saida = 0;
  ASSERT_EQ(objeto_.ValidaChavesConciliacao(Mes(3).Value(), 2, &saida), S_OK);
  EXPECT_EQ(saida, 5);
  ASSERT_EQ(objeto_.ValidaChavesConciliacao(Mes(3).Value(), 1, &saida), S_OK);
  EXPECT_EQ(saida, 1) << "a live entry keeps its key";
  ASSERT_EQ(objeto_.ValidaChavesConciliacao(Mes(3).Value(), 6, &saida), S_OK);
  EXPECT_EQ(saida, 6) << "no replacement after it";
  ASSERT_EQ(objeto_.ValidaChavesConciliacao(Mes(3).Value(), 40, &saida), S_OK);
  EXPECT_EQ(saida, 40);
}

}  // namespace
}  // namespace qx
