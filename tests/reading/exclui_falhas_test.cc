// Every file operation of a removal failing in turn: the removal reports it or
// gets over it, the mark is free again, and nothing but the removed entry
// changes; a live entry never loses part of its split, and the totals follow
// the entry's status.
#include <cstring>

#include "../entries/soma_diferencas.h"
#include "platform/file.h"
#include "platform/file_faults.h"
#include "platform/path.h"
#include "reading_fixture.h"

namespace qx {
namespace {

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

int32_t LinhasGerenciais(CLancamentoBase& objeto) {
  int32_t total = 0, excluidos = 0, gerenciais = 0, importados = 0;
  EXPECT_EQ(objeto.PegaQuantidadeRegistros(kMes, &total, &excluidos, &gerenciais, &importados),
            S_OK);
  return gerenciais;
}

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
      EXPECT_EQ(LinhasGerenciais(t.objeto), 5);
      EXPECT_EQ(SomaDiferencas(t.objeto), 0);  // the entries here were stored without totals
      EXPECT_TRUE(t.Log().empty());
    } else {
      // Its amount was taken back (the entry has no debit account) before the status.
      EXPECT_EQ(SomaDiferencas(t.objeto), segundo.Valor.int64);
      EXPECT_EQ(LinhasGerenciais(t.objeto), 2);
      EXPECT_EQ(t.Log().size(), 2u) << "a deleted entry is reported";
    }
  }
  EXPECT_GT(relatadas, 0);
}

}  // namespace
}  // namespace qx
