// A read of the difference file that fails while the key is looked up: the
// save reports it instead of storing the key a second time, the removal is
// refused, and the difference query reports it instead of a zero total.
#include "platform/file_faults.h"
#include "storage/records/difference_record.h"
#include "sweep_fixture.h"

namespace qx {
namespace {

class DifferenceReadFault : public ::testing::Test {
 protected:
  // The next read of "CNDIFDC.DAT" fails.
  static void FalhaLeitura() {
    FileFaults::Arm(FileOp::Read, 1, CFileException::invalidFile, kDifferenceFileName);
  }
  std::string Diferencas() const {
    return TestCompany::ReadAll(pasta_.company().CnFolder() + "/" + kDifferenceFileName);
  }

  SweepCompany pasta_;
  FileFaultsGuard guard_;
};

TEST_F(DifferenceReadFault, SavesRemovalsAndQueriesReportItAndKeepOneRecordPerKey) {
  const std::string antes = Diferencas();
  Objeto s = SweepCompany::Novo();
  ASSERT_TRUE(s);

  // A new one-sided entry: its total is not added under a second record, and
  // the save is undone.
  const std::string vivos = pasta_.VivosETotais();
  SweepCompany::Preenche(s.get(), 0, 50, "");
  int32_t indlan = 0;
  FalhaLeitura();
  EXPECT_NE(s->Grava(&indlan), S_OK);
  FileFaults::Clear();
  EXPECT_EQ(Diferencas(), antes);
  EXPECT_EQ(pasta_.VivosETotais(), vivos);

  // The removal of one-sided entry 3 does not happen: its total could not be taken back.
  FalhaLeitura();
  EXPECT_NE(s->Exclui(3, SweepCompany::Mes()), S_OK);
  FileFaults::Clear();
  EXPECT_EQ(Diferencas(), antes);
  RegDados dados{};
  EXPECT_EQ(s->LeLancamentoExcluido(3, SweepCompany::Mes(), &dados), S_OK);

  CURRENCY diferenca{};
  int32_t tem = 0;
  FalhaLeitura();
  EXPECT_NE(s->BuscaDiferencaDC(SweepCompany::kData.Value(), 1, 1, &diferenca, &tem), S_OK);
  FileFaults::Clear();
  EXPECT_EQ(s->BuscaDiferencaDC(SweepCompany::kData.Value(), 1, 1, &diferenca, &tem), S_OK);
  EXPECT_EQ(diferenca.int64, -300000);
  EXPECT_EQ(tem, 1);
  EXPECT_EQ(pasta_.Dano(), "");
}

}  // namespace
}  // namespace qx
