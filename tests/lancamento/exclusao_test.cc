// Removal of entries: the record, its split lines, the difference list, the
// change log and document management; removal of one origin's entries and of
// imported entries; the follow-up of reconciliation keys.
#include <sqlite3.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <tuple>

#include "lancamento/gravacao/registro_log.h"
#include "lancamento_fixture.h"
#include "outside/database/outside_codes.h"
#include "outside/database/suite_database.h"
#include "platform/file_exception.h"
#include "platform/file_faults.h"
#include "platform/task_memory.h"
#include "values/entry_key.h"

namespace qx {
namespace {

constexpr HRESULT kInexistente = 0x000405F8;

using Exclui = MesesTest;

class ExcluiGed : public MesesTest {
 protected:
  ExcluiGed() : MesesTest(/*ged=*/true) {}
};

TEST_F(Exclui, MarksTheEntryDeletedClearsItsSplitAndReportsOnce) {
  EntryRecord primeiro = EntradaCompleta(11);
  primeiro.Gerencial = Gerencial(1, {500, 501, 502});
  ASSERT_EQ(marco_.Lancamento(primeiro), 1);
  EntryRecord segundo = EntradaCompleta(22);
  segundo.Gerencial = Gerencial(2, {500, 501});
  ASSERT_EQ(marco_.Lancamento(segundo), 2);

  ASSERT_EQ(objeto_.Exclui(1, kMarco), S_OK);
  const EntryRecord lido = marco_.Registro(1);
  EntryRecord esperado = primeiro;
  esperado.cStatus = kEntryDeleted;
  EXPECT_EQ(std::memcmp(&lido, &esperado, sizeof lido), 0) << "only the status changes";
  const auto [lancamentos, excluidos, gerenciais, importados] = Contagem();
  EXPECT_EQ(std::tuple(lancamentos, excluidos, gerenciais), std::tuple(2, 1, 2))
      << "the other entry's lines stay";

  std::vector<RegistroLog> log = TestCompany::ChangeLog();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(std::tuple(log[0].tipo, log[0].servico, log[0].chave, log[0].sessao),
            std::tuple(kLogTipoLancamento, 'E', 1, 4096u * 3));
  ASSERT_EQ(log[0].dados.size(), sizeof(RegLanAtual));
  RegLanAtual imagem;
  std::memcpy(&imagem, log[0].dados.data(), sizeof imagem);
  EXPECT_EQ(std::tuple(+imagem.Documento, +imagem.Gerencial, +imagem.Data, +imagem.Secao,
                       +imagem.cStatus),
            std::tuple(11, +primeiro.Gerencial, Dia(15, 3), 0x2345, +kEntryDeleted));
  // The empty complement is reported too.
  EXPECT_EQ(std::tuple(log[1].tipo, log[1].servico, log[1].dados),
            std::tuple(kLogTipoComplemento, 'E', std::string()));

  // Again, past the end, and the zero record: nothing more happens.
  EXPECT_EQ(objeto_.Exclui(1, kMarco), S_OK);
  for (int32_t p : {3, 0, -5}) EXPECT_EQ(objeto_.Exclui(p, kMarco), kInexistente) << p;
  EXPECT_EQ(TestCompany::ChangeLog().size(), 2u);
  EXPECT_EQ(marco_.Registro(0).cStatus, 0);
  EXPECT_TRUE(TestCompany::GedNotices().empty()) << "no document management for this company";
}

TEST_F(ExcluiGed, DocumentManagementIsToldAfterTheChangeLogAndItsRefusalIsReturned) {
  marco_.Lancamento(EntradaCompleta(1));
  marco_.Lancamento(EntradaCompleta(2));
  ASSERT_EQ(objeto_.Exclui(1, kMarco), S_OK);
  std::vector<NotificacaoGed> avisos = TestCompany::GedNotices();
  ASSERT_EQ(avisos.size(), 1u);
  EXPECT_EQ(std::tuple(avisos[0].operacao, avisos[0].chave),
            std::tuple('E', MakeChaveComposta(1, CQXMesAno(kMarco))));

  ASSERT_EQ(DefineDocumentoBloqueado(*TestCompany::Database(), MakeChaveComposta(2, Mes(3)), true),
            S_OK);
  const int linhas = company_.ErrorLines();
  EXPECT_EQ(objeto_.Exclui(2, kMarco), E_QXDF_DOCUMENTO_BLOQUEADO);
  EXPECT_EQ(marco_.Registro(2).cStatus, kEntryDeleted) << "the entry stays deleted";
  EXPECT_EQ(TestCompany::ChangeLog().size(), 4u) << "and the change log has it so";
  EXPECT_EQ(company_.ErrorLines(), linhas + 1);
}

// The files and the change log have one outcome: a removal that cannot be
// stored in the log is taken back.
TEST_F(Exclui, ARemovalTheChangeLogCannotStoreIsTakenBack) {
  SetSuiteBusyTimeoutForTesting(20);  // before the object opens the database
  CLancamentoBase objeto;
  ASSERT_EQ(objeto.Inicializa(RegistroInicializacao()), S_OK);
  marco_.Lancamento(EntradaCompleta(1));
  const std::string banco = company_.DfFolder() + kSuiteDatabaseName;
  sqlite3* outro = nullptr;
  ASSERT_EQ(sqlite3_open(banco.c_str(), &outro), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(outro, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
  const int linhas = company_.ErrorLines();
  EXPECT_EQ(objeto.Exclui(1, kMarco), E_QXDF_BANCO_OCUPADO);
  EXPECT_EQ(company_.ErrorLines(), linhas + 1);
  sqlite3_exec(outro, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(outro);
  SetSuiteBusyTimeoutForTesting(0);
  EXPECT_EQ(marco_.Registro(1).cStatus, kEntryLive);
  EXPECT_TRUE(TestCompany::ChangeLog().empty());
}

TEST_F(Exclui, RemovesTheEntriesOfOneOrigin) {
  const int32_t porMes = MakeChaveModulo(5, 24);
  const int32_t importacao = MakeChaveModulo(5, 21);
  const auto com = [](int32_t chave, uint16_t iData, uint8_t status = kEntryLive) {
    EntryRecord registro = EntradaCompleta(1);
    registro.lChaveModulo = chave;
    registro.iData = iData;
    registro.cStatus = status;
    return registro;
  };
  const int32_t a = marco_.Lancamento(com(porMes, 100));
  const int32_t b = marco_.Lancamento(com(porMes, 101));
  const int32_t c = marco_.Lancamento(com(importacao, 100));
  const int32_t d = marco_.Lancamento(com(porMes, 100, kEntryDeleted));
  const int32_t e = marco_.Lancamento(com(importacao, 102));

  const auto estados = [&] {
    return std::tuple(marco_.Registro(a).cStatus, marco_.Registro(b).cStatus,
                      marco_.Registro(c).cStatus, marco_.Registro(d).cStatus,
                      marco_.Registro(e).cStatus);
  };
  ASSERT_EQ(objeto_.ExcluiOffLine(kMarco, porMes, 100), S_OK);
  // b: another origin month.
  EXPECT_EQ(estados(),
            std::tuple(kEntryDeleted, kEntryLive, kEntryLive, kEntryDeleted, kEntryLive));
  EXPECT_EQ(TestCompany::ChangeLog().size(), 2u) << "the entry deleted before is left as it was";

  {
    // A month that cannot be read is not taken for one without the origin.
    FileFaultsGuard guard;
    FileFaults::Arm(FileOp::Read, 1, CFileException::hardIO, kPrefixoLancamentos, 99);
    EXPECT_EQ(objeto_.ExcluiOffLine(kMarco, importacao, 0), ARQ_ERRO_DE_LEITURA_GRAVACAO);
  }
  ASSERT_EQ(objeto_.ExcluiOffLine(kMarco, importacao, 0), S_OK);
  // c and e: every origin month of other modules.
  EXPECT_EQ(estados(),
            std::tuple(kEntryDeleted, kEntryLive, kEntryDeleted, kEntryDeleted, kEntryDeleted));
}

EntryRecord Importado(int dia) {
  EntryRecord r = Registro(dia, 4, 11, 100 * dia);
  r.lChaveModulo = MakeChaveModulo(7, kImportModule);
  r.iData = Mes(3).Value();
  return r;
}

class ExclusaoTest : public LancamentoTest {
 protected:
  void SetUp() override {
    LancamentoTest::SetUp();
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

  uint8_t Estado(int32_t posicao) { return Arquivos(Mes(3)).Registro(posicao).cStatus; }

  CNLAN_RESULTADO_EXCLUSAO_IMP_PS resultado_{};
  std::vector<CNLAN_ERRO_EXCLUCAO_IMP_PS> erros_;
};

TEST_F(ExclusaoTest, OneTypedEntryBlocksTheWholeRequestOtherwiseEveryListedOneGoes) {
  {
    // The second entry's record cannot be written back: the first comes back too.
    FileFaultsGuard guard;
    FileFaults::Arm(FileOp::Write, 2, CFileException::hardIO, kPrefixoLancamentos);
    EXPECT_EQ(Remove({1, 3, 4}), QXHresultDoStatus(ARQ_ERRO_DE_LEITURA_GRAVACAO));
  }
  EXPECT_EQ(resultado_.nQtdExcluidos, 0u);
  EXPECT_EQ(std::tuple(Estado(1), Estado(3), Estado(4)),
            std::tuple(kEntryLive, kEntryLive, kEntryLive));

  ASSERT_EQ(Remove({1, 2}, 2), S_OK);  // reported once, though March comes twice
  EXPECT_EQ(resultado_.nQtdExcluidos, 0u);
  ASSERT_EQ(erros_.size(), 1u);
  EXPECT_EQ(std::tuple(erros_[0].eErro, erros_[0].lIndLan, erros_[0].iMesAno),
            std::tuple(CNLAN_EEI_NAO_FOI_IMPORTADO, 2, Mes(3).Value()));
  EXPECT_EQ(std::tuple(Estado(1), Estado(2)), std::tuple(kEntryLive, kEntryLive));
  EXPECT_FALSE(std::filesystem::exists(Caminho(kPrefixoLancamentos, Mes(5).Value())));

  // March listed twice: each entry is removed and counted once.
  ASSERT_EQ(Remove({1, 3, 99}, 2), S_OK);
  EXPECT_EQ(resultado_.nQtdExcluidos, 2u);
  EXPECT_TRUE(erros_.empty());
  EXPECT_EQ(std::tuple(Estado(1), Estado(3), Estado(4)),
            std::tuple(kEntryDeleted, kEntryDeleted, kEntryLive));
  // Already deleted entries are passed over.
  ASSERT_EQ(Remove({1, 3}), S_OK);
  EXPECT_EQ(resultado_.nQtdExcluidos, 0u);
}

TEST_F(ExclusaoTest, ClosedPeriodsRefuseTheRemoval) {
  company_.SetConfig("blocked-start", Dia(6, 3));
  company_.SetConfig("blocked-end", Dia(31, 3));
  ASSERT_EQ(Remove({1, 3}), S_OK);
  ASSERT_EQ(erros_.size(), 1u);
  EXPECT_EQ(std::tuple(erros_[0].eErro, erros_[0].lIndLan),
            std::tuple(CNLAN_EEI_PERIODO_BLOQUEADO, 3));

  // An allowed range leaves out every day beyond it.
  company_.SetConfig("blocked-start", 0);
  company_.SetConfig("removal-start", Dia(1, 3));
  company_.SetConfig("removal-end", Dia(6, 3));
  ASSERT_EQ(Remove({1, 3, 4}), S_OK);
  ASSERT_EQ(erros_.size(), 2u);
  EXPECT_EQ(erros_[1].lIndLan, 4);
  EXPECT_EQ(Estado(1), kEntryLive);
}

TEST_F(Exclui, ReconciliationKeyFollowsTheReplacementOfADeletedEntry) {
  EntryRecord excluido = Registro(5, 4, 11, 100);
  excluido.cStatus = kEntryDeleted;
  EntryRecord comMoeda = Registro(5, 4, 11, 100);
  comMoeda.cStatus = kEntryLiveWithCurrency;
  EntryRecord outroValor = Registro(5, 4, 11, 101);
  Acrescenta(Mes(3), {Registro(5, 4, 11, 100), excluido, comMoeda, outroValor,
                      Registro(5, 4, 11, 100), excluido});
  // A live entry keeps its key; no replacement after 6.
  for (const auto& [chave, nova] : {std::pair(2, 5), {1, 1}, {6, 6}, {40, 40}}) {
    int32_t saida = 0;
    ASSERT_EQ(objeto_.ValidaChavesConciliacao(Mes(3).Value(), chave, &saida), S_OK);
    EXPECT_EQ(saida, nova) << chave;
  }
}

}  // namespace
}  // namespace qx
