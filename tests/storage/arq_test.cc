// CQXarq: opening, bad input, controlled creation through "QXCTLARQ.DAT", the
// record format, the write-position rule and reading through the buffer; and
// CArquivo, its bufferless sibling used to create files.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "arq_support.h"
#include "storage/arq_status.h"
#include "storage/arquivo.h"
#include "storage/qx_arq.h"

namespace {

using namespace qx_test;

std::string Registro(char letra, size_t tamanho = 50) { return std::string(tamanho, letra); }

// "QXCTLARQ.DAT": a zero entry, then each name upper-cased in 32 bytes.
std::string Controle(const std::vector<std::string>& nomes) {
  std::string conteudo(32, '\0');
  for (std::string nome : nomes) conteudo += (nome.resize(32, '\0'), nome);
  return conteudo;
}

// Writes a record of `letra` at `posicao` (0 appends); the position it went to.
uint32_t Grava(CQXarq& arquivo, char letra, uint32_t posicao, uint32_t tamanho = 50) {
  EXPECT_EQ(arquivo.Grava(Registro(letra, tamanho).data(), &posicao, tamanho), 0) << letra;
  return posicao;
}

// A fresh folder and a record file object for each test.
class Arq : public ::testing::Test {
 protected:
  PastaTemporaria pasta;
  CQXarq arquivo;
};

TEST_F(Arq, ModeLettersAndBadInputCreateNothing) {
  const std::string caminho = pasta / "modo.dat";
  WriteText(caminho, std::string(10, 'x'));
  // Paths over 259 characters.
  const std::string base = pasta.path() + "/";
  const std::string longo = base + std::string(260 - base.size(), 'n');
  const int invalido = ARQ_PARAMETRO_INVALIDO;
  EXPECT_EQ(std::vector({arquivo.Fecha(), arquivo.Abre(caminho.c_str(), ' ', 10, true),
                         arquivo.Abre(caminho.c_str(), 'g', 10, true),
                         arquivo.Abre("", 'G', 10, true), arquivo.Abre(nullptr, 'G', 10, true),
                         arquivo.Abre(caminho.c_str(), 'G', 0, true),
                         arquivo.Abre(caminho.c_str(), 'G', 65537, true),
                         arquivo.Abre((pasta / "falta.dat").c_str(), 'L', 10, false),
                         arquivo.Abre(longo.c_str(), 'C', 50, true), arquivo.Fecha()}),
            std::vector({ARQ_NADA_FEITO, invalido, invalido, invalido, invalido, invalido, invalido,
                         ARQ_NAO_ENCONTRADO, ARQ_CAMINHO_INVALIDO, ARQ_NADA_FEITO}));
  EXPECT_EQ(qx_test::QuantidadeDeArquivos(pasta.path()), 1);
  EXPECT_EQ(ReadText(caminho), std::string(10, 'x'));
  const std::string aceito = base + std::string(259 - base.size() - 4, 'n') + ".dat";
  EXPECT_EQ(arquivo.Abre(aceito.c_str(), 'G', 50, true), 0);

  ASSERT_EQ(arquivo.Abre(caminho.c_str(), 'L', 10, false), 0);
  EXPECT_STREQ(arquivo.GetNomeArquivo(), "modo.dat");
  uint32_t posicao = 0;
  EXPECT_EQ(arquivo.Grava("0123456789", &posicao, 10), ARQ_ACESSO_NEGADO);  // read only
  ASSERT_EQ(arquivo.Abre(caminho.c_str(), 'G', 10, false), 0);              // reopens
  ASSERT_EQ(arquivo.Abre(caminho.c_str(), 'C', 10, false), 0);
  EXPECT_EQ(arquivo.Fecha(), 0);
  EXPECT_EQ(ReadText(caminho), "");  // 'C' empties the file
}

TEST_F(Arq, CreatesOnceWithAZeroRecordRefusesAVanishedFileAndMendsTheList) {
  const std::string caminho = pasta / "cnlc0324.dat";
  ASSERT_EQ(arquivo.Abre(caminho.c_str(), 'G', 50, true), 0);
  char lido[50];
  EXPECT_EQ(arquivo.Le(1, lido), ARQ_FIM_DE_ARQUIVO);
  ASSERT_EQ(arquivo.Abre((pasta / "CNLG0324.DAT").c_str(), 'L', 20, true), 0);
  arquivo.Fecha();
  EXPECT_EQ(ReadText(caminho), std::string(50, '\0'));
  EXPECT_EQ(ReadText(pasta / "CNLG0324.DAT"), std::string(20, '\0'));
  EXPECT_EQ(ReadText(pasta / "QXCTLARQ.DAT"), Controle({"CNLC0324.DAT", "CNLG0324.DAT"}));

  // Once created and then gone, the file is not made again, in any spelling.
  std::filesystem::remove(caminho);
  EXPECT_EQ(arquivo.Abre(caminho.c_str(), 'G', 50, true), ARQ_NAO_ENCONTRADO);
  EXPECT_EQ(arquivo.Abre((pasta / "CNLC0324.DAT").c_str(), 'G', 50, true), ARQ_NAO_ENCONTRADO);
  EXPECT_FALSE(Existe(caminho));
  EXPECT_EQ(ReadText(pasta / "QXCTLARQ.DAT").size(), 96u);
  // An existing file is opened without consulting the list.
  WriteText(caminho, std::string(50, '\0'));
  EXPECT_EQ(arquivo.Abre(caminho.c_str(), 'G', 50, true), 0);

  // Names are cut to 30 characters: agreeing in those, another name counts as created.
  ASSERT_EQ(arquivo.Abre((pasta / "arquivo_com_um_nome_bem_comprido_01.dat").c_str(), 'G', 8, true),
            0);
  EXPECT_EQ(ReadText(pasta / "QXCTLARQ.DAT").substr(96),
            Controle({"ARQUIVO_COM_UM_NOME_BEM_COMPRI"}).substr(32));
  const std::string mesmoInicio = pasta / "ARQUIVO_COM_UM_NOME_BEM_COMPRIDO_02.DAT";
  EXPECT_EQ(arquivo.Abre(mesmoInicio.c_str(), 'G', 8, true), ARQ_NAO_ENCONTRADO);
  EXPECT_FALSE(Existe(mesmoInicio));

  // A folder that does not exist: nothing can be created, and the open says so.
  EXPECT_NE(arquivo.Abre((pasta / "falta/x.dat").c_str(), 'G', 8, true), 0);
  EXPECT_FALSE(Existe(pasta / "falta"));
  // A control file cut in the middle of an entry: the entry is completed over
  // it; an empty one gets its zero entry first.
  for (const std::string& antes : {std::string(32, '\0') + "PARTIAL", std::string()}) {
    WriteText(pasta / "QXCTLARQ.DAT", antes);
    std::filesystem::remove(pasta / "novo.dat");
    ASSERT_EQ(arquivo.Abre((pasta / "novo.dat").c_str(), 'G', 8, true), 0);
    arquivo.Fecha();
    EXPECT_EQ(ReadText(pasta / "QXCTLARQ.DAT"), Controle({"NOVO.DAT"})) << antes.size();
  }
}

// Processes and threads that all find a month missing at once and create it:
// every one of them opens the file that the first made; none reads the
// others' creation as a vanished file.
TEST(ArqCriacaoControlada, OpenersRacingForAMissingFileAllOpenIt) {
  constexpr int kProcessos = 4;
  constexpr int kThreads = 6;
  constexpr int kMeses = 8;
  PastaTemporaria pasta;
  std::vector<std::string> nomes;
  for (int mes = 1; mes <= kMeses; ++mes) nomes.push_back("CNLC0" + std::to_string(mes) + "24.DAT");
  std::vector<std::unique_ptr<qx::test::Child>> processos;
  for (int p = 0; p < kProcessos; ++p) {
    processos.push_back(std::make_unique<qx::test::Child>([&](qx::test::Child& eu) {
      std::atomic<bool> largada{false};
      std::atomic<int> falhas{0};
      std::vector<std::thread> threads;
      for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
          while (!largada) std::this_thread::yield();
          for (const std::string& nome : nomes) {
            CQXarq arquivo;
            // Searches read, saves write: both create the month.
            if (arquivo.Abre((pasta / nome).c_str(), t % 2 == 0 ? 'L' : 'G', 50, true) != 0) {
              ++falhas;
            }
          }
        });
      }
      if (eu.Receive() != 'v') return 99;
      largada = true;
      for (std::thread& thread : threads) thread.join();
      return falhas.load();
    }));
  }
  for (auto& processo : processos) processo->Send('v');
  for (auto& processo : processos) EXPECT_EQ(processo->Wait(), 0) << "failed opens";
  for (const std::string& nome : nomes) {
    EXPECT_EQ(ReadText(pasta / nome), std::string(50, '\0')) << nome;
  }
  // Each month listed once, in whatever order the races gave.
  std::string lido = ReadText(pasta / "QXCTLARQ.DAT");
  for (const std::string& nome : nomes) {
    const size_t entrada = lido.find(Controle({nome}).substr(32));
    ASSERT_NE(entrada, std::string::npos) << nome;
    lido.erase(entrada, 32);
  }
  EXPECT_EQ(lido, Controle({}));
}

TEST_F(Arq, AppendsRewritesAndTheFirstWriteOfAnEmptyFile) {
  const std::string caminho = pasta / "CNLC0324.DAT";
  WriteText(caminho, std::string(50, '\0'));
  ASSERT_EQ(arquivo.Abre(caminho.c_str(), 'G', 50, false), 0);
  // The third in place.
  EXPECT_EQ(std::vector({Grava(arquivo, 'a', 0), Grava(arquivo, 'b', 0), Grava(arquivo, 'c', 1)}),
            std::vector({1u, 2u, 1u}));
  EXPECT_EQ(arquivo.Fecha(), 0);
  EXPECT_EQ(ReadText(caminho), std::string(50, '\0') + Registro('c') + Registro('b'));
  // In an empty file position 0 is offset 0, and position 1 gets a zero header first.
  ASSERT_EQ(arquivo.Abre((pasta / "zero.dat").c_str(), 'C', 50, false), 0);
  EXPECT_EQ(Grava(arquivo, 'h', 0), 0u);
  ASSERT_EQ(arquivo.Abre((pasta / "um.dat").c_str(), 'C', 50, false), 0);
  EXPECT_EQ(Grava(arquivo, 'r', 1), 1u);
  arquivo.Fecha();
  EXPECT_EQ(ReadText(pasta / "zero.dat"), Registro('h'));
  EXPECT_EQ(ReadText(pasta / "um.dat"), std::string(50, '\0') + Registro('r'));
  // A text appended to a heap opened with the text's length as record size
  // goes to the heap's end, not to the end of its whole records.
  WriteText(pasta / "CNNTEXCP.DAT", std::string(10, 't'));
  ASSERT_EQ(arquivo.Abre((pasta / "CNNTEXCP.DAT").c_str(), 'G', 6, false), 0);
  uint32_t texto = 0;
  ASSERT_EQ(arquivo.Grava("texto\0", &texto, 7), 0);
  arquivo.Fecha();
  EXPECT_EQ(ReadText(pasta / "CNNTEXCP.DAT"), std::string(10, 't') + std::string("texto\0", 7));
}

TEST_F(Arq, RefusedPositionsWriteNothingAndAreLogged) {
  const std::string caminho = pasta / "CNLG0324.DAT";
  const std::string antes = std::string(20, '\0') + Registro('x', 20);
  WriteText(caminho, antes);
  ASSERT_EQ(arquivo.Abre(caminho.c_str(), 'G', 20, false), 0);
  for (uint32_t posicao : {3u, 0xFFFFFFFFu}) {  // n = 2 records (header included): n + 1 and on
    const uint32_t pedido = posicao;
    EXPECT_EQ(arquivo.Grava(Registro('y', 20).data(), &posicao, 20), ARQ_POSICAO_ALEM_DO_FIM);
    EXPECT_EQ(posicao, pedido);
  }
  EXPECT_EQ(arquivo.ValidaPosicaoGravacao(-1, 20), E_QXARQ_POSICAO_NEGATIVA);
  EXPECT_EQ(arquivo.ValidaPosicaoGravacao(2, 20), S_OK);
  uint32_t posicao = 1;
  EXPECT_EQ(arquivo.Grava(nullptr, &posicao, 20), ARQ_NADA_FEITO);
  EXPECT_EQ(arquivo.Grava(Registro('y', 20).data(), &posicao, 0), ARQ_PARAMETRO_INVALIDO);
  arquivo.Fecha();
  EXPECT_EQ(ReadText(caminho), antes);

  ExpectContains(LogDeErros(), {"hr = -2147218828\tDescri\xE7\xE3o = ",
                                "\tArquivo = CNLG0324.DAT\tPosi\xE7\xE3o Grava\xE7\xE3o = -1",
                                "\tQtdRegistros = 2\tPosi\xE7\xE3o Grava\xE7\xE3o = 3",
                                "hr = ValidaPosicaoGravacao(*IndPos, tamanho)\thr = 0X80040A73"});
}

TEST_F(Arq, ReadsRecordsUpToTheEndThroughABufferOfWholeRecordsOf64KiB) {
  const std::string caminho = pasta / "dados.dat";
  WriteText(caminho, std::string(50, '\0'));
  EXPECT_EQ(arquivo.GetTamanhoBuffer(), 0);
  ASSERT_EQ(arquivo.Abre(caminho.c_str(), 'G', 50, false), 0);
  char lido[50];
  EXPECT_EQ(arquivo.Le(1, lido), ARQ_FIM_DE_ARQUIVO);  // only the header
  EXPECT_EQ(arquivo.Le(0, lido), 0);
  for (char letra = 'a'; letra <= 'c'; ++letra) Grava(arquivo, letra, 0);
  ASSERT_EQ(arquivo.Le(3, lido), 0);
  EXPECT_EQ(std::string(lido, 50), Registro('c'));
  EXPECT_EQ(arquivo.Le(4, lido), ARQ_FIM_DE_ARQUIVO);
  EXPECT_EQ(arquivo.Le(0xFFFFFFFFu, lido), ARQ_FIM_DE_ARQUIVO);
  Grava(arquivo, 'z', 2);  // a rewrite is seen by the next read of the same object
  ASSERT_EQ(arquivo.Le(2, lido), 0);
  EXPECT_EQ(std::string(lido, 50), Registro('z'));
  EXPECT_EQ(std::vector({arquivo.Le(1, nullptr), arquivo.Fecha(), arquivo.Le(1, lido)}),
            std::vector({ARQ_NADA_FEITO, 0, ARQ_NADA_FEITO}));

  const std::pair<uint32_t, int32_t> tamanhos[] = {
      {50, 65500}, {1, 65536}, {65536, 65536}, {40000, 40000}};
  for (const auto& [registro, buffer] : tamanhos) {
    ASSERT_EQ(arquivo.Abre(caminho.c_str(), 'G', registro, false), 0);
    EXPECT_EQ(arquivo.GetTamanhoBuffer(), buffer) << registro;
  }
  arquivo.Fecha();
  EXPECT_EQ(arquivo.GetTamanhoBuffer(), 0);

  // Records on both sides of a buffer boundary (1310 records of 50 bytes).
  std::string conteudo(50, '\0');
  for (int n = 1; n <= 2000; ++n) conteudo += Registro(static_cast<char>('A' + n % 26));
  WriteText(caminho, conteudo);
  ASSERT_EQ(arquivo.Abre(caminho.c_str(), 'L', 50, false), 0);
  for (uint32_t n : {1u, 1309u, 1310u, 1311u, 2000u, 5u, 1999u}) {
    ASSERT_EQ(arquivo.Le(n, lido), 0) << n;
    EXPECT_EQ(lido[0], static_cast<char>('A' + n % 26)) << n;
  }
}

TEST_F(Arq, ByteAddressedFileByteReadsAndPositioning) {
  const std::string caminho = pasta / "CNLH0324.DAT";
  WriteText(caminho, " ");
  uint32_t tamanho = 99;
  EXPECT_EQ(arquivo.Posiciona('F', 0, &tamanho), ARQ_NADA_FEITO);
  EXPECT_EQ(tamanho, 0u);
  ASSERT_EQ(arquivo.Abre(caminho.c_str(), 'G', 1, false), 0);
  // With S = 1 the number is the byte offset.
  uint32_t posicoes[2] = {};
  EXPECT_EQ(std::vector({arquivo.Grava("primeiro\r", &posicoes[0], 9),
                         arquivo.Grava("segundo\r", &posicoes[1], 8), int(posicoes[0]),
                         int(posicoes[1])}),
            std::vector({0, 0, 1, 10}));

  ASSERT_EQ(arquivo.Abre(caminho.c_str(), 'L', 500, false), 0);
  char texto[500];
  EXPECT_EQ(arquivo.LeBytes(1, 9, texto), 0);
  EXPECT_EQ(std::string(texto, 9), "primeiro\r");
  // A read running past the end keeps what there is and zeroes the rest.
  EXPECT_EQ(arquivo.LeBytes(10, 500, texto), ARQ_FIM_DE_ARQUIVO);
  EXPECT_EQ(std::string(texto, 9), std::string("segundo\r") + '\0');
  EXPECT_EQ(std::vector({arquivo.LeBytes(18, 1, texto), arquivo.LeBytes(-1, 1, texto),
                         arquivo.LeBytes(0, 501, texto), arquivo.LeBytes(0, 0, texto)}),
            std::vector({ARQ_FIM_DE_ARQUIVO, ARQ_FIM_DE_ARQUIVO, ARQ_PARAMETRO_INVALIDO,
                         ARQ_PARAMETRO_INVALIDO}));

  // Posiciona: 'F' to the end (giving the length), 'P' to an offset, 'I' to the start.
  EXPECT_EQ(arquivo.Posiciona('F', 0, &tamanho), 0);
  EXPECT_EQ(tamanho, 18u);
  EXPECT_EQ(arquivo.LeSequencial(1, texto), ARQ_FIM_DE_ARQUIVO);
  EXPECT_EQ(arquivo.Posiciona('P', 12, &tamanho), 0);
  EXPECT_EQ(tamanho, 0u);
  EXPECT_EQ(arquivo.LeSequencial(3, texto), 0);
  EXPECT_EQ(std::string(texto, 3), "gun");
  EXPECT_EQ(arquivo.Posiciona('P', 18, &tamanho), ARQ_FIM_DE_ARQUIVO);
  EXPECT_EQ(arquivo.Posiciona('I', 0, &tamanho), 0);
  EXPECT_EQ(arquivo.LeSequencial(4, texto), 0);
  EXPECT_EQ(std::string(texto, 4), " pri");
  EXPECT_EQ(std::vector({arquivo.LeSequencial(15, texto), arquivo.Posiciona('X', 0, &tamanho),
                         arquivo.Posiciona('F', 0, nullptr)}),
            std::vector({ARQ_FIM_DE_ARQUIVO, ARQ_PARAMETRO_INVALIDO, 0}));
}

TEST(Arquivo, WritesAndReadsTheLeadingBytesAndCreatesOnlyWithARecordSize) {
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

  // Created only with a record size.
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
