// CArquivo: the bufferless sibling used to create files.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "arq_support.h"
#include "storage/arq_status.h"
#include "storage/arquivo.h"

namespace {

using namespace qx_test;

TEST(Arquivo, WritesAndReadsTheLeadingBytes) {
  PastaTemporaria pasta;
  const std::string caminho = pasta / "CNDIFDC.DAT";
  CArquivo arquivo;
  EXPECT_EQ(arquivo.Fecha(), 0);  // nothing open: still 0
  ASSERT_EQ(arquivo.Abre(caminho.c_str(), 'C', 18, false), 0);
  const std::string zeros(18, '\0');
  EXPECT_EQ(arquivo.GravaBytes(zeros.data(), 18, 'I'), 0);  // zero bytes are data too
  EXPECT_EQ(arquivo.GravaBytes("fim", 3, 'F'), 0);
  EXPECT_EQ(arquivo.GravaBytes("INI", 3, 'I'), 0);
  EXPECT_EQ(arquivo.GravaBytes("x", 1, 'X'), ARQ_PARAMETRO_INVALIDO);
  EXPECT_EQ(arquivo.GravaBytes(nullptr, 1, 'I'), ARQ_PARAMETRO_INVALIDO);
  EXPECT_EQ(arquivo.GravaZero(nullptr, 1), ARQ_NADA_FEITO);
  char lido[21];
  EXPECT_EQ(arquivo.LeZero(lido, 21), 0);
  EXPECT_EQ(std::string(lido, 21), "INI" + std::string(15, '\0') + "fim");
  uint32_t tamanho = 0;
  EXPECT_EQ(arquivo.Posiciona('F', 0, &tamanho), 0);
  EXPECT_EQ(tamanho, 21u);
  EXPECT_EQ(arquivo.Fecha(), 0);
  EXPECT_EQ(ReadText(caminho).size(), 21u);

  // Larger than one 64 KiB piece, both ways.
  const std::string grande(200000, 'g');
  ASSERT_EQ(arquivo.Abre(caminho.c_str(), 'C', 18, false), 0);
  EXPECT_EQ(arquivo.GravaBytes(grande.data(), 200000, 'F'), 0);
  std::string volta(200001, '\0');
  EXPECT_EQ(arquivo.LeZero(volta.data(), 200000), 0);
  EXPECT_EQ(volta.substr(0, 200000), grande);
  EXPECT_EQ(arquivo.LeZero(volta.data(), 200001), ARQ_FIM_DE_ARQUIVO);
}

TEST(Arquivo, CreatesOnlyWithARecordSizeAndAShortFolder) {
  PastaTemporaria pasta;
  CArquivo arquivo;
  EXPECT_EQ(arquivo.Abre((pasta / "sem.dat").c_str(), 'G', 0, true), ARQ_NAO_ENCONTRADO);
  EXPECT_EQ(arquivo.Abre((pasta / "sem.dat").c_str(), 'G', 18, false), ARQ_NAO_ENCONTRADO);
  EXPECT_FALSE(Existe(pasta / "sem.dat"));
  ASSERT_EQ(arquivo.Abre((pasta / "com.dat").c_str(), 'G', 18, true), 0);
  EXPECT_STREQ(arquivo.GetNomeArquivo(), "com.dat");
  arquivo.Fecha();
  EXPECT_EQ(ReadText(pasta / "com.dat"), std::string(18, '\0'));
  EXPECT_EQ(ReadText(pasta / "QXCTLARQ.DAT").substr(32, 8), std::string("COM.DAT") + '\0');
  EXPECT_EQ(arquivo.Abre((pasta / "com.dat").c_str(), ' ', 18, true), ARQ_PARAMETRO_INVALIDO);

  // The folder of a created file, separator included, must be shorter than 200 characters.
  const std::string longa = pasta.path() + "/" + std::string(198 - pasta.path().size(), 'p');
  ASSERT_EQ(longa.size(), 199u);
  std::filesystem::create_directory(longa);
  EXPECT_EQ(arquivo.Abre((longa + "/x.dat").c_str(), 'G', 18, true), ARQ_CAMINHO_INVALIDO);
  EXPECT_FALSE(Existe(longa + "/x.dat"));
  WriteText(longa + "/x.dat", "existe");  // existing files open at any folder length
  EXPECT_EQ(arquivo.Abre((longa + "/x.dat").c_str(), 'G', 18, true), 0);
  const std::string curta = longa.substr(0, 198);
  std::filesystem::create_directory(curta);
  EXPECT_EQ(arquivo.Abre((curta + "/x.dat").c_str(), 'G', 18, true), 0);
}

}  // namespace
