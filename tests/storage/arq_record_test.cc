// CQXarq: record format, the write-position rule, reading through the buffer.
#include <gtest/gtest.h>

#include <string>

#include "arq_support.h"
#include "storage/arq_status.h"
#include "storage/qx_arq.h"

namespace {

using qx_test::Conteudo;
using qx_test::Escreve;
using qx_test::PastaTemporaria;

std::string Registro(char letra, size_t tamanho = 50) { return std::string(tamanho, letra); }

TEST(ArqGrava, PositionZeroAppendsAndReturnsTheNewNumber) {
  PastaTemporaria pasta;
  const std::string caminho = pasta / "CNLC0324.DAT";
  Escreve(caminho, std::string(50, '\0'));
  CQXarq arquivo;
  ASSERT_EQ(arquivo.Abre(caminho.c_str(), 'G', 50, false), 0);
  uint32_t posicao = 0;
  EXPECT_EQ(arquivo.Grava(Registro('a').data(), &posicao, 50), 0);
  EXPECT_EQ(posicao, 1u);
  posicao = 0;
  EXPECT_EQ(arquivo.Grava(Registro('b').data(), &posicao, 50), 0);
  EXPECT_EQ(posicao, 2u);
  posicao = 1;  // rewrite in place
  EXPECT_EQ(arquivo.Grava(Registro('c').data(), &posicao, 50), 0);
  EXPECT_EQ(posicao, 1u);
  EXPECT_EQ(arquivo.Fecha(), 0);
  EXPECT_EQ(Conteudo(caminho), std::string(50, '\0') + Registro('c') + Registro('b'));
}

TEST(ArqGrava, EmptyFileTakesTheFirstWriteAtOffsetZeroOrAHeaderBeforePositionOne) {
  PastaTemporaria pasta;
  CQXarq arquivo;
  ASSERT_EQ(arquivo.Abre((pasta / "zero.dat").c_str(), 'C', 50, false), 0);
  uint32_t posicao = 0;
  EXPECT_EQ(arquivo.Grava(Registro('h').data(), &posicao, 50), 0);
  EXPECT_EQ(posicao, 0u);
  arquivo.Fecha();
  EXPECT_EQ(Conteudo(pasta / "zero.dat"), Registro('h'));

  ASSERT_EQ(arquivo.Abre((pasta / "um.dat").c_str(), 'C', 50, false), 0);
  posicao = 1;
  EXPECT_EQ(arquivo.Grava(Registro('r').data(), &posicao, 50), 0);
  EXPECT_EQ(posicao, 1u);
  arquivo.Fecha();
  EXPECT_EQ(Conteudo(pasta / "um.dat"), std::string(50, '\0') + Registro('r'));
}

TEST(ArqGrava, RefusedPositionsWriteNothingAndAreLogged) {
  PastaTemporaria pasta;
  const std::string caminho = pasta / "CNLG0324.DAT";
  const std::string antes = std::string(20, '\0') + Registro('x', 20);
  Escreve(caminho, antes);
  CQXarq arquivo;
  ASSERT_EQ(arquivo.Abre(caminho.c_str(), 'G', 20, false), 0);
  uint32_t posicao = 3;  // two records present (header included): 2 appends, 3 is beyond
  EXPECT_EQ(arquivo.Grava(Registro('y', 20).data(), &posicao, 20), ARQ_POSICAO_ALEM_DO_FIM);
  EXPECT_EQ(posicao, 3u);
  posicao = 0xFFFFFFFFu;
  EXPECT_EQ(arquivo.Grava(Registro('y', 20).data(), &posicao, 20), ARQ_POSICAO_ALEM_DO_FIM);
  EXPECT_EQ(arquivo.ValidaPosicaoGravacao(-1, 20), E_QXARQ_POSICAO_NEGATIVA);
  EXPECT_EQ(arquivo.ValidaPosicaoGravacao(2, 20), S_OK);
  EXPECT_EQ(arquivo.Grava(nullptr, &posicao, 20), ARQ_NADA_FEITO);
  EXPECT_EQ(arquivo.Grava(Registro('y', 20).data(), &posicao, 0), ARQ_PARAMETRO_INVALIDO);
  arquivo.Fecha();
  EXPECT_EQ(Conteudo(caminho), antes);

  const std::string log = qx_test::LogDeErros();
  EXPECT_NE(log.find("hr = -2147218828\tDescri\xE7\xE3o = "), std::string::npos);
  EXPECT_NE(log.find("\tArquivo = CNLG0324.DAT\tPosi\xE7\xE3o Grava\xE7\xE3o = -1"),
            std::string::npos);
  EXPECT_NE(log.find("\tQtdRegistros = 2\tPosi\xE7\xE3o Grava\xE7\xE3o = 3"), std::string::npos);
  EXPECT_NE(log.find("hr = ValidaPosicaoGravacao(*IndPos, tamanho)\thr = 0X80040A73"),
            std::string::npos);
}

TEST(ArqLe, ReadsRecordsAndStopsAtTheEnd) {
  PastaTemporaria pasta;
  const std::string caminho = pasta / "dados.dat";
  Escreve(caminho, std::string(50, '\0'));
  CQXarq arquivo;
  ASSERT_EQ(arquivo.Abre(caminho.c_str(), 'G', 50, false), 0);
  char lido[50];
  EXPECT_EQ(arquivo.Le(1, lido), ARQ_FIM_DE_ARQUIVO);  // only the header
  EXPECT_EQ(arquivo.Le(0, lido), 0);
  EXPECT_EQ(std::string(lido, 50), std::string(50, '\0'));
  for (char letra = 'a'; letra <= 'e'; ++letra) {
    uint32_t posicao = 0;
    ASSERT_EQ(arquivo.Grava(Registro(letra).data(), &posicao, 50), 0);
  }
  for (uint32_t n = 1; n <= 5; ++n) {
    ASSERT_EQ(arquivo.Le(n, lido), 0);
    EXPECT_EQ(std::string(lido, 50), Registro(static_cast<char>('a' + n - 1)));
  }
  EXPECT_EQ(arquivo.Le(6, lido), ARQ_FIM_DE_ARQUIVO);
  EXPECT_EQ(arquivo.Le(0xFFFFFFFFu, lido), ARQ_FIM_DE_ARQUIVO);
  // A rewrite is seen by the next read of the same object.
  uint32_t posicao = 3;
  ASSERT_EQ(arquivo.Grava(Registro('z').data(), &posicao, 50), 0);
  ASSERT_EQ(arquivo.Le(3, lido), 0);
  EXPECT_EQ(std::string(lido, 50), Registro('z'));
  EXPECT_EQ(arquivo.Le(1, nullptr), ARQ_NADA_FEITO);
  EXPECT_EQ(arquivo.Fecha(), 0);
  EXPECT_EQ(arquivo.Le(1, lido), ARQ_NADA_FEITO);
}

TEST(ArqLe, PartialLastRecordIsTheEndOfTheFile) {
  PastaTemporaria pasta;
  const std::string caminho = pasta / "cortado.dat";
  Escreve(caminho, std::string(50, '\0') + Registro('a') + Registro('b', 20));
  CQXarq arquivo;
  ASSERT_EQ(arquivo.Abre(caminho.c_str(), 'L', 50, false), 0);
  char lido[50];
  EXPECT_EQ(arquivo.Le(1, lido), 0);
  EXPECT_EQ(arquivo.Le(2, lido), ARQ_FIM_DE_ARQUIVO);
  arquivo.Fecha();
  CQXarq outro;  // also when the partial record is the first read
  ASSERT_EQ(outro.Abre(caminho.c_str(), 'L', 50, false), 0);
  EXPECT_EQ(outro.Le(2, lido), ARQ_FIM_DE_ARQUIVO);
}

TEST(ArqLe, BufferHoldsWholeRecordsOf64KiB) {
  PastaTemporaria pasta;
  const std::string caminho = pasta / "buffer.dat";
  Escreve(caminho, "");
  CQXarq arquivo;
  EXPECT_EQ(arquivo.GetTamanhoBuffer(), 0);
  ASSERT_EQ(arquivo.Abre(caminho.c_str(), 'G', 50, false), 0);
  EXPECT_EQ(arquivo.GetTamanhoBuffer(), 65500);  // 1310 records
  ASSERT_EQ(arquivo.Abre(caminho.c_str(), 'G', 1, false), 0);
  EXPECT_EQ(arquivo.GetTamanhoBuffer(), 65536);
  ASSERT_EQ(arquivo.Abre(caminho.c_str(), 'G', 65536, false), 0);
  EXPECT_EQ(arquivo.GetTamanhoBuffer(), 65536);
  ASSERT_EQ(arquivo.Abre(caminho.c_str(), 'G', 40000, false), 0);
  EXPECT_EQ(arquivo.GetTamanhoBuffer(), 40000);
  arquivo.Fecha();
  EXPECT_EQ(arquivo.GetTamanhoBuffer(), 0);

  // Records on both sides of a buffer boundary (1310 records of 50 bytes).
  std::string conteudo(50, '\0');
  for (int n = 1; n <= 2000; ++n) conteudo += Registro(static_cast<char>('A' + n % 26));
  Escreve(caminho, conteudo);
  ASSERT_EQ(arquivo.Abre(caminho.c_str(), 'L', 50, false), 0);
  char lido[50];
  for (uint32_t n : {1u, 1309u, 1310u, 1311u, 2000u, 5u, 1999u}) {
    ASSERT_EQ(arquivo.Le(n, lido), 0) << n;
    EXPECT_EQ(lido[0], static_cast<char>('A' + n % 26)) << n;
  }
}

TEST(ArqLe, ByteAddressedFileAndByteReads) {
  PastaTemporaria pasta;
  const std::string caminho = pasta / "CNLH0324.DAT";
  Escreve(caminho, " ");
  CQXarq arquivo;
  ASSERT_EQ(arquivo.Abre(caminho.c_str(), 'G', 1, false), 0);
  uint32_t posicao = 0;
  ASSERT_EQ(arquivo.Grava("primeiro\r", &posicao, 9), 0);
  EXPECT_EQ(posicao, 1u);  // with S = 1 the number is the byte offset
  posicao = 0;
  ASSERT_EQ(arquivo.Grava("segundo\r", &posicao, 8), 0);
  EXPECT_EQ(posicao, 10u);
  arquivo.Fecha();

  ASSERT_EQ(arquivo.Abre(caminho.c_str(), 'L', 500, false), 0);
  char texto[500];
  EXPECT_EQ(arquivo.LeBytes(1, 9, texto), 0);
  EXPECT_EQ(std::string(texto, 9), "primeiro\r");
  // A read running past the end keeps what there is and zeroes the rest.
  EXPECT_EQ(arquivo.LeBytes(10, 500, texto), ARQ_FIM_DE_ARQUIVO);
  EXPECT_EQ(std::string(texto, 9), std::string("segundo\r") + '\0');
  EXPECT_EQ(arquivo.LeBytes(18, 1, texto), ARQ_FIM_DE_ARQUIVO);
  EXPECT_EQ(arquivo.LeBytes(-1, 1, texto), ARQ_FIM_DE_ARQUIVO);
  EXPECT_EQ(arquivo.LeBytes(0, 501, texto), ARQ_PARAMETRO_INVALIDO);
  EXPECT_EQ(arquivo.LeBytes(0, 0, texto), ARQ_PARAMETRO_INVALIDO);
}

TEST(ArqPosiciona, ModesAndSequentialReads) {
  PastaTemporaria pasta;
  const std::string caminho = pasta / "pos.dat";
  Escreve(caminho, "0123456789");
  CQXarq arquivo;
  uint32_t tamanho = 99;
  EXPECT_EQ(arquivo.Posiciona('F', 0, &tamanho), ARQ_NADA_FEITO);
  EXPECT_EQ(tamanho, 0u);
  ASSERT_EQ(arquivo.Abre(caminho.c_str(), 'L', 5, false), 0);
  tamanho = 99;
  EXPECT_EQ(arquivo.Posiciona('F', 0, &tamanho), 0);
  EXPECT_EQ(tamanho, 10u);
  char lido[16];
  EXPECT_EQ(arquivo.LeSequencial(1, lido), ARQ_FIM_DE_ARQUIVO);  // at the end
  EXPECT_EQ(arquivo.Posiciona('P', 7, &tamanho), 0);
  EXPECT_EQ(tamanho, 0u);
  EXPECT_EQ(arquivo.LeSequencial(3, lido), 0);
  EXPECT_EQ(std::string(lido, 3), "789");
  EXPECT_EQ(arquivo.Posiciona('P', 10, &tamanho), ARQ_FIM_DE_ARQUIVO);
  EXPECT_EQ(arquivo.Posiciona('I', 0, &tamanho), 0);
  EXPECT_EQ(arquivo.LeSequencial(4, lido), 0);
  EXPECT_EQ(std::string(lido, 4), "0123");
  EXPECT_EQ(arquivo.LeSequencial(7, lido), ARQ_FIM_DE_ARQUIVO);
  EXPECT_EQ(arquivo.Posiciona('X', 0, &tamanho), ARQ_PARAMETRO_INVALIDO);
  EXPECT_EQ(arquivo.Posiciona('F', 0, nullptr), 0);
}

}  // namespace
