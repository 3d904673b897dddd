// A company whose disk is full: objects still initialise, reads, searches and
// listings go on, saves and removals fail with the disk-full code, and once
// there is room again the same object saves; an import that filled the disk
// is undone whole once a little room is back.
#include <filesystem>
#include <fstream>

#include "../platform/small_disk.h"
#include "lancamento_fixture.h"
#include "outside/change_log/reg_lan_atual.h"
#include "values/qx_dmcps.h"

namespace qx {
namespace {

// The small disk comes first, so that the company is made on it.
template <const char* kTamanho>
struct DiscoPequeno {
  test::SmallDisk disco{kTamanho};
  test::ScopedEnv temporario{
      "TMPDIR", disco.Mounted() ? disco.path() : std::filesystem::temp_directory_path().string()};
};
constexpr char kQuatroMb[] = "4m";
constexpr char kTresMb[] = "3m";

template <const char* kTamanho>
class FullDiskTest : private DiscoPequeno<kTamanho>, public SavingTest {
 protected:
  void SetUp() override {
    if (!Disco().Mounted()) GTEST_SKIP() << Disco().Reason();
  }
  const test::SmallDisk& Disco() const { return DiscoPequeno<kTamanho>::disco; }
};
using DiscoCheioTest = FullDiskTest<kQuatroMb>;
using DiscoDeImportacaoTest = FullDiskTest<kTresMb>;

// With the database's WAL and index kept from the last connection, and
// without them (they were never kept, or were removed): then the database is
// read without a shared index, and the objects that read it so must go before
// a new one saves again.
TEST_F(DiscoCheioTest, ReadsGoOnAndSavesFailWithTheDiskFullCode) {
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

// Pages of an import fill a 3 MB disk that holds 1 MB of other files until
// one is refused for room; the disk is then filled to its last byte. Once the
// other files are gone, one request removes the whole import, each entry with
// its event.
TEST_F(DiscoDeImportacaoTest, AnImportThatFilledTheDiskIsUndoneWholeOnceRoomIsBack) {
  const std::string lastro = Disco() / "lastro";
  std::ofstream(lastro) << std::string(1 << 20, 'x');
  auto objeto = Objeto();
  constexpr int kPorPagina = 512;
  std::vector<int32_t> importados;
  HRESULT hr = S_OK;
  while (hr == S_OK) {
    std::vector<REG_LOTE_LANCAMENTO> pagina(kPorPagina);
    std::string textos;
    for (REG_LOTE_LANCAMENTO& l : pagina) {
      l.Dados = Dados(4, 11, 10000);
      l.Dados.wChaveOrigem.lChaveModulo = MakeChaveModulo(9, kImportModule);
      l.ulInicioComplemento = static_cast<uint32_t>(textos.size());
      l.usTamanhoComplemento = 28;
      textos += "Pagamento da nota fiscal 123";
    }
    std::vector<int32_t> posicoes(kPorPagina);
    int32_t falha = 0;
    hr = objeto->GravaLote(
        kPorPagina, pagina.data(), 0, nullptr, static_cast<int32_t>(textos.size()),
        reinterpret_cast<unsigned char*>(textos.data()), posicoes.data(), &falha);
    if (hr == S_OK) importados.insert(importados.end(), posicoes.begin(), posicoes.end());
  }
  EXPECT_EQ(hr, QXHresultDoStatus(ARQ_DISCO_CHEIO));
  ASSERT_GE(importados.size(), 1024u);
  Disco().Fill();
  std::filesystem::remove(lastro);

  const std::vector<RegistroLog> antes = Log();
  const int64_t ultimo = antes.empty() ? 0 : antes.back().id;
  CNLAN_EXCLUSAO_MES_IMP_PS mes{
      static_cast<uint32_t>(importados.size()), Mes(), {}, importados.data(), nullptr};
  CNLAN_RESULTADO_EXCLUSAO_IMP_PS resultado{};
  EXPECT_EQ(objeto->ExclusaoImportacao({1, {}, &mes, nullptr}, &resultado), S_OK);
  EXPECT_EQ(resultado.nQtdExcluidos, importados.size());
  size_t exclusoes = 0;
  for (const RegistroLog& r : Log()) {
    exclusoes += r.id > ultimo && r.tipo == kLogTipoLancamento && r.servico == kLogExclusao;
  }
  EXPECT_EQ(exclusoes, importados.size());
}

}  // namespace
}  // namespace qx
