// The intent of an operation: whatever its writes did to the record files of
// the folder, undoing it from the mark's file, in the same process or in the
// next, gives the bytes back as they were.
#include "storage/intencao.h"

#include "arq_support.h"
#include "storage/qx_arq.h"
#include "storage/qx_arq_ex.h"

namespace {

using namespace qx_test;

constexpr uint32_t kTamanho = 10;

class IntencaoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteText(pasta_ / "A.DAT", std::string(3 * kTamanho, 'a'));
    WriteText(pasta_ / "B.DAT", std::string(kTamanho, '\0'));
  }
  // Writes the record at `posicao` (0 appends) of `nome` as the thread's operation does.
  static int Grava(const std::string& caminho, uint32_t posicao, char c) {
    CQXarq arq;
    if (int status = arq.Abre(caminho.c_str(), 'G', kTamanho, false)) return status;
    const std::string registro(kTamanho, c);
    const int status = arq.Grava(registro.data(), &posicao, kTamanho);
    arq.Fecha();
    return status;
  }
  // What the operation below writes: a record rewritten twice, two appended.
  int Opera() const {
    int status = Grava(pasta_ / "A.DAT", 1, 'x');
    if (status == ARQ_OK) status = Grava(pasta_ / "A.DAT", 1, 'y');
    if (status == ARQ_OK) status = Grava(pasta_ / "A.DAT", 0, 'z');
    if (status == ARQ_OK) status = Grava(pasta_ / "B.DAT", 0, 'w');
    return status;
  }
  std::string Arquivos() const {
    return ReadText(pasta_ / "A.DAT") + "|" + ReadText(pasta_ / "B.DAT");
  }
  // Mark 7 of the folder held, with its intent file open: `pendente` when it
  // holds an intent left by an earlier holder.
  struct Marcada {
    Marcada(const std::string& pasta, bool pendente) {
      EXPECT_EQ(marca.Marca(pasta.c_str(), 7), ARQ_OK);
      bool lido = !pendente;
      EXPECT_EQ(intencao.Abre(*marca.ArquivoDaMarca(), pasta, &lido), ARQ_OK);
      EXPECT_EQ(lido, pendente);
    }
    CQXArqEx marca;
    qx::Intencao intencao;
  };

  PastaTemporaria pasta_;
  qx::FileFaultsGuard falhas_;
};

TEST_F(IntencaoTest, AnOperationLeftByADeadProcessIsUndoneByTheNext) {
  const std::string antes = Arquivos();
  {
    Marcada primeira(pasta_.path(), false);
    primeira.intencao.Comeca(qx::CabecalhoIntencao(77, 4096, 1, qx::kOperacaoLote));
    ASSERT_EQ(Opera(), ARQ_OK);
    ASSERT_NE(Arquivos(), antes);
  }  // the process dies: the intent stays
  Marcada marcada(pasta_.path(), true);
  qx::Intencao& seguinte = marcada.intencao;
  std::optional<qx::IntentHeader> cabecalho;
  std::vector<qx::EntradaIntencao> entradas;
  ASSERT_EQ(seguinte.Le(&cabecalho, &entradas), ARQ_OK);
  ASSERT_TRUE(cabecalho);
  EXPECT_EQ(std::tuple(cabecalho->Operacao, cabecalho->cTipo), std::tuple(77u, qx::kOperacaoLote));
  // A length and the record's first bytes for A, a length for B: each once.
  ASSERT_EQ(entradas.size(), 3u);
  std::vector<qx::ArquivoDesfeito> desfeitos;
  ASSERT_EQ(seguinte.Desfaz(&desfeitos), ARQ_OK);
  EXPECT_EQ(Arquivos(), antes);
  ASSERT_EQ(desfeitos.size(), 2u);
  EXPECT_EQ(std::tuple(desfeitos[0].nome, desfeitos[1].comprimentoAntes,
                       desfeitos[1].comprimentoEncontrado, desfeitos[1].trechos.size()),
            std::tuple("B.DAT", 3 * kTamanho, 4 * kTamanho, size_t{1}));
  ASSERT_EQ(seguinte.Limpa(), ARQ_OK);
  marcada.marca.Desmarca();
  EXPECT_EQ(std::filesystem::file_size(pasta_ / qx::kIntentFileName), 0u);
}

// An intent write that stops part way keeps its data write from happening,
// and the undoing stops before the torn entry: each of the operation's two
// intent writes failing in turn, the undoing gives every byte back.
TEST_F(IntencaoTest, EachIntentWriteStoppingPartWayLeavesNothingBehindTheUndoing) {
  const std::string antes = Arquivos();
  for (int nth = 1; nth <= 2; ++nth) {
    SCOPED_TRACE(nth);
    Marcada marcada(pasta_.path(), false);
    qx::Intencao& intencao = marcada.intencao;
    intencao.Comeca(qx::CabecalhoIntencao(5, 4096, 1, qx::kOperacaoGravacao));
    qx::FileFaults::ArmPartialWrite(nth, CFileException::hardIO, 5, qx::kIntentFileName);
    EXPECT_NE(Opera(), ARQ_OK);
    qx::FileFaults::Clear();
    intencao.Termina();
    std::vector<qx::ArquivoDesfeito> desfeitos;
    ASSERT_EQ(intencao.Desfaz(&desfeitos), ARQ_OK);
    EXPECT_EQ(Arquivos(), antes);
    ASSERT_EQ(intencao.Limpa(), ARQ_OK);
  }
}

TEST(LeIntencao, BytesWithoutAWholeSoundHeaderHoldNoIntent) {
  const qx::IntentHeader cabecalho = qx::CabecalhoIntencao(9, 1, 1, qx::kOperacaoExclusao);
  std::string bytes(reinterpret_cast<const char*>(&cabecalho), sizeof cabecalho);
  std::optional<qx::IntentHeader> lido;
  std::vector<qx::EntradaIntencao> entradas;
  for (const std::string& texto : {std::string(), bytes.substr(0, 31), "X" + bytes.substr(1),
                                   bytes.substr(0, 24) + std::string(8, '\0')}) {
    qx::LeIntencao(texto, &lido, &entradas);
    EXPECT_FALSE(lido);
  }
  qx::LeIntencao(bytes + "garbage", &lido, &entradas);
  ASSERT_TRUE(lido);
  EXPECT_TRUE(entradas.empty());
}

}  // namespace
