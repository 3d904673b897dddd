// CQXArqEx: deferred opening, the header of empty files, controlled creation
// through "QXCTLARQ.dat", bad input, and when its buffer is trusted.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "arq_support.h"
#include "storage/arq_status.h"
#include "storage/buffer_versions.h"
#include "storage/qx_arq.h"
#include "storage/qx_arq_ex.h"

namespace {

using namespace qx_test;

std::string Registro(char letra) { return std::string(20, letra); }

char Primeiro(CQXArqEx& arquivo, uint32_t registro) {
  char lido[20] = {};
  EXPECT_EQ(arquivo.Le(registro, lido), 0);
  return lido[0];
}

// Each test with an object and, in its folder, a file of a zero header and
// three records 'a', 'b', 'c' of 20 bytes.
class ArqEx : public ::testing::Test {
 protected:
  ArqEx() {
    WriteText(caminho, std::string(20, '\0') + Registro('a') + Registro('b') + Registro('c'));
  }
  PastaTemporaria pasta;
  const std::string caminho = pasta / "CNLG0324.DAT";
  CQXArqEx arquivo;
};

TEST_F(ArqEx, DeferredAndAutomaticOpening) {
  const std::string nota = pasta / "nota.dat";
  WriteText(nota, std::string(12, '\0') + std::string(12, 'n'));
  EXPECT_EQ(arquivo.Fecha(), 0);
  // The first Abre of an object opens at once whatever the flag says.
  ASSERT_EQ(arquivo.Abre(nota.c_str(), 'G', 12, false, false), 0);
  EXPECT_TRUE(arquivo.IsOpen());
  ASSERT_EQ(arquivo.Fecha(), 0);
  EXPECT_FALSE(arquivo.IsOpen());
  // Now the open waits for the first operation that needs the file.
  ASSERT_EQ(arquivo.Abre(nota.c_str(), 'G', 12, false, false), 0);
  EXPECT_FALSE(arquivo.IsOpen());
  uint32_t posicao = 0;
  EXPECT_EQ(arquivo.Grava(std::string(12, 'm').data(), &posicao), 0);
  EXPECT_TRUE(arquivo.IsOpen());
  EXPECT_EQ(posicao, 2u);
  arquivo.Fecha();
  EXPECT_EQ((std::tuple{arquivo.QuantidadeRegistros(true), arquivo.QuantidadeRegistros(false)}),
            std::tuple(2u, 3u));  // opens to count
  arquivo.Fecha();
  char lido[12];
  ASSERT_EQ(arquivo.Abre(nota.c_str(), 'L', 12, false, false), 0);
  EXPECT_EQ(arquivo.Le(2, lido), 0);
  EXPECT_EQ(std::string(lido, 12), std::string(12, 'm'));
  // Opening again an open object keeps its mode.
  EXPECT_EQ(arquivo.Abre(nota.c_str(), 'G', 12, false, true), 0);
  EXPECT_EQ(arquivo.GravaZero(lido, 12), ARQ_ACESSO_NEGADO);
}

TEST_F(ArqEx, EmptyFilesGetTheirHeaderInModeGAndReadOnlyFilesAreReported) {
  for (const char* nome : {"vazio.dat", "leitura.dat", "bytes.dat"}) WriteText(pasta / nome, "");
  ASSERT_EQ(arquivo.Abre((pasta / "leitura.dat").c_str(), 'L', 8, false, true), 0);
  EXPECT_EQ(arquivo.QuantidadeRegistros(true), 0u);
  ASSERT_EQ(arquivo.Abre((pasta / "vazio.dat").c_str(), 'G', 8, false, true), 0);
  EXPECT_EQ((std::tuple{arquivo.QuantidadeRegistros(true), arquivo.QuantidadeRegistros(false)}),
            std::tuple(0u, 1u));
  arquivo.Fecha();
  CQXArqEx semCabecalho;
  semCabecalho.SetArquivoSemCabecalho(true);
  ASSERT_EQ(semCabecalho.Abre((pasta / "bytes.dat").c_str(), 'G', 8, false, true), 0);
  semCabecalho.Fecha();
  EXPECT_EQ(std::tuple(ReadText(pasta / "vazio.dat"), ReadText(pasta / "leitura.dat"),
                       ReadText(pasta / "bytes.dat")),
            std::tuple(std::string(8, '\0'), "", ""));

  std::filesystem::permissions(pasta / "leitura.dat", std::filesystem::perms::owner_read);
  EXPECT_EQ(arquivo.Abre((pasta / "leitura.dat").c_str(), 'G', 8, false, true),
            ARQ_SOMENTE_LEITURA);
  EXPECT_EQ(arquivo.Abre((pasta / "leitura.dat").c_str(), 'L', 8, false, true), 0);
  // Access denied on a writable file stays access denied.
  qx::FileFaultsGuard limpa;
  qx::FileFaults::Arm(qx::FileOp::Open, 1, CFileException::accessDenied, "vazio", 200);
  EXPECT_EQ(arquivo.Abre((pasta / "vazio.dat").c_str(), 'G', 8, false, true), ARQ_ACESSO_NEGADO);
}

TEST_F(ArqEx, ListsNamesAsWrittenAndRefusesVanishedFiles) {
  const std::string nome = "Nota_Explicativa_de_32_letras.Dt";
  ASSERT_EQ(nome.size(), 32u);
  ASSERT_EQ(arquivo.Abre((pasta / nome).c_str(), 'G', 12, true, true), 0);
  arquivo.Fecha();
  EXPECT_EQ(ReadText(pasta / nome), std::string(12, '\0'));
  EXPECT_EQ(ReadText(pasta / "QXCTLARQ.dat"), std::string(32, '\0') + nome);

  std::filesystem::remove(pasta / nome);
  EXPECT_EQ(arquivo.Abre((pasta / nome).c_str(), 'G', 12, true, true), ARQ_NAO_ENCONTRADO);
  // Compared without regard to case, and against the list of CQXarq too.
  CQXArqEx outro;
  EXPECT_EQ(outro.Abre((pasta / "NOTA_EXPLICATIVA_DE_32_LETRAS.DT").c_str(), 'L', 12, true, true),
            ARQ_NAO_ENCONTRADO);
  CQXarq antigo;
  ASSERT_EQ(antigo.Abre((pasta / "cnlc0124.dat").c_str(), 'G', 50, true), 0);
  antigo.Fecha();
  std::filesystem::remove(pasta / "cnlc0124.dat");
  EXPECT_EQ(outro.Abre((pasta / "CNLC0124.DAT").c_str(), 'G', 50, true, true), ARQ_NAO_ENCONTRADO);
  EXPECT_FALSE(Existe(pasta / nome));

  // Without the control file the file is made again; header-less, it is made empty.
  arquivo.SetUsaArquivoControle(false);
  ASSERT_EQ(arquivo.Abre((pasta / nome).c_str(), 'G', 12, true, true), 0);
  EXPECT_EQ(ReadText(pasta / nome), std::string(12, '\0'));
  CQXArqEx semCabecalho;
  semCabecalho.SetArquivoSemCabecalho(true);
  ASSERT_EQ(semCabecalho.Abre((pasta / "CNNTEXCP.DAT").c_str(), 'G', 1, true, true), 0);
  EXPECT_EQ(ReadText(pasta / "CNNTEXCP.DAT"), "");
}

TEST_F(ArqEx, BadInputGivesCodesAndTouchesNothing) {
  const std::string bom = pasta / "bom.dat";
  const std::string antes = std::string(10, '\0') + std::string(10, 'b');
  WriteText(bom, antes);
  EXPECT_EQ((std::vector{arquivo.Abre(bom.c_str(), ' ', 10, true, true),
                         arquivo.Abre(bom.c_str(), 'G', 0, true, true),
                         arquivo.Abre("", 'G', 10, true, true),
                         arquivo.Abre(nullptr, 'G', 10, true, true)}),
            std::vector(4, ARQ_PARAMETRO_INVALIDO));
  EXPECT_EQ(arquivo.QuantidadeRegistros(false), 0u);
  ASSERT_EQ(arquivo.Abre(bom.c_str(), 'G', 10, false, true), 0);
  // A path too long leaves the object aimed at nothing rather than at the last file.
  const std::string longo = pasta.path() + "/" + std::string(300, 'x');
  EXPECT_EQ(arquivo.Abre(longo.c_str(), 'G', 10, true, false), ARQ_CAMINHO_INVALIDO);
  EXPECT_FALSE(arquivo.IsOpen());
  uint32_t posicao = 0;
  char lido[10];
  EXPECT_EQ((std::vector{arquivo.Grava("0123456789", &posicao), arquivo.Le(1, lido),
                         arquivo.Grava(nullptr, &posicao)}),
            (std::vector{ARQ_PARAMETRO_INVALIDO, ARQ_PARAMETRO_INVALIDO, ARQ_NADA_FEITO}));
  // A record size of 0 for the open file: refused, and the file is closed.
  ASSERT_EQ(arquivo.Abre(bom.c_str(), 'G', 10, false, true), 0);
  EXPECT_EQ(arquivo.Abre(bom.c_str(), 'G', 0, false, false), ARQ_PARAMETRO_INVALIDO);
  EXPECT_FALSE(arquivo.IsOpen());
  EXPECT_EQ(arquivo.QuantidadeRegistros(false), 0u);
  EXPECT_EQ(arquivo.Abre((pasta / "falta.dat").c_str(), 'G', 10, false, true), ARQ_NAO_ENCONTRADO);
  EXPECT_EQ(arquivo.QuantidadeRegistros(false), 0u);
  // Write positions as for CQXarq.
  ASSERT_EQ(arquivo.Abre(bom.c_str(), 'G', 10, false, true), 0);
  posicao = 3;
  EXPECT_EQ(arquivo.Grava("0123456789", &posicao), ARQ_POSICAO_ALEM_DO_FIM);
  EXPECT_EQ(ReadText(bom), antes);
  EXPECT_EQ(qx_test::QuantidadeDeArquivos(pasta.path()), 2);
}

TEST_F(ArqEx, AWriteThroughAnotherObjectMakesTheNextReadGoToTheFileAndObjectsAreCounted) {
  CQXArqEx leitor;
  auto escritor = std::make_unique<CQXArqEx>();
  ASSERT_EQ(leitor.Abre(caminho.c_str(), 'L', 20, false, true), 0);
  ASSERT_EQ(escritor->Abre(caminho.c_str(), 'G', 20, false, true), 0);
  EXPECT_EQ(Primeiro(leitor, 1), 'a');
  // Changed behind the process's back: the buffer still answers.
  Sobrescreve(caminho, 20, Registro('x'));
  EXPECT_EQ(Primeiro(leitor, 1), 'a');
  // A write through another object of the process: the reader reads the file again.
  uint32_t posicao = 3;
  ASSERT_EQ(escritor->Grava(Registro('z').data(), &posicao), 0);
  EXPECT_EQ(Primeiro(leitor, 3), 'z');
  EXPECT_EQ(Primeiro(leitor, 1), 'x');
  // Its own writes, too, are read back from the file.
  posicao = 0;
  ASSERT_EQ(escritor->Grava(Registro('d').data(), &posicao), 0);
  EXPECT_EQ(posicao, 4u);
  EXPECT_EQ(Primeiro(*escritor, 4), 'd');
  EXPECT_EQ(Primeiro(leitor, 4), 'd');
  // The version map counts the open objects; a failed write still bumps the version.
  const uint64_t chave = qx::ChaveDoCaminho(caminho);
  EXPECT_EQ(qx::ControleDoBuffer(chave).ulAbertos, 2u);
  const uint32_t versao = qx::ControleDoBuffer(chave).ulVersao;
  EXPECT_EQ(leitor.GravaZero(std::string(20, '\0').data(), 20), ARQ_ACESSO_NEGADO);  // 'L'
  EXPECT_EQ(qx::ControleDoBuffer(chave).ulVersao, versao + 1);
  leitor.Fecha();
  leitor.Fecha();  // a second close counts nothing
  EXPECT_EQ(qx::ControleDoBuffer(chave).ulAbertos, 1u);
  escritor.reset();
  EXPECT_EQ(qx::ControleDoBuffer(chave).ulAbertos, 0u);
}

TEST_F(ArqEx, ABufferOlderThanSixtySecondsIsReadAgainAndSurvivesCloseAndReopen) {
  qx_test::RelogioManual relogio;
  ASSERT_EQ(arquivo.Abre(caminho.c_str(), 'L', 20, false, true), 0);
  EXPECT_EQ(Primeiro(arquivo, 2), 'b');
  Sobrescreve(caminho, 40, Registro('y'));
  relogio.Avanca(60000);
  EXPECT_EQ(Primeiro(arquivo, 2), 'b');  // still within the limit
  relogio.Avanca(1);
  EXPECT_EQ(Primeiro(arquivo, 2), 'y');
  EXPECT_EQ(arquivo.Fecha(), 0);
  EXPECT_EQ(arquivo.Fecha(), 0);  // twice is harmless
  Sobrescreve(caminho, 40, Registro('q'));
  // Deferred open (the same file under another spelling): the buffer answers
  // without opening the file.
  ASSERT_EQ(arquivo.Abre((pasta / "cnlg0324.dat").c_str(), 'L', 20, false, false), 0);
  EXPECT_EQ(Primeiro(arquivo, 2), 'y');
  EXPECT_FALSE(arquivo.IsOpen());
  // Another file drops the buffer; coming back reads the file.
  WriteText(pasta / "outro.dat", std::string(40, 'o'));
  ASSERT_EQ(arquivo.Abre((pasta / "outro.dat").c_str(), 'L', 20, false, false), 0);
  EXPECT_TRUE(arquivo.IsOpen());  // no buffer any more: opened at once
  EXPECT_EQ(Primeiro(arquivo, 1), 'o');
  ASSERT_EQ(arquivo.Abre(caminho.c_str(), 'L', 20, false, false), 0);
  EXPECT_EQ(Primeiro(arquivo, 2), 'q');
}

TEST_F(ArqEx, ReadsAtAndBeyondTheEnd) {
  ASSERT_EQ(arquivo.Abre(caminho.c_str(), 'L', 20, false, true), 0);
  char lido[40];
  const size_t antes = LogDeErros().size();
  // Exactly at the end and one record beyond: not logged.
  EXPECT_EQ((std::vector{arquivo.Le(4, lido), arquivo.Le(5, lido)}),
            std::vector(2, ARQ_FIM_DE_ARQUIVO));
  EXPECT_EQ(LogDeErros().size(), antes);
  EXPECT_EQ(arquivo.Le(6, lido), ARQ_FIM_DE_ARQUIVO);  // far beyond: logged
  ExpectContains(LogDeErros(),
                 {"hr = 0x80043E95\tDescri\xE7\xE3o = ",
                  "\tArquivo = " + caminho + "\tPosi\xE7\xE3o = 6\tRegistro = 20\tGetLength = 80"});

  // A record size of its own for one read; a record cut by the end of the file.
  std::string destino(40, '#');
  EXPECT_EQ(arquivo.Le(1, destino.data(), 10), 0);
  EXPECT_EQ(destino, std::string(10, '\0') + std::string(30, '#'));
  EXPECT_EQ(arquivo.Le(1, destino.data(), 40), 0);
  EXPECT_EQ(destino, Registro('b') + Registro('c'));
  EXPECT_EQ((std::vector{arquivo.Le(1, destino.data(), 60), arquivo.Le(1, nullptr),
                         arquivo.Le(1, lido, 0)}),
            (std::vector{ARQ_FIM_DE_ARQUIVO, ARQ_NADA_FEITO, ARQ_PARAMETRO_INVALIDO}));
}

}  // namespace
