// Removal of entries: the record, its split lines, the difference list, the
// change log and document management; removal of one origin's entries; every
// file operation of a removal failing in turn.
#include <sqlite3.h>

#include <cstring>
#include <string>
#include <tuple>

#include "../entries/soma_diferencas.h"
#include "lancamento/gravacao/registro_log.h"
#include "outside/database/outside_codes.h"
#include "outside/database/suite_database.h"
#include "platform/file.h"
#include "platform/file_faults.h"
#include "platform/path.h"
#include "reading_fixture.h"
#include "values/entry_key.h"

namespace qx {
namespace {

constexpr HRESULT kInexistente = 0x000405F8;

struct Contagem {
  int32_t lancamentos = 0, excluidos = 0, gerenciais = 0, importados = 0;
};
Contagem Conta(CLancamentoBase& objeto) {
  Contagem c;
  EXPECT_EQ(objeto.PegaQuantidadeRegistros(kMes, &c.lancamentos, &c.excluidos, &c.gerenciais,
                                           &c.importados),
            S_OK);
  return c;
}

TEST(Exclui, MarksTheEntryDeletedClearsItsSplitAndReportsOnce) {
  Leitura t;
  EntryRecord primeiro = Entrada(11);
  primeiro.Gerencial = t.Linhas(1, 3);
  ASSERT_EQ(t.Lancamento(primeiro), 1);
  EntryRecord segundo = Entrada(22);
  segundo.Gerencial = t.Linhas(2, 2);
  ASSERT_EQ(t.Lancamento(segundo), 2);
  Contagem antes = Conta(t.objeto);
  EXPECT_EQ(antes.gerenciais, 5);

  ASSERT_EQ(t.objeto.Exclui(1, kMes), S_OK);
  const EntryRecord lido = t.Registro(1);
  EntryRecord esperado = primeiro;
  esperado.cStatus = kEntryDeleted;
  EXPECT_EQ(std::memcmp(&lido, &esperado, sizeof lido), 0) << "only the status changes";
  const Contagem depois = Conta(t.objeto);  // the other entry's lines stay
  EXPECT_EQ(std::tuple(depois.lancamentos, depois.excluidos, depois.gerenciais),
            std::tuple(2, 1, 2));

  std::vector<RegistroLog> log = t.Log();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(std::tuple(log[0].tipo, log[0].servico, log[0].chave, log[0].sessao),
            std::tuple(kLogTipoLancamento, 'E', 1, 4096u * 3));
  ASSERT_EQ(log[0].dados.size(), sizeof(RegLanAtual));
  RegLanAtual imagem;
  std::memcpy(&imagem, log[0].dados.data(), sizeof imagem);
  EXPECT_EQ(std::tuple(+imagem.Documento, +imagem.Gerencial, +imagem.Data, +imagem.Secao,
                       +imagem.cStatus),
            std::tuple(11, +primeiro.Gerencial, CQXData::Make(15, 3, 2024).Value(), 0x2345,
                       +kEntryDeleted));
  // The empty complement is reported too.
  EXPECT_EQ(std::tuple(log[1].tipo, log[1].servico, log[1].dados),
            std::tuple(kLogTipoComplemento, 'E', std::string()));

  // Again, past the end, and the zero record: nothing more happens.
  EXPECT_EQ(t.objeto.Exclui(1, kMes), S_OK);
  EXPECT_EQ(t.objeto.Exclui(3, kMes), kInexistente);
  EXPECT_EQ(t.objeto.Exclui(0, kMes), kInexistente);
  EXPECT_EQ(t.objeto.Exclui(-5, kMes), kInexistente);
  EXPECT_EQ(t.Log().size(), 2u);
  EXPECT_EQ(t.Registro(0).cStatus, 0);
  EXPECT_TRUE(t.Ged().empty()) << "no document management for this company";
}

TEST(Exclui, DocumentManagementIsToldAfterTheChangeLogAndItsRefusalIsReturned) {
  Leitura t({.ged = true});
  t.Lancamento(Entrada(1));
  t.Lancamento(Entrada(2));
  ASSERT_EQ(t.objeto.Exclui(1, kMes), S_OK);
  std::vector<NotificacaoGed> avisos = t.Ged();
  ASSERT_EQ(avisos.size(), 1u);
  EXPECT_EQ(std::tuple(avisos[0].operacao, avisos[0].chave),
            std::tuple('E', MakeChaveComposta(1, CQXMesAno(kMes))));
  EXPECT_EQ(t.Log().size(), 2u);

  ASSERT_EQ(DefineDocumentoBloqueado(*t.Banco(), MakeChaveComposta(2, CQXMesAno(kMes)), true),
            S_OK);
  const int linhas = t.company.ErrorLines();
  EXPECT_EQ(t.objeto.Exclui(2, kMes), E_QXDF_DOCUMENTO_BLOQUEADO);
  EXPECT_EQ(t.Registro(2).cStatus, kEntryDeleted) << "the entry stays deleted";
  EXPECT_EQ(t.Log().size(), 4u) << "and the change log has it so";
  EXPECT_EQ(t.company.ErrorLines(), linhas + 1);
}

// The files and the change log have one outcome: a removal that cannot be
// stored in the log is taken back.
TEST(Exclui, ARemovalTheChangeLogCannotStoreIsTakenBack) {
  SetSuiteBusyTimeoutForTesting(20);  // before the object opens the database
  Leitura t;
  t.Lancamento(Entrada(1));
  const std::string banco = t.company.DfFolder() + kSuiteDatabaseName;
  sqlite3* outro = nullptr;
  ASSERT_EQ(sqlite3_open(banco.c_str(), &outro), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(outro, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
  const int linhas = t.company.ErrorLines();
  EXPECT_EQ(t.objeto.Exclui(1, kMes), E_QXDF_BANCO_OCUPADO);
  EXPECT_EQ(t.company.ErrorLines(), linhas + 1);
  sqlite3_exec(outro, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(outro);
  SetSuiteBusyTimeoutForTesting(0);
  EXPECT_EQ(t.Registro(1).cStatus, kEntryLive);
  EXPECT_TRUE(t.Log().empty());
}

TEST(ExcluiOffLine, RemovesTheEntriesOfOneOrigin) {
  Leitura t;
  const int32_t porMes = MakeChaveModulo(5, 24);
  const int32_t importacao = MakeChaveModulo(5, 21);
  const auto com = [](int32_t chave, uint16_t iData, uint8_t status = kEntryLive) {
    EntryRecord registro = Entrada(1);
    registro.lChaveModulo = chave;
    registro.iData = iData;
    registro.cStatus = status;
    return registro;
  };
  const int32_t a = t.Lancamento(com(porMes, 100));
  const int32_t b = t.Lancamento(com(porMes, 101));
  const int32_t c = t.Lancamento(com(importacao, 100));
  const int32_t d = t.Lancamento(com(porMes, 100, kEntryDeleted));
  const int32_t e = t.Lancamento(com(importacao, 102));

  ASSERT_EQ(t.objeto.ExcluiOffLine(kMes, porMes, 100), S_OK);
  EXPECT_EQ(t.Registro(a).cStatus, kEntryDeleted);
  EXPECT_EQ(t.Registro(b).cStatus, kEntryLive) << "another origin month";
  EXPECT_EQ(t.Registro(c).cStatus, kEntryLive);
  EXPECT_EQ(t.Registro(d).cStatus, kEntryDeleted);
  EXPECT_EQ(t.Log().size(), 2u) << "the entry deleted before is left as it was";

  {
    // A month that cannot be read is not taken for one without the origin.
    FileFaultsGuard guard;
    FileFaults::Arm(FileOp::Read, 1, CFileException::hardIO, kPrefixoLancamentos, 99);
    EXPECT_EQ(t.objeto.ExcluiOffLine(kMes, importacao, 0), ARQ_ERRO_DE_LEITURA_GRAVACAO);
  }
  ASSERT_EQ(t.objeto.ExcluiOffLine(kMes, importacao, 0), S_OK);
  EXPECT_EQ(t.Registro(c).cStatus, kEntryDeleted) << "every origin month of other modules";
  EXPECT_EQ(t.Registro(e).cStatus, kEntryDeleted);
  EXPECT_EQ(t.Registro(b).cStatus, kEntryLive);
  EXPECT_EQ(Conta(t.objeto).excluidos, 4);
}

// Two entries with split lines; the second is the one removed.
void Prepara(const Leitura& t) {
  EntryRecord primeiro = Entrada(11);
  primeiro.Gerencial = t.Linhas(1, 2);
  t.Lancamento(primeiro);
  EntryRecord segundo = Entrada(22);
  segundo.Debito = 0;
  segundo.Gerencial = t.Linhas(2, 3);
  t.Lancamento(segundo);
}

bool MarcaLivre(const std::string& pasta) {
  CFile marca;
  return marca.Open(JoinPath(pasta, "XXMARCA7.dat").c_str(),
                    CFile::modeCreate | CFile::modeReadWrite | CFile::shareExclusive);
}

// Every file operation of a removal failing in turn: the removal reports it or
// gets over it, the mark is free again, and nothing but the removed entry
// changes; a live entry never loses part of its split, and the totals follow
// the entry's status.
TEST(ExcluiFalhas, EveryFileOperationFailingInTurnKeepsTheMonthSound) {
  uint64_t operacoes = 0;
  EntryRecord original{};
  {
    Leitura t;
    Prepara(t);
    original = t.Registro(1);
    FileFaultsGuard guarda;
    FileFaults::Count(t.objeto.GetPastaEmpresa());
    ASSERT_EQ(t.objeto.Exclui(2, kMes), S_OK);
    operacoes = FileFaults::Calls(FileOp::Any);
    // The one-sided amount was taken back (stored without totals, so it shows).
    EXPECT_EQ(SomaDiferencas(t.objeto), t.Registro(2).Valor.int64);
  }
  ASSERT_GT(operacoes, 5u);

  int relatadas = 0;
  for (uint64_t n = 1; n <= operacoes; ++n) {
    SCOPED_TRACE(n);
    Leitura t;
    Prepara(t);
    HRESULT hr;
    {
      FileFaultsGuard guarda;
      FileFaults::Arm(FileOp::Any, static_cast<int>(n), CFileException::hardIO,
                      t.objeto.GetPastaEmpresa());
      hr = t.objeto.Exclui(2, kMes);
    }
    if (hr != S_OK) ++relatadas;
    EXPECT_TRUE(MarcaLivre(t.objeto.GetPastaEmpresa()));
    const EntryRecord primeiro = t.Registro(1);
    EXPECT_EQ(std::memcmp(&primeiro, &original, sizeof primeiro), 0);
    const EntryRecord segundo = t.Registro(2);
    if (segundo.cStatus == kEntryLive) {
      EXPECT_NE(hr, S_OK);
      EXPECT_EQ(Conta(t.objeto).gerenciais, 5);
      EXPECT_EQ(SomaDiferencas(t.objeto), 0);  // the entries here were stored without totals
      EXPECT_TRUE(t.Log().empty());
    } else {
      // Its amount was taken back (the entry has no debit account) before the status.
      EXPECT_EQ(SomaDiferencas(t.objeto), segundo.Valor.int64);
      EXPECT_EQ(Conta(t.objeto).gerenciais, 2);
      EXPECT_EQ(t.Log().size(), 2u) << "a deleted entry is reported";
    }
  }
  EXPECT_GT(relatadas, 0);
}

}  // namespace
}  // namespace qx
