// A company whose disk is full: objects still initialise, reads, searches and
// listings go on, saves and removals fail with the disk-full code, and once
// there is room again the same object saves.
#include <filesystem>

#include "../platform/small_disk.h"
#include "../saving/saving_fixture.h"

namespace qx {
namespace {

// The small disk comes first, so that the company is made on it.
struct DiscoPequeno {
  test::SmallDisk disco{"4m"};
  test::ScopedEnv temporario{
      "TMPDIR", disco.Mounted() ? disco.path() : std::filesystem::temp_directory_path().string()};
};

class FullDiskTest : private DiscoPequeno, public SavingTest {
 protected:
  void SetUp() override {
    if (!disco.Mounted()) GTEST_SKIP() << disco.Reason();
  }
  const test::SmallDisk& Disco() const { return disco; }
};

// With the database's WAL and index kept from the last connection, and
// without them (they were never kept, or were removed): then the database is
// read without a shared index, and the objects that read it so must go before
// a new one saves again.
TEST_F(FullDiskTest, ReadsGoOnAndSavesFailWithTheDiskFullCode) {
  const std::string banco = company_.DfFolder() + "/QXSUITE.db";
  int32_t proxima = 1;
  for (const bool semIndice : {false, true}) {
    SCOPED_TRACE(semIndice ? "without the WAL index" : "with the WAL index kept");
    {
      auto objeto = Objeto();
      Preenche(*objeto, 4, 11, 100, "antes");
      ASSERT_EQ(Grava(*objeto), proxima++);
    }
    const size_t registros = Log().size();
    if (semIndice) {
      std::filesystem::remove(banco + "-shm");
      std::filesystem::remove(banco + "-wal");
    }
    Disco().Fill();

    auto objeto = Objeto();
    ASSERT_EQ(objeto->Le(1, Mes()), S_OK);
    int32_t quantidade = 0;
    EXPECT_EQ(objeto->BuscaQtdLancamentos(kData.Value() - 10, kData.Value() + 10, &quantidade),
              S_OK);
    EXPECT_EQ(quantidade, proxima - 1);
    REG_DADOS_LANCAMENTOS lista[4] = {};
    EXPECT_EQ(objeto->LeLancamentosMes(Mes(), 4, lista), S_OK);
    EXPECT_EQ(lista[0].Valor.int64, 1000000);

    Preenche(*objeto, 4, 11, 7, "cheio");
    EXPECT_EQ(Grava(*objeto, 0, ARQ_DISCO_CHEIO), 0);
    RegDados dados = Dados(4, 11, 70000);
    int32_t indlan = 0;
    EXPECT_EQ(objeto->GravaDados(&dados, &indlan), QXHresultDoStatus(ARQ_DISCO_CHEIO));
    EXPECT_EQ(objeto->Exclui(1, Mes()), ARQ_DISCO_CHEIO);
    EXPECT_EQ(Lancamentos().size(), static_cast<size_t>(proxima)) << "nothing was written";

    Disco().Free();
    if (semIndice) {
      objeto.reset();
      objeto = Objeto();
      Preenche(*objeto, 4, 11, 7, "com espaco");
    }
    const std::string chave = std::to_string(proxima);
    EXPECT_EQ(Grava(*objeto), proxima++);
    EXPECT_EQ(Sequencia(registros), (std::vector<std::string>{"24I" + chave, "8I" + chave}));
  }
}

}  // namespace
}  // namespace qx
