// CQXArqEx: deferred opening, the header of empty files, controlled creation
// through "QXCTLARQ.dat", read-only files, record counts, bad input.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "arq_support.h"
#include "storage/arq_status.h"
#include "storage/qx_arq.h"
#include "storage/qx_arq_ex.h"

namespace {

using qx_test::Conteudo;
using qx_test::Escreve;
using qx_test::Existe;
using qx_test::PastaTemporaria;

TEST(ArqExAbre, DeferredAndAutomaticOpening) {
  PastaTemporaria pasta;
  const std::string caminho = pasta / "nota.dat";
  Escreve(caminho, std::string(12, '\0') + std::string(12, 'n'));
  CQXArqEx arquivo;
  EXPECT_EQ(arquivo.Fecha(), 0);
  // The first Abre of an object opens at once whatever the flag says.
  ASSERT_EQ(arquivo.Abre(caminho.c_str(), 'G', 12, false, false), 0);
  EXPECT_TRUE(arquivo.IsOpen());
  EXPECT_EQ(arquivo.GetTamanhoRegistro(), 12u);
  ASSERT_EQ(arquivo.Fecha(), 0);
  EXPECT_FALSE(arquivo.IsOpen());
  // Now the open waits for the first operation that needs the file.
  ASSERT_EQ(arquivo.Abre(caminho.c_str(), 'G', 12, false, false), 0);
  EXPECT_FALSE(arquivo.IsOpen());
  uint32_t posicao = 0;
  EXPECT_EQ(arquivo.Grava(std::string(12, 'm').data(), &posicao), 0);
  EXPECT_TRUE(arquivo.IsOpen());
  EXPECT_EQ(posicao, 2u);
  arquivo.Fecha();
  EXPECT_EQ(arquivo.QuantidadeRegistros(true), 2u);  // opens to count
  EXPECT_EQ(arquivo.QuantidadeRegistros(false), 3u);
  arquivo.Fecha();
  char lido[12];
  ASSERT_EQ(arquivo.Abre(caminho.c_str(), 'L', 12, false, false), 0);
  EXPECT_EQ(arquivo.Le(2, lido), 0);
  EXPECT_EQ(std::string(lido, 12), std::string(12, 'm'));
  // Opening again an open object keeps its mode.
  EXPECT_EQ(arquivo.Abre(caminho.c_str(), 'G', 12, false, true), 0);
  EXPECT_EQ(arquivo.GravaZero(lido, 12), ARQ_ACESSO_NEGADO);
}

TEST(ArqExAbre, EmptyFilesGetTheirHeaderInModeG) {
  PastaTemporaria pasta;
  Escreve(pasta / "vazio.dat", "");
  Escreve(pasta / "leitura.dat", "");
  CQXArqEx arquivo;
  ASSERT_EQ(arquivo.Abre((pasta / "leitura.dat").c_str(), 'L', 8, false, true), 0);
  EXPECT_EQ(arquivo.QuantidadeRegistros(true), 0u);
  ASSERT_EQ(arquivo.Abre((pasta / "vazio.dat").c_str(), 'G', 8, false, true), 0);
  EXPECT_EQ(arquivo.QuantidadeRegistros(true), 0u);
  EXPECT_EQ(arquivo.QuantidadeRegistros(false), 1u);
  arquivo.Fecha();
  EXPECT_EQ(Conteudo(pasta / "vazio.dat"), std::string(8, '\0'));
  EXPECT_EQ(Conteudo(pasta / "leitura.dat"), "");

  CQXArqEx semCabecalho;
  semCabecalho.SetArquivoSemCabecalho(true);
  Escreve(pasta / "bytes.dat", "");
  ASSERT_EQ(semCabecalho.Abre((pasta / "bytes.dat").c_str(), 'G', 8, false, true), 0);
  semCabecalho.Fecha();
  EXPECT_EQ(Conteudo(pasta / "bytes.dat"), "");
}

TEST(ArqExCriacaoControlada, ListsNamesAsWrittenAndRefusesVanishedFiles) {
  PastaTemporaria pasta;
  const std::string nome = "Nota_Explicativa_de_32_letras.Dt";  // 32 characters
  ASSERT_EQ(nome.size(), 32u);
  CQXArqEx arquivo;
  ASSERT_EQ(arquivo.Abre((pasta / nome).c_str(), 'G', 12, true, true), 0);
  arquivo.Fecha();
  EXPECT_EQ(Conteudo(pasta / nome), std::string(12, '\0'));
  EXPECT_EQ(Conteudo(pasta / "QXCTLARQ.dat"), std::string(32, '\0') + nome);

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

  // Without the control file the file is made again.
  arquivo.SetUsaArquivoControle(false);
  ASSERT_EQ(arquivo.Abre((pasta / nome).c_str(), 'G', 12, true, true), 0);
  EXPECT_EQ(Conteudo(pasta / nome), std::string(12, '\0'));
  // Header-less: created empty.
  CQXArqEx semCabecalho;
  semCabecalho.SetArquivoSemCabecalho(true);
  ASSERT_EQ(semCabecalho.Abre((pasta / "CNNTEXCP.DAT").c_str(), 'G', 1, true, true), 0);
  EXPECT_EQ(Conteudo(pasta / "CNNTEXCP.DAT"), "");
}

TEST(ArqExAbre, ReadOnlyFileIsReportedAsSuch) {
  PastaTemporaria pasta;
  const std::string caminho = pasta / "protegido.dat";
  Escreve(caminho, std::string(8, '\0'));
  std::filesystem::permissions(caminho, std::filesystem::perms::owner_read |
                                            std::filesystem::perms::group_read |
                                            std::filesystem::perms::others_read);
  CQXArqEx arquivo;
  EXPECT_EQ(arquivo.Abre(caminho.c_str(), 'G', 8, false, true), ARQ_SOMENTE_LEITURA);
  EXPECT_EQ(arquivo.Abre(caminho.c_str(), 'L', 8, false, true), 0);
  arquivo.Fecha();
  // Access denied on a writable file stays access denied.
  const std::string livre = pasta / "livre.dat";
  Escreve(livre, std::string(8, '\0'));
  qx::FileFaultsGuard limpa;
  qx::FileFaults::Arm(qx::FileOp::Open, 1, CFileException::accessDenied, "livre", 200);
  EXPECT_EQ(arquivo.Abre(livre.c_str(), 'G', 8, false, true), ARQ_ACESSO_NEGADO);
}

TEST(ArqExAbre, BadInputGivesCodesAndTouchesNothing) {
  PastaTemporaria pasta;
  const std::string caminho = pasta / "bom.dat";
  Escreve(caminho, std::string(10, '\0') + std::string(10, 'b'));
  CQXArqEx arquivo;
  EXPECT_EQ(arquivo.Abre(caminho.c_str(), ' ', 10, true, true), ARQ_PARAMETRO_INVALIDO);
  EXPECT_EQ(arquivo.Abre(caminho.c_str(), 'G', 0, true, true), ARQ_PARAMETRO_INVALIDO);
  EXPECT_EQ(arquivo.Abre("", 'G', 10, true, true), ARQ_PARAMETRO_INVALIDO);
  EXPECT_EQ(arquivo.Abre(nullptr, 'G', 10, true, true), ARQ_PARAMETRO_INVALIDO);
  EXPECT_EQ(arquivo.QuantidadeRegistros(false), 0u);
  ASSERT_EQ(arquivo.Abre(caminho.c_str(), 'G', 10, false, true), 0);
  // A path too long leaves the object aimed at nothing rather than at the last file.
  const std::string longo = pasta.Caminho() + "/" + std::string(300, 'x');
  EXPECT_EQ(arquivo.Abre(longo.c_str(), 'G', 10, true, false), ARQ_CAMINHO_INVALIDO);
  EXPECT_FALSE(arquivo.IsOpen());
  uint32_t posicao = 0;
  EXPECT_EQ(arquivo.Grava("0123456789", &posicao), ARQ_PARAMETRO_INVALIDO);
  char lido[10];
  EXPECT_EQ(arquivo.Le(1, lido), ARQ_PARAMETRO_INVALIDO);
  EXPECT_EQ(arquivo.Grava(nullptr, &posicao), ARQ_NADA_FEITO);
  EXPECT_EQ(Conteudo(caminho), std::string(10, '\0') + std::string(10, 'b'));
  EXPECT_EQ(qx_test::QuantidadeDeArquivos(pasta.Caminho()), 1);
  // A record size of 0 for the open file: refused, and the file is closed.
  ASSERT_EQ(arquivo.Abre(caminho.c_str(), 'G', 10, false, true), 0);
  EXPECT_EQ(arquivo.Abre(caminho.c_str(), 'G', 0, false, false), ARQ_PARAMETRO_INVALIDO);
  EXPECT_FALSE(arquivo.IsOpen());
  EXPECT_EQ(arquivo.QuantidadeRegistros(false), 0u);
  // A missing file without creation.
  EXPECT_EQ(arquivo.Abre((pasta / "falta.dat").c_str(), 'G', 10, false, true), ARQ_NAO_ENCONTRADO);
  EXPECT_EQ(arquivo.QuantidadeRegistros(false), 0u);
  // Write positions as for CQXarq.
  ASSERT_EQ(arquivo.Abre(caminho.c_str(), 'G', 10, false, true), 0);
  posicao = 3;
  EXPECT_EQ(arquivo.Grava("0123456789", &posicao), ARQ_POSICAO_ALEM_DO_FIM);
  EXPECT_EQ(arquivo.ValidaPosicaoGravacao(-5, 10), E_QXARQ_POSICAO_NEGATIVA);
  EXPECT_EQ(Conteudo(caminho), std::string(10, '\0') + std::string(10, 'b'));
}

}  // namespace
