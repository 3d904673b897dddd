// CQXArqEx: when its buffer is trusted, and when the file is read again.
#include <gtest/gtest.h>

#include <string>

#include "arq_support.h"
#include "storage/arq_status.h"
#include "storage/buffer_versions.h"
#include "storage/qx_arq_ex.h"

namespace {

using qx_test::Escreve;
using qx_test::PastaTemporaria;
using qx_test::Sobrescreve;

std::string Registro(char letra) { return std::string(20, letra); }

// A file of a zero header and three records 'a', 'b', 'c' of 20 bytes.
std::string NovoArquivo(const PastaTemporaria& pasta) {
  const std::string caminho = pasta / "CNLG0324.DAT";
  Escreve(caminho, std::string(20, '\0') + Registro('a') + Registro('b') + Registro('c'));
  return caminho;
}

char Primeiro(CQXArqEx& arquivo, uint32_t registro) {
  char lido[20] = {};
  EXPECT_EQ(arquivo.Le(registro, lido), 0);
  return lido[0];
}

TEST(ArqExBuffer, AWriteThroughAnotherObjectMakesTheNextReadGoToTheFile) {
  PastaTemporaria pasta;
  const std::string caminho = NovoArquivo(pasta);
  CQXArqEx leitor;
  CQXArqEx escritor;
  ASSERT_EQ(leitor.Abre(caminho.c_str(), 'L', 20, false, true), 0);
  ASSERT_EQ(escritor.Abre(caminho.c_str(), 'G', 20, false, true), 0);
  EXPECT_EQ(Primeiro(leitor, 1), 'a');
  // Changed behind the process's back: the buffer still answers.
  Sobrescreve(caminho, 20, Registro('x'));
  EXPECT_EQ(Primeiro(leitor, 1), 'a');
  // A write through another object of the process: the reader reads the file again.
  uint32_t posicao = 3;
  ASSERT_EQ(escritor.Grava(Registro('z').data(), &posicao), 0);
  EXPECT_EQ(Primeiro(leitor, 3), 'z');
  EXPECT_EQ(Primeiro(leitor, 1), 'x');
  // Its own writes, too, are read back from the file.
  posicao = 0;
  ASSERT_EQ(escritor.Grava(Registro('d').data(), &posicao), 0);
  EXPECT_EQ(posicao, 4u);
  EXPECT_EQ(Primeiro(escritor, 4), 'd');
  EXPECT_EQ(Primeiro(leitor, 4), 'd');
}

TEST(ArqExBuffer, ABufferOlderThanSixtySecondsIsReadAgain) {
  PastaTemporaria pasta;
  const std::string caminho = NovoArquivo(pasta);
  qx_test::RelogioManual relogio;
  CQXArqEx arquivo;
  ASSERT_EQ(arquivo.Abre(caminho.c_str(), 'L', 20, false, true), 0);
  EXPECT_EQ(Primeiro(arquivo, 2), 'b');
  Sobrescreve(caminho, 40, Registro('y'));
  relogio.Avanca(60000);
  EXPECT_EQ(Primeiro(arquivo, 2), 'b');  // still within the limit
  relogio.Avanca(1);
  EXPECT_EQ(Primeiro(arquivo, 2), 'y');
}

TEST(ArqExBuffer, TheBufferSurvivesCloseAndReopenOfTheSameFile) {
  PastaTemporaria pasta;
  const std::string caminho = NovoArquivo(pasta);
  CQXArqEx arquivo;
  ASSERT_EQ(arquivo.Abre(caminho.c_str(), 'L', 20, false, true), 0);
  EXPECT_EQ(Primeiro(arquivo, 1), 'a');
  EXPECT_EQ(arquivo.Fecha(), 0);
  EXPECT_EQ(arquivo.Fecha(), 0);
  Sobrescreve(caminho, 20, Registro('q'));
  // Deferred open (the same file under another spelling): the buffer answers
  // without opening the file.
  ASSERT_EQ(arquivo.Abre((pasta / "cnlg0324.dat").c_str(), 'L', 20, false, false), 0);
  EXPECT_FALSE(arquivo.IsOpen());
  EXPECT_EQ(Primeiro(arquivo, 1), 'a');
  EXPECT_FALSE(arquivo.IsOpen());
  // Another file drops the buffer; coming back reads the file.
  const std::string outro = pasta / "outro.dat";
  Escreve(outro, std::string(40, 'o'));
  ASSERT_EQ(arquivo.Abre(outro.c_str(), 'L', 20, false, false), 0);
  EXPECT_TRUE(arquivo.IsOpen());  // no buffer any more: opened at once
  EXPECT_EQ(Primeiro(arquivo, 1), 'o');
  ASSERT_EQ(arquivo.Abre(caminho.c_str(), 'L', 20, false, false), 0);
  EXPECT_EQ(Primeiro(arquivo, 1), 'q');
}

TEST(ArqExBuffer, ReadsAtAndBeyondTheEnd) {
  PastaTemporaria pasta;
  const std::string caminho = NovoArquivo(pasta);  // 80 bytes: records 0 to 3
  CQXArqEx arquivo;
  ASSERT_EQ(arquivo.Abre(caminho.c_str(), 'L', 20, false, true), 0);
  char lido[40];
  const auto linhas = [] {
    const std::string log = qx_test::LogDeErros();
    size_t quantas = 0;
    for (size_t p = log.find("CQXArqEx::Le"); p != std::string::npos;
         p = log.find("CQXArqEx::Le", p + 1)) {
      ++quantas;
    }
    return quantas;
  };
  const size_t antes = linhas();
  EXPECT_EQ(arquivo.Le(4, lido), ARQ_FIM_DE_ARQUIVO);  // exactly at the end
  EXPECT_EQ(arquivo.Le(5, lido), ARQ_FIM_DE_ARQUIVO);  // one record beyond
  EXPECT_EQ(linhas(), antes);
  EXPECT_EQ(arquivo.Le(6, lido), ARQ_FIM_DE_ARQUIVO);  // far beyond: logged
  EXPECT_EQ(linhas(), antes + 1);
  const std::string log = qx_test::LogDeErros();
  EXPECT_NE(log.find("hr = 0x80043E95\tDescri\xE7\xE3o = "), std::string::npos);
  EXPECT_NE(
      log.find("\tArquivo = " + caminho + "\tPosi\xE7\xE3o = 6\tRegistro = 20\tGetLength = 80"),
      std::string::npos);

  // A record size of its own for one read; a record cut by the end of the file.
  std::string destino(40, '#');
  EXPECT_EQ(arquivo.Le(1, destino.data(), 10), 0);
  EXPECT_EQ(destino, std::string(10, '\0') + std::string(30, '#'));
  EXPECT_EQ(arquivo.Le(1, destino.data(), 40), 0);
  EXPECT_EQ(destino, Registro('b') + Registro('c'));
  EXPECT_EQ(arquivo.Le(1, destino.data(), 60), ARQ_FIM_DE_ARQUIVO);
  EXPECT_EQ(arquivo.Le(1, nullptr), ARQ_NADA_FEITO);
  EXPECT_EQ(arquivo.Le(1, lido, 0), ARQ_PARAMETRO_INVALIDO);
}

TEST(ArqExBuffer, VersionMapCountsOpenObjects) {
  PastaTemporaria pasta;
  const std::string caminho = NovoArquivo(pasta);
  const uint64_t chave = qx::ChaveDoCaminho(caminho);
  EXPECT_EQ(chave, qx::ChaveDoCaminho(pasta / "cnlg0324.dat"));
  {
    CQXArqEx um;
    CQXArqEx dois;
    ASSERT_EQ(um.Abre(caminho.c_str(), 'L', 20, false, true), 0);
    ASSERT_EQ(dois.Abre(caminho.c_str(), 'L', 20, false, true), 0);
    EXPECT_EQ(qx::ControleDoBuffer(chave).ulAbertos, 2u);
    const uint32_t versao = qx::ControleDoBuffer(chave).ulVersao;
    EXPECT_GE(versao, 1u);
    EXPECT_EQ(um.GravaZero(std::string(20, '\0').data(), 20), ARQ_ACESSO_NEGADO);  // 'L'
    EXPECT_EQ(qx::ControleDoBuffer(chave).ulVersao, versao + 1);
    um.Fecha();
    um.Fecha();
    EXPECT_EQ(qx::ControleDoBuffer(chave).ulAbertos, 1u);
  }
  EXPECT_EQ(qx::ControleDoBuffer(chave).ulAbertos, 0u);
}

}  // namespace
