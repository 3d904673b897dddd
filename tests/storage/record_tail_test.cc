// Appends of both record-file classes go to the end of the whole records: a
// partial record at the end of a file (a write that stopped part way) reads
// as the end and is written over, and a write that fails part way is cut back
// so that no partial record stays, with injected failures and on a full disk.
#include <gtest/gtest.h>

#include <string>

#include "../platform/small_disk.h"
#include "arq_support.h"
#include "storage/arq_status.h"
#include "storage/qx_arq.h"
#include "storage/qx_arq_ex.h"

namespace {

using namespace qx_test;

constexpr uint32_t S = 50;

std::string Registro(char letra) { return std::string(S, letra); }

// One record file of either class, opened for writing without creation.
class Arquivo {
 public:
  explicit Arquivo(bool ex) : ex_(ex) {}
  int Abre(const std::string& c) {
    return ex_ ? e_.Abre(c.c_str(), 'G', S, false, true) : a_.Abre(c.c_str(), 'G', S, false);
  }
  int Grava(char letra, uint32_t* posicao) {
    const std::string registro = Registro(letra);
    return ex_ ? e_.Grava(registro.data(), posicao) : a_.Grava(registro.data(), posicao, S);
  }
  // Appends `quantos` of the records 'x', 'y', 'z' at once (CQXarq only).
  int Anexa(uint32_t quantos, uint32_t* primeira) {
    const std::string tres = Registro('x') + Registro('y') + Registro('z');
    return a_.Anexa(tres.data(), quantos, primeira);
  }
  int Le(uint32_t posicao, char* destino) {
    return ex_ ? e_.Le(posicao, destino) : a_.Le(posicao, destino);
  }

 private:
  bool ex_;
  CQXarq a_;
  CQXArqEx e_;
};

const std::string kCabecalho(S, '\0');

struct Caso {
  const char* nome;
  std::string antes;     // the file before the write
  uint32_t posicao;      // where record 'b' is written (0 appends)
  int causa;             // injected failure of the first write attempt, 0 for none
  uint32_t escritos;     // bytes that attempt writes before it fails
  int status;            // what Grava returns
  std::string depois;    // the file after it
  uint32_t quantos = 1;  // records written: 1 with Grava, more (or none) at once with Anexa
};

const Caso kCasos[] = {
    {"partial tail appended over", kCabecalho + Registro('a') + std::string(34, 'p'), 0, 0, 0, 0,
     kCabecalho + Registro('a') + Registro('b')},
    {"partial tail written over at its position", kCabecalho + Registro('a') + std::string(34, 'p'),
     2, 0, 0, 0, kCabecalho + Registro('a') + Registro('b')},
    {"short append cut back", kCabecalho + Registro('a'), 0, CFileException::hardIO, 34,
     ARQ_ERRO_DE_LEITURA_GRAVACAO, kCabecalho + Registro('a')},
    {"short append over a partial tail cut back", kCabecalho + Registro('a') + std::string(10, 'p'),
     0, CFileException::hardIO, 34, ARQ_ERRO_DE_LEITURA_GRAVACAO, kCabecalho + Registro('a')},
    {"short append retried whole", kCabecalho + Registro('a'), 0, CFileException::diskFull, 34, 0,
     kCabecalho + Registro('a') + Registro('b')},
    {"short rewrite in place stays in place", kCabecalho + Registro('a') + Registro('c'), 1,
     CFileException::hardIO, 34, ARQ_ERRO_DE_LEITURA_GRAVACAO,
     kCabecalho + std::string(34, 'b') + std::string(16, 'a') + Registro('c')},
    {"records appended at once after the whole records",
     kCabecalho + Registro('a') + std::string(34, 'p'), 0, 0, 0, 0,
     kCabecalho + Registro('a') + Registro('x') + Registro('y') + Registro('z'), 3},
    {"records appended at once, none left by a failure part way", kCabecalho + Registro('a'), 0,
     CFileException::hardIO, 70, ARQ_ERRO_DE_LEITURA_GRAVACAO, kCabecalho + Registro('a'), 3},
    {"no records is no append", kCabecalho, 0, 0, 0, ARQ_PARAMETRO_INVALIDO, kCabecalho, 0},
};

TEST(RecordTail, AppendsGoToTheEndOfTheWholeRecords) {
  for (const bool ex : {false, true}) {
    for (const Caso& caso : kCasos) {
      if (ex && caso.quantos != 1) continue;
      SCOPED_TRACE(testing::Message() << (ex ? "CQXArqEx: " : "CQXarq: ") << caso.nome);
      PastaTemporaria pasta;
      const std::string caminho = pasta / "CNLC0326.DAT";
      WriteText(caminho, caso.antes);
      Arquivo arquivo(ex);
      ASSERT_EQ(arquivo.Abre(caminho), 0);
      char lido[S];
      // A partial last record is the end of the file.
      const uint32_t inteiros = static_cast<uint32_t>(caso.antes.size() / S);
      EXPECT_EQ(arquivo.Le(inteiros, lido), ARQ_FIM_DE_ARQUIVO);
      qx::FileFaultsGuard guard;
      if (caso.causa != 0) qx::FileFaults::ArmPartialWrite(1, caso.causa, caso.escritos, "CNLC");
      uint32_t posicao = caso.posicao;
      EXPECT_EQ(
          caso.quantos == 1 ? arquivo.Grava('b', &posicao) : arquivo.Anexa(caso.quantos, &posicao),
          caso.status);
      qx::FileFaults::Clear();
      if (caso.status == 0) {
        EXPECT_EQ(posicao, caso.posicao == 0 ? inteiros : caso.posicao);
      }
      EXPECT_EQ(ReadText(caminho), caso.depois);
      // The next append lands right after the whole records.
      posicao = 0;
      ASSERT_EQ(arquivo.Grava('n', &posicao), 0);
      EXPECT_EQ(posicao, caso.depois.size() / S);
      ASSERT_EQ(arquivo.Le(posicao, lido), 0);
      EXPECT_EQ(std::string(lido, S), Registro('n'));
    }
  }
}

TEST(RecordTail, AFullDiskLeavesNoPartialRecord) {
  qx::test::SmallDisk disco;
  if (!disco.Mounted()) GTEST_SKIP() << disco.Reason();
  PastaTemporaria registro;  // the error log stays off the small disk
  for (const bool ex : {false, true}) {
    SCOPED_TRACE(ex ? "CQXArqEx" : "CQXarq");
    // 81 records end 46 bytes before a page boundary: the next one fits only in part.
    const std::string caminho = disco / (ex ? "CNLG0326.DAT" : "CNLC0326.DAT");
    std::string conteudo = kCabecalho;
    for (int i = 0; i < 80; ++i) conteudo += Registro('a');
    WriteText(caminho, conteudo);
    disco.Fill();
    Arquivo arquivo(ex);
    ASSERT_EQ(arquivo.Abre(caminho), 0);
    uint32_t posicao = 0;
    EXPECT_EQ(arquivo.Grava('b', &posicao), ARQ_DISCO_CHEIO);
    EXPECT_EQ(ReadText(caminho), conteudo);
    disco.Free();
    posicao = 0;
    ASSERT_EQ(arquivo.Grava('b', &posicao), 0);
    EXPECT_EQ(posicao, 81u);
    char lido[S];
    ASSERT_EQ(arquivo.Le(81, lido), 0);
    EXPECT_EQ(std::string(lido, S), Registro('b'));
  }
}

}  // namespace
