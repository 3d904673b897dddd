// Retry budgets of CQXarq and CArquivo, driven by the fault plan.
#include <gtest/gtest.h>

#include <string>

#include "arq_support.h"
#include "platform/file_exception.h"
#include "storage/arq_status.h"
#include "storage/arquivo.h"
#include "storage/qx_arq.h"

namespace {

using qx::FileOp;
using qx_test::ConfereOrcamento;
using qx_test::Escreve;
using qx_test::PastaTemporaria;
using F = CFileException;

TEST(ArqOrcamento, OpenRetriesSixtyTimes) {
  PastaTemporaria pasta;
  const std::string caminho = pasta / "alvo.dat";
  Escreve(caminho, std::string(50, '\0'));
  CQXarq arquivo;
  const auto abre = [&] { return arquivo.Abre(caminho.c_str(), 'G', 50, false); };
  const auto fecha = [&] { arquivo.Fecha(); };
  ConfereOrcamento(
      {FileOp::Open, 60, F::sharingViolation, ARQ_EM_USO, F::badPath, ARQ_CAMINHO_INVALIDO}, "alvo",
      fecha, abre);
  ConfereOrcamento({FileOp::Open, 60, F::genericException, ARQ_ERRO_GERAL, F::directoryFull,
                    ARQ_DIRETORIO_CHEIO},
                   "alvo", fecha, abre);
  ConfereOrcamento(
      {FileOp::Open, 60, F::tooManyOpenFiles, ARQ_MUITOS_ABERTOS, F::invalidFile, ARQ_INVALIDO},
      "alvo", fecha, abre);
}

TEST(ArqOrcamento, WritesRetryThirtyTimesWithoutPause) {
  PastaTemporaria pasta;
  const std::string caminho = pasta / "alvo.dat";
  CQXarq arquivo;
  const auto prepara = [&] {
    Escreve(caminho, std::string(50, '\0'));
    ASSERT_EQ(arquivo.Abre(caminho.c_str(), 'G', 50, false), 0);
  };
  const std::string registro(50, 'r');
  const auto grava = [&] {
    uint32_t posicao = 0;
    const int status = arquivo.Grava(registro.data(), &posicao, 50);
    return status == 0 && posicao != 1 ? -1 : status;
  };
  ConfereOrcamento(
      {FileOp::Write, 30, F::diskFull, ARQ_DISCO_CHEIO, F::hardIO, ARQ_ERRO_DE_LEITURA_GRAVACAO},
      "alvo", prepara, grava);
  ConfereOrcamento(
      {FileOp::Write, 30, F::lockViolation, ARQ_BLOQUEADO, F::badSeek, ARQ_POSICIONAMENTO_INVALIDO},
      "alvo", prepara, grava);
  ConfereOrcamento(
      {FileOp::Write, 30, F::endOfFile, ARQ_ERRO_GERAL, F::fileNotFound, ARQ_NAO_ENCONTRADO},
      "alvo", prepara, [&] { return arquivo.GravaZero(registro.data(), 50); });
}

TEST(ArqOrcamento, ReadsPositioningAndClosingDoNotRetry) {
  PastaTemporaria pasta;
  const std::string caminho = pasta / "alvo.dat";
  Escreve(caminho, std::string(100, 'x'));
  CQXarq arquivo;
  char lido[50];
  const auto abre = [&] { ASSERT_EQ(arquivo.Abre(caminho.c_str(), 'L', 50, false), 0); };
  ConfereOrcamento(
      {FileOp::Read, 1, F::sharingViolation, ARQ_EM_USO, F::hardIO, ARQ_ERRO_DE_LEITURA_GRAVACAO},
      "alvo", abre, [&] { return arquivo.Le(1, lido); });
  ConfereOrcamento({FileOp::Read, 1, F::diskFull, ARQ_ERRO_GERAL, F::endOfFile, ARQ_FIM_DE_ARQUIVO},
                   "alvo", abre, [&] { return arquivo.LeBytes(3, 10, lido); });
  ConfereOrcamento(
      {FileOp::Seek, 1, F::lockViolation, ARQ_BLOQUEADO, F::badSeek, ARQ_POSICIONAMENTO_INVALIDO},
      "alvo", abre, [&] { return arquivo.Posiciona('P', 10, nullptr); });
  ConfereOrcamento(
      {FileOp::Close, 1, F::diskFull, ARQ_ERRO_GERAL, F::hardIO, ARQ_ERRO_DE_LEITURA_GRAVACAO},
      "alvo", abre, [&] { return arquivo.Fecha(); });
  EXPECT_FALSE(arquivo.IsOpen());  // a failed close closes all the same
}

TEST(ArqOrcamento, CArquivoOpensThirtyTimesAndReadsTheStartThirtyTimes) {
  PastaTemporaria pasta;
  const std::string caminho = pasta / "alvo.dat";
  Escreve(caminho, std::string(18, 'z'));
  CArquivo arquivo;
  ConfereOrcamento(
      {FileOp::Open, 30, F::accessDenied, ARQ_ACESSO_NEGADO, F::directoryFull, ARQ_DIRETORIO_CHEIO},
      "alvo", [&] { arquivo.Fecha(); },
      [&] { return arquivo.Abre(caminho.c_str(), 'G', 18, false); });
  char lido[18];
  const auto abre = [&] { ASSERT_EQ(arquivo.Abre(caminho.c_str(), 'G', 18, false), 0); };
  ConfereOrcamento(
      {FileOp::Read, 30, F::sharingViolation, ARQ_EM_USO, F::invalidFile, ARQ_INVALIDO}, "alvo",
      abre, [&] { return arquivo.LeZero(lido, 18); });
  ConfereOrcamento(
      {FileOp::Write, 30, F::diskFull, ARQ_DISCO_CHEIO, F::badPath, ARQ_CAMINHO_INVALIDO}, "alvo",
      abre, [&] { return arquivo.GravaBytes(lido, 18, 'F'); });
}

}  // namespace
