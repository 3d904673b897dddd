// CQXarq: opening, bad input, controlled creation through "QXCTLARQ.DAT".
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "arq_support.h"
#include "storage/arq_status.h"
#include "storage/qx_arq.h"

namespace {

using qx_test::Conteudo;
using qx_test::Escreve;
using qx_test::Existe;
using qx_test::PastaTemporaria;

std::string Entrada(const std::string& nome) {
  std::string entrada = nome;
  entrada.resize(32, '\0');
  return entrada;
}

TEST(ArqAbre, ModeLettersAndBadInput) {
  PastaTemporaria pasta;
  const std::string caminho = pasta / "modo.dat";
  Escreve(caminho, std::string(10, 'x'));
  CQXarq arquivo;
  EXPECT_EQ(arquivo.Fecha(), ARQ_NADA_FEITO);  // never opened
  EXPECT_EQ(arquivo.Abre(caminho.c_str(), ' ', 10, true), ARQ_PARAMETRO_INVALIDO);
  EXPECT_EQ(arquivo.Abre(caminho.c_str(), 'g', 10, true), ARQ_PARAMETRO_INVALIDO);
  EXPECT_EQ(arquivo.Abre("", 'G', 10, true), ARQ_PARAMETRO_INVALIDO);
  EXPECT_EQ(arquivo.Abre(nullptr, 'G', 10, true), ARQ_PARAMETRO_INVALIDO);
  EXPECT_EQ(arquivo.Abre(caminho.c_str(), 'G', 0, true), ARQ_PARAMETRO_INVALIDO);
  EXPECT_EQ(arquivo.Abre(caminho.c_str(), 'G', 65537, true), ARQ_PARAMETRO_INVALIDO);
  EXPECT_EQ(arquivo.Abre((pasta / "falta.dat").c_str(), 'G', 10, false), ARQ_NAO_ENCONTRADO);
  EXPECT_EQ(arquivo.Abre((pasta / "falta.dat").c_str(), 'L', 10, false), ARQ_NAO_ENCONTRADO);
  EXPECT_EQ(arquivo.Fecha(), ARQ_NADA_FEITO);
  EXPECT_EQ(qx_test::QuantidadeDeArquivos(pasta.Caminho()), 1);  // nothing created

  ASSERT_EQ(arquivo.Abre(caminho.c_str(), 'L', 10, false), 0);
  EXPECT_STREQ(arquivo.GetNomeArquivo(), "modo.dat");
  uint32_t posicao = 0;
  EXPECT_EQ(arquivo.Grava("0123456789", &posicao, 10), ARQ_ACESSO_NEGADO);  // read only
  ASSERT_EQ(arquivo.Abre(caminho.c_str(), 'G', 10, false), 0);              // reopens
  ASSERT_EQ(arquivo.Abre(caminho.c_str(), 'C', 10, false), 0);
  EXPECT_EQ(arquivo.Fecha(), 0);
  EXPECT_EQ(Conteudo(caminho), "");  // 'C' empties the file
}

TEST(ArqAbre, PathsLongerThan259CharactersAreRefused) {
  PastaTemporaria pasta;
  const std::string base = pasta.Caminho() + "/";
  CQXarq arquivo;
  for (size_t tamanho : {260u, 261u, 300u}) {
    const std::string caminho = base + std::string(tamanho - base.size(), 'n');
    EXPECT_EQ(arquivo.Abre(caminho.c_str(), 'C', 50, true), ARQ_CAMINHO_INVALIDO) << tamanho;
    EXPECT_EQ(arquivo.Abre(caminho.c_str(), 'G', 50, true), ARQ_CAMINHO_INVALIDO) << tamanho;
  }
  EXPECT_EQ(qx_test::QuantidadeDeArquivos(pasta.Caminho()), 0);
  const std::string aceito = base + std::string(259 - base.size() - 4, 'n') + ".dat";
  ASSERT_EQ(aceito.size(), 259u);
  EXPECT_EQ(arquivo.Abre(aceito.c_str(), 'G', 50, true), 0);
}

TEST(ArqCriacaoControlada, CreatesOnceWithAZeroRecordAndRefusesAVanishedFile) {
  PastaTemporaria pasta;
  const std::string caminho = pasta / "cnlc0324.dat";
  CQXarq arquivo;
  ASSERT_EQ(arquivo.Abre(caminho.c_str(), 'G', 50, true), 0);
  char lido[50];
  EXPECT_EQ(arquivo.Le(1, lido), ARQ_FIM_DE_ARQUIVO);
  EXPECT_EQ(arquivo.Fecha(), 0);
  EXPECT_EQ(Conteudo(caminho), std::string(50, '\0'));
  EXPECT_EQ(Conteudo(pasta / "QXCTLARQ.DAT"), std::string(32, '\0') + Entrada("CNLC0324.DAT"));

  // A second file of the folder is appended to the list.
  ASSERT_EQ(arquivo.Abre((pasta / "CNLG0324.DAT").c_str(), 'L', 20, true), 0);
  arquivo.Fecha();
  EXPECT_EQ(Conteudo(pasta / "CNLG0324.DAT"), std::string(20, '\0'));
  EXPECT_EQ(Conteudo(pasta / "QXCTLARQ.DAT"),
            std::string(32, '\0') + Entrada("CNLC0324.DAT") + Entrada("CNLG0324.DAT"));

  // Once created and then gone, the file is not made again.
  std::filesystem::remove(caminho);
  EXPECT_EQ(arquivo.Abre(caminho.c_str(), 'G', 50, true), ARQ_NAO_ENCONTRADO);
  EXPECT_EQ(arquivo.Abre((pasta / "CNLC0324.DAT").c_str(), 'G', 50, true), ARQ_NAO_ENCONTRADO);
  EXPECT_FALSE(Existe(caminho));
  EXPECT_EQ(Conteudo(pasta / "QXCTLARQ.DAT").size(), 96u);
  // An existing file is opened without consulting the list.
  Escreve(caminho, std::string(50, '\0'));
  EXPECT_EQ(arquivo.Abre(caminho.c_str(), 'G', 50, true), 0);
}

TEST(ArqCriacaoControlada, NamesAreCutTo30Characters) {
  PastaTemporaria pasta;
  const std::string longo = "arquivo_com_um_nome_bem_comprido_01.dat";  // 39 characters
  const std::string mesmoInicio = "ARQUIVO_COM_UM_NOME_BEM_COMPRIDO_02.DAT";
  CQXarq arquivo;
  ASSERT_EQ(arquivo.Abre((pasta / longo).c_str(), 'G', 8, true), 0);
  arquivo.Fecha();
  EXPECT_EQ(Conteudo(pasta / "QXCTLARQ.DAT"),
            std::string(32, '\0') + Entrada("ARQUIVO_COM_UM_NOME_BEM_COMPRI"));
  // Agreeing in the first 30 characters, the other name counts as created already.
  EXPECT_EQ(arquivo.Abre((pasta / mesmoInicio).c_str(), 'G', 8, true), ARQ_NAO_ENCONTRADO);
  EXPECT_FALSE(Existe(pasta / mesmoInicio));
}

TEST(ArqCriacaoControlada, ControlFileProblems) {
  PastaTemporaria pasta;
  CQXarq arquivo;
  // A folder that does not exist: nothing can be created, and the open says so.
  EXPECT_NE(arquivo.Abre((pasta / "falta/x.dat").c_str(), 'G', 8, true), 0);
  EXPECT_FALSE(Existe(pasta / "falta"));
  // A control file cut in the middle of an entry: the entry is completed over it.
  Escreve(pasta / "QXCTLARQ.DAT", std::string(32, '\0') + "PARTIAL");
  ASSERT_EQ(arquivo.Abre((pasta / "novo.dat").c_str(), 'G', 8, true), 0);
  arquivo.Fecha();
  EXPECT_EQ(Conteudo(pasta / "QXCTLARQ.DAT"), std::string(32, '\0') + Entrada("NOVO.DAT"));
  // An empty control file gets its header first.
  Escreve(pasta / "QXCTLARQ.DAT", "");
  ASSERT_EQ(arquivo.Abre((pasta / "outro.dat").c_str(), 'G', 8, true), 0);
  arquivo.Fecha();
  EXPECT_EQ(Conteudo(pasta / "QXCTLARQ.DAT"), std::string(32, '\0') + Entrada("OUTRO.DAT"));
}

}  // namespace
