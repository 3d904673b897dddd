// The explanatory notes: writing, finding, reading, replacing and clearing a
// note, the failures of the index and the longest text.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>

#include "../entries/test_company.h"
#include "lancamento/lancamento_base.h"
#include "platform/bstr.h"
#include "platform/file_exception.h"
#include "platform/file_faults.h"
#include "storage/arq_status.h"
#include "storage/records/note_records.h"

namespace qx {
namespace {

class NotasExplicativas : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(objeto_.Inicializa(RegistroInicializacao()), S_OK); }

  HRESULT Grava(int32_t posicao, const std::string& texto, int32_t chave = kChave) {
    UniqueBstr bstr(BstrFromCp1252(texto));
    return objeto_.GravaNotaExplicativa(kMesAno, chave, posicao, bstr.get());
  }

  int32_t Existe(int32_t chave = kChave, uint16_t mesAno = kMesAno) {
    int32_t posicao = -1;
    EXPECT_EQ(objeto_.ExisteNotaExplicativa(mesAno, chave, &posicao), S_OK);
    return posicao;
  }

  // The note's text, or the method's code when it fails.
  HRESULT Le(int32_t posicao, std::string* texto) {
    BSTR bstr = nullptr;
    const HRESULT hr = objeto_.LeNotaExplicativa(posicao, &bstr);
    UniqueBstr dono(bstr);
    *texto = BstrToCp1252(bstr);
    return hr;
  }

  std::string Indice() const { return company_.CnFolder() + kNoteIndexFileName; }
  std::string Textos() const { return company_.CnFolder() + kNoteTextFileName; }

  static constexpr uint16_t kMesAno = 0x0318;
  static constexpr int32_t kChave = 4711;
  TestCompany company_;
  CLancamentoBase objeto_;
};

TEST_F(NotasExplicativas, WrittenNoteIsFoundAndReadBack) {
  std::string texto = "x";
  // No index yet: the open's status, and no text.
  EXPECT_EQ(Le(1, &texto), ARQ_NAO_ENCONTRADO);
  EXPECT_EQ(texto, "");
  EXPECT_EQ(Existe(), 0);  // a company without notes
  EXPECT_EQ(Grava(0, ""), S_OK);  // an empty new note stores nothing
  EXPECT_EQ(Existe(), 0);

  ASSERT_EQ(Grava(0, "Nota de ajuste \xE9 primeira"), S_OK);
  ASSERT_EQ(Grava(0, "outra", kChave + 1), S_OK);
  const int32_t posicao = Existe();
  EXPECT_EQ(posicao, 1);
  EXPECT_EQ(Existe(kChave + 1), 2);
  EXPECT_EQ(Existe(kChave, kMesAno + 1), 0);  // same key, other month
  EXPECT_EQ(std::filesystem::file_size(Indice()), 3 * kNoteIndexRecordSize);

  ASSERT_EQ(Le(posicao, &texto), S_OK);
  EXPECT_EQ(texto, "Nota de ajuste \xE9 primeira");
  ASSERT_EQ(Le(2, &texto), S_OK);
  EXPECT_EQ(texto, "outra");
  EXPECT_EQ(Le(5, &texto), ARQ_FIM_DE_ARQUIVO);  // beyond the index
  EXPECT_EQ(Le(-1, &texto), ARQ_FIM_DE_ARQUIVO);
}

TEST_F(NotasExplicativas, RewrittenNoteReadsTheNewTextAndAnEmptyTextClearsIt) {
  ASSERT_EQ(Grava(0, "texto antigo"), S_OK);
  const int32_t posicao = Existe();
  const auto heapAntes = std::filesystem::file_size(Textos());

  ASSERT_EQ(Grava(posicao, "texto novo, mais longo"), S_OK);
  EXPECT_EQ(Existe(), posicao);  // the same index record points at the new text
  std::string texto;
  ASSERT_EQ(Le(posicao, &texto), S_OK);
  EXPECT_EQ(texto, "texto novo, mais longo");
  // The old text stays: the heap only grows by the new text and its NUL.
  EXPECT_EQ(std::filesystem::file_size(Textos()), heapAntes + 23);

  ASSERT_EQ(Grava(posicao, ""), S_OK);
  EXPECT_EQ(Existe(), 0);
  EXPECT_EQ(std::filesystem::file_size(Indice()), 2 * kNoteIndexRecordSize);
}

TEST_F(NotasExplicativas, IndexFailuresAreReturned) {
  ASSERT_EQ(Grava(0, "primeira"), S_OK);
  {
    FileFaultsGuard guard;
    FileFaults::Arm(FileOp::Write, 1, CFileException::hardIO, kNoteIndexFileName, 1000);
    EXPECT_EQ(Grava(1, "segunda"), ARQ_ERRO_DE_LEITURA_GRAVACAO);
    EXPECT_EQ(Grava(0, "terceira"), ARQ_ERRO_DE_LEITURA_GRAVACAO);
  }
  EXPECT_EQ(std::filesystem::file_size(Indice()), 2 * kNoteIndexRecordSize);
  std::string texto;
  ASSERT_EQ(Le(1, &texto), S_OK);
  EXPECT_EQ(texto, "primeira");

  {
    FileFaultsGuard guard;
    FileFaults::Arm(FileOp::Read, 1, CFileException::hardIO, kNoteIndexFileName, 1000);
    const HRESULT hr = Le(1, &texto);
    EXPECT_GT(hr, 0);  // a record-layer status, not a failure code
    EXPECT_LE(hr, 0xFFFF);
    EXPECT_EQ(texto, "");
  }
}

TEST_F(NotasExplicativas, LongTextsStopAtTheLimit) {
  const std::string limite(kNoteMaxLength, 'a');
  ASSERT_EQ(Grava(0, limite), S_OK);
  ASSERT_EQ(Grava(0, limite + "bcd", kChave + 1), S_OK);  // cut to the limit
  ASSERT_EQ(Grava(0, "curta", kChave + 2), S_OK);

  std::string texto;
  for (const auto& [posicao, esperado] :
       {std::pair(1, limite), std::pair(2, limite), std::pair(3, std::string("curta"))}) {
    ASSERT_EQ(Le(posicao, &texto), S_OK);
    EXPECT_EQ(texto, esperado) << posicao;
  }
}

}  // namespace
}  // namespace qx
