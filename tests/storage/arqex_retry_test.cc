// Retry budgets of CQXArqEx, driven by the fault plan.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "arq_support.h"
#include "platform/file_exception.h"
#include "storage/arq_status.h"
#include "storage/qx_arq_ex.h"

namespace {

using qx::FileOp;
using qx_test::ConfereOrcamento;
using qx_test::Escreve;
using qx_test::PastaTemporaria;
using F = CFileException;

TEST(ArqExOrcamento, OpenTriesTwoHundredTimes) {
  PastaTemporaria pasta;
  const std::string caminho = pasta / "alvo.dat";
  Escreve(caminho, std::string(20, '\0'));
  CQXArqEx arquivo;
  ConfereOrcamento(
      {FileOp::Open, 200, F::sharingViolation, ARQ_EM_USO, F::badPath, ARQ_CAMINHO_INVALIDO},
      "alvo", [&] { arquivo.Fecha(); },
      [&] { return arquivo.Abre(caminho.c_str(), 'G', 20, false, true); });
}

TEST(ArqExOrcamento, WritesTryTwoHundredTimesWithoutPause) {
  PastaTemporaria pasta;
  const std::string caminho = pasta / "alvo.dat";
  Escreve(caminho, std::string(20, '\0'));
  CQXArqEx arquivo;
  ASSERT_EQ(arquivo.Abre(caminho.c_str(), 'G', 20, false, true), 0);
  const std::string registro(20, 'w');
  ConfereOrcamento(
      {FileOp::Write, 200, F::diskFull, ARQ_DISCO_CHEIO, F::endOfFile, ARQ_FIM_DE_ARQUIVO}, "alvo",
      [] {},
      [&] {
        uint32_t posicao = 0;
        return arquivo.Grava(registro.data(), &posicao);
      });
  ConfereOrcamento(
      {FileOp::Write, 200, F::genericException, ARQ_ERRO_GERAL, F::invalidFile, ARQ_INVALIDO},
      "alvo", [] {}, [&] { return arquivo.GravaZero(registro.data(), 20); });
}

TEST(ArqExOrcamento, ReadsTranslateAtOnce) {
  PastaTemporaria pasta;
  const std::string caminho = pasta / "alvo.dat";
  Escreve(caminho, std::string(20, '\0') + std::string(20, 'r'));
  // A fresh object each round, so that no buffer of an earlier round answers.
  std::unique_ptr<CQXArqEx> arquivo;
  const auto abre = [&] {
    arquivo = std::make_unique<CQXArqEx>();
    ASSERT_EQ(arquivo->Abre(caminho.c_str(), 'L', 20, false, true), 0);
  };
  char lido[20];
  const auto le = [&] { return arquivo->Le(1, lido); };
  ConfereOrcamento(
      {FileOp::Read, 1, F::diskFull, ARQ_DISCO_CHEIO, F::fileNotFound, ARQ_NAO_ENCONTRADO}, "alvo",
      abre, le);
  ConfereOrcamento(
      {FileOp::Read, 1, F::genericException, ARQ_ERRO_GERAL, F::sharingViolation, ARQ_EM_USO},
      "alvo", abre, le);
}

}  // namespace
