// The import layouts of "CNFORIMP.DAT" (creation with the default layout,
// lookup, reading, listing, saving, removal, the checks of a saved layout) and
// the explanatory notes (writing, finding, reading, replacing and clearing a
// note, the failures of the index, the longest text).
#include <cstring>
#include <filesystem>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "contract/import_layout_record.h"
#include "lancamento_fixture.h"
#include "platform/file.h"
#include "platform/file_exception.h"
#include "platform/file_faults.h"
#include "platform/path.h"
#include "storage/arq_status.h"
#include "storage/records/note_records.h"

namespace qx {
namespace {

// Copies a text into a NUL-padded field, filling it to its end when as long.
template <size_t N>
void Copia(char (&campo)[N], const char* texto) {
  std::memcpy(campo, texto, strnlen(texto, N));
}

REGFORMATOIMPORT Formato(const char* nome, const char* contabil = "CDE",
                         const char* gerencial = "JK", char delimitador = ';') {
  REGFORMATOIMPORT formato{};
  Copia(formato.cNomeFormatoImportacao, nome);
  Copia(formato.cSequenciaContabil, contabil);
  Copia(formato.cSequenciaGerencial, gerencial);
  formato.cDelimitador = static_cast<unsigned char>(delimitador);
  formato.cFiller = 0x55;  // saved as 0
  return formato;
}

std::string Nome(const REGFORMATOIMPORT& formato) {
  return std::string(
      formato.cNomeFormatoImportacao,
      strnlen(formato.cNomeFormatoImportacao, sizeof(formato.cNomeFormatoImportacao)));
}

class FormatosImportacao : public LancamentoTest {
 protected:
  std::string Arquivo() const { return JoinPath(objeto_.GetPastaEmpresa(), kImportLayoutFileName); }

  uint16_t Quantidade() {
    uint16_t quantidade = 0xFFFF;
    EXPECT_EQ(objeto_.GetQuantidadeFormatosImportacao(&quantidade), S_OK);
    return quantidade;
  }

  uint16_t Posicao(const std::string& nomeCp1252) {
    UniqueBstr nome(BstrFromCp1252(nomeCp1252));
    uint16_t posicao = 0xFFFF;
    EXPECT_EQ(objeto_.ExisteFormatoImportacao(nome.get(), &posicao), S_OK);
    return posicao;
  }

  HRESULT Exclui(const std::string& nomeCp1252) {
    UniqueBstr nome(BstrFromCp1252(nomeCp1252));
    return objeto_.ExcluiFormatoImportacao(nome.get());
  }

  std::vector<std::string> Nomes() {
    std::vector<REGFORMATOIMPORT> lista(Quantidade());
    EXPECT_EQ(objeto_.GetFormatosImportacao(static_cast<uint16_t>(lista.size()), lista.data()),
              S_OK);
    std::vector<std::string> nomes;
    for (const REGFORMATOIMPORT& formato : lista) nomes.push_back(Nome(formato));
    return nomes;
  }

  void Grava(const REGFORMATOIMPORT& formato, int32_t posicao = 0) {
    uint16_t consistencia = 77;
    ASSERT_EQ(objeto_.GravaFormatoImportacao(posicao, formato, &consistencia), S_OK);
    EXPECT_EQ(consistencia, 77) << "left as passed when every check holds";
  }
};

TEST_F(FormatosImportacao, BadLayoutsRefusedAndAVanishedFileComesBackWithTheDefaultLayout) {
  EXPECT_EQ(Quantidade(), 0);
  EXPECT_EQ(std::filesystem::file_size(Arquivo()), kImportLayoutRecordSize);
  // Bad layouts are refused in order with their consistency code.
  struct Caso {
    REGFORMATOIMPORT formato;
    uint16_t consistencia;
  };
  const Caso casos[] = {
      {Formato("", "", "", '\t'), 1},    {Formato("N", "", "", '\t'), 2},
      {Formato("N", "C", "", '\t'), 3},  {Formato("N", "C", "J", '\t'), 4},
      {Formato("N", "C", "J", '\0'), 4}, {Formato("N", "C", "J", '.'), 4},
  };
  for (const Caso& caso : casos) {
    uint16_t consistencia = 0;
    EXPECT_EQ(objeto_.GravaFormatoImportacao(0, caso.formato, &consistencia),
              static_cast<HRESULT>(0x00040000 + caso.consistencia));
    EXPECT_EQ(consistencia, caso.consistencia);
  }
  EXPECT_EQ(Quantidade(), 0) << "nothing was written";
  for (char delimitador : {',', ':', ';', '|'}) Grava(Formato("OK", "C", "J", delimitador));
  EXPECT_EQ(Quantidade(), 4);
  // Same name twice is allowed; a position beyond the end is not.
  uint16_t consistencia = 0;
  EXPECT_LT(objeto_.GravaFormatoImportacao(9, Formato("X"), &consistencia), 0);
  EXPECT_EQ(Quantidade(), 4);

  std::filesystem::remove(Arquivo());
  EXPECT_EQ(Quantidade(), 1);
  REGFORMATOIMPORT padrao{};
  ASSERT_EQ(objeto_.LeFormatoImportacao(1, &padrao), S_OK);
  EXPECT_EQ(
      std::tuple(Nome(padrao), std::string(padrao.cSequenciaContabil),
                 std::string(padrao.cSequenciaGerencial), padrao.cDelimitador, padrao.cFiller),
      std::tuple("Padr\xE3o", "CDEFGH", "JK", ',', 0));

  // Only ASCII letters change case when names are compared.
  EXPECT_EQ(Posicao("padr\xE3o"), 1);
  EXPECT_EQ(Posicao("PADR\xC3O"), 0);

  // Lookup and listing hand back the status of a vanished file instead.
  std::filesystem::remove(Arquivo());
  uint16_t posicao = 9;
  UniqueBstr nome(BstrFromCp1252("Padr\xE3o"));
  EXPECT_EQ(objeto_.ExisteFormatoImportacao(nome.get(), &posicao),
            QXHresultDoStatus(ARQ_NAO_ENCONTRADO));
  EXPECT_EQ(posicao, 0);
  REGFORMATOIMPORT um{};
  EXPECT_EQ(objeto_.GetFormatosImportacao(1, &um), QXHresultDoStatus(ARQ_NAO_ENCONTRADO));
  EXPECT_EQ(Exclui("Padr\xE3o"), S_OK) << "nothing found, nothing removed";
  // Saving recreates it with the default layout and appends after it.
  Grava(Formato("NOVO"));
  EXPECT_EQ(Nomes(), (std::vector<std::string>{"Padr\xE3o", "NOVO"}));
}

TEST_F(FormatosImportacao, SaveFindReadListCountAndDelete) {
  for (const char* nome : {"A", "B", "C", "D"}) Grava(Formato(nome));
  // A removal that fails at its last step keeps every layout.
  {
    FileFaultsGuard guard;
    FileFaults::Arm(FileOp::Rename, 1, CFileException::sharingViolation);
    try {
      Exclui("A");
      ADD_FAILURE() << "the failed replacement is thrown to the call frame";
    } catch (CFileException* e) {
      EXPECT_EQ(e->m_cause, CFileException::sharingViolation);
      e->Delete();
    }
  }
  EXPECT_EQ(Nomes(), (std::vector<std::string>{"A", "B", "C", "D"}));
  // A listing never writes more elements than asked.
  REGFORMATOIMPORT marcador{};
  std::memset(&marcador, 0x5A, sizeof(marcador));
  std::vector<REGFORMATOIMPORT> lista(5, marcador);
  ASSERT_EQ(objeto_.GetFormatosImportacao(2, lista.data()), S_OK);
  EXPECT_EQ(std::tuple(Nome(lista[0]), Nome(lista[1])), std::tuple("A", "B"));
  EXPECT_EQ(std::memcmp(&lista[2], &marcador, sizeof(marcador)), 0);
  EXPECT_EQ(objeto_.GetFormatosImportacao(0, nullptr), S_OK);

  Grava(Formato("DOZE_LETRAS_"), 0);  // fills its field, no terminator
  EXPECT_EQ(Quantidade(), 5);
  EXPECT_EQ(Posicao("c"), 3);
  EXPECT_EQ(Posicao("doze_letras_ e mais"), 5) << "the name sought is cut to 12 bytes";
  EXPECT_EQ(Posicao("E"), 0);

  // Rewriting in place keeps the count; the filler is always written 0.
  Grava(Formato("b2", "XY", "Z", '|'), 2);
  REGFORMATOIMPORT lido{};
  ASSERT_EQ(objeto_.LeFormatoImportacao(2, &lido), S_OK);
  EXPECT_EQ(
      std::tuple(Nome(lido), std::string(lido.cSequenciaContabil), lido.cDelimitador, lido.cFiller),
      std::tuple("b2", "XY", '|', 0));
  EXPECT_EQ(objeto_.LeFormatoImportacao(6, &lido), QXHresultDoStatus(ARQ_FIM_DE_ARQUIVO));
  EXPECT_EQ(objeto_.LeFormatoImportacao(-1, &lido), QXHresultDoStatus(ARQ_FIM_DE_ARQUIVO));
  EXPECT_EQ(Nome(lido), "b2") << "a failed read leaves the caller's record alone";

  // Removing position 2 moves the later layouts down one place.
  EXPECT_EQ(Exclui("B2"), S_OK);
  EXPECT_EQ(Nomes(), (std::vector<std::string>{"A", "C", "D", "DOZE_LETRAS_"}));
  EXPECT_FALSE(
      std::filesystem::exists(JoinPath(objeto_.GetPastaEmpresa(), kImportLayoutTempFileName)));
  EXPECT_EQ(Exclui("naoexiste"), S_OK);
  EXPECT_EQ(Quantidade(), 4);

  // Listing one more than there are fills every layout, then reports the end.
  EXPECT_EQ(objeto_.GetFormatosImportacao(5, lista.data()), E_QXARQ_FIM_DE_ARQUIVO);
  EXPECT_EQ(Nome(lista[3]), "DOZE_LETRAS_");
}

class NotasExplicativas : public LancamentoTest {
 protected:
  HRESULT Grava(int32_t posicao, const std::string& texto, int32_t chave = kChave) {
    UniqueBstr bstr(BstrFromCp1252(texto));
    return objeto_.GravaNotaExplicativa(kMesAno, chave, posicao, bstr.get());
  }

  int32_t Existe(int32_t chave = kChave, uint16_t mesAno = kMesAno) {
    int32_t posicao = -1;
    EXPECT_EQ(objeto_.ExisteNotaExplicativa(mesAno, chave, &posicao), S_OK);
    return posicao;
  }

  // The method's code and the note's text.
  std::pair<HRESULT, std::string> Le(int32_t posicao) {
    BSTR bstr = nullptr;
    const HRESULT hr = objeto_.LeNotaExplicativa(posicao, &bstr);
    UniqueBstr dono(bstr);
    return {hr, BstrToCp1252(bstr)};
  }

  std::string Indice() const { return company_.CnFolder() + kNoteIndexFileName; }
  std::string Textos() const { return company_.CnFolder() + kNoteTextFileName; }

  static constexpr uint16_t kMesAno = 0x0318;
  static constexpr int32_t kChave = 4711;
};

TEST_F(NotasExplicativas, WrittenNoteIsFoundReadBackRewrittenAndClearedIndexFailuresReturned) {
  // No index yet: the open's status, and no text.
  EXPECT_EQ(Le(1), std::pair(HRESULT{ARQ_NAO_ENCONTRADO}, std::string()));
  EXPECT_EQ(Existe(), 0);         // a company without notes
  EXPECT_EQ(Grava(0, ""), S_OK);  // an empty new note stores nothing
  EXPECT_EQ(Existe(), 0);

  ASSERT_EQ(Grava(0, "Nota de ajuste \xE9 primeira"), S_OK);
  ASSERT_EQ(Grava(0, "outra", kChave + 1), S_OK);
  const int32_t posicao = Existe();
  EXPECT_EQ(posicao, 1);
  EXPECT_EQ(Existe(kChave + 1), 2);
  EXPECT_EQ(Existe(kChave, kMesAno + 1), 0);  // same key, other month
  EXPECT_EQ(std::filesystem::file_size(Indice()), 3 * kNoteIndexRecordSize);

  EXPECT_EQ(Le(posicao), std::pair(S_OK, std::string("Nota de ajuste \xE9 primeira")));
  EXPECT_EQ(Le(2), std::pair(S_OK, std::string("outra")));
  // A longer text stops at the limit.
  const std::string limite(kNoteMaxLength, 'a');
  ASSERT_EQ(Grava(0, limite + "bcd", kChave + 2), S_OK);
  ASSERT_EQ(Grava(0, "curta", kChave + 3), S_OK);
  EXPECT_EQ(Le(3), std::pair(S_OK, limite));
  EXPECT_EQ(Le(4), std::pair(S_OK, std::string("curta")));
  EXPECT_EQ(Le(5).first, ARQ_FIM_DE_ARQUIVO);  // beyond the index
  EXPECT_EQ(Le(-1).first, ARQ_FIM_DE_ARQUIVO);

  // A rewritten note reads the new text; an empty text clears it.
  const auto heapAntes = std::filesystem::file_size(Textos());
  ASSERT_EQ(Grava(posicao, "texto novo, mais longo"), S_OK);
  EXPECT_EQ(Existe(), posicao);  // the same index record points at the new text
  EXPECT_EQ(Le(posicao), std::pair(S_OK, std::string("texto novo, mais longo")));
  // The old text stays: the heap only grows by the new text and its NUL.
  EXPECT_EQ(std::filesystem::file_size(Textos()), heapAntes + 23);
  ASSERT_EQ(Grava(posicao, ""), S_OK);
  EXPECT_EQ(Existe(), 0);
  EXPECT_EQ(std::filesystem::file_size(Indice()), 5 * kNoteIndexRecordSize);

  // Index failures are returned.
  {
    FileFaultsGuard guard;
    FileFaults::Arm(FileOp::Write, 1, CFileException::hardIO, kNoteIndexFileName, 1000);
    EXPECT_EQ(Grava(2, "segunda"), ARQ_ERRO_DE_LEITURA_GRAVACAO);
    EXPECT_EQ(Grava(0, "terceira"), ARQ_ERRO_DE_LEITURA_GRAVACAO);
  }
  EXPECT_EQ(std::filesystem::file_size(Indice()), 5 * kNoteIndexRecordSize);
  EXPECT_EQ(Le(2), std::pair(S_OK, std::string("outra")));

  FileFaultsGuard guard;
  FileFaults::Arm(FileOp::Read, 1, CFileException::hardIO, kNoteIndexFileName, 1000);
  const auto [hr, texto] = Le(2);
  EXPECT_TRUE(hr > 0 && hr <= 0xFFFF) << hr;  // a record-layer status, not a failure code
  EXPECT_EQ(texto, "");
}

}  // namespace
}  // namespace qx
