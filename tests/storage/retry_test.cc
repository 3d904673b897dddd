// Retry budgets of CQXarq, CQXArqEx and CArquivo, driven by the fault plan.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "arq_support.h"
#include "platform/file_exception.h"
#include "storage/arq_status.h"
#include "storage/arquivo.h"
#include "storage/qx_arq.h"
#include "storage/qx_arq_ex.h"

namespace {

using qx::FileOp;
using namespace qx_test;
using F = CFileException;

class Orcamentos : public ::testing::Test {
 protected:
  // Each budget, with `prepara` before every round and `opera` checked.
  void Confere(std::initializer_list<Orcamento> orcamentos, const std::function<void()>& prepara,
               const std::function<int()>& opera) {
    for (const Orcamento& orcamento : orcamentos)
      ConfereOrcamento(orcamento, "alvo", prepara, opera);
  }
  PastaTemporaria pasta;
  const std::string caminho = pasta / "alvo.dat";
  char lido[50] = {};
};

TEST_F(Orcamentos, CQXarqOpensSixtyTimesWritesThirtyTimesAndReadsOnce) {
  WriteText(caminho, std::string(50, '\0'));
  CQXarq arquivo;
  Confere(
      {{FileOp::Open, 60, F::sharingViolation, ARQ_EM_USO, F::badPath, ARQ_CAMINHO_INVALIDO},
       {FileOp::Open, 60, F::tooManyOpenFiles, ARQ_MUITOS_ABERTOS, F::invalidFile, ARQ_INVALIDO}},
      [&] { arquivo.Fecha(); }, [&] { return arquivo.Abre(caminho.c_str(), 'G', 50, false); });

  const auto prepara = [&] {
    WriteText(caminho, std::string(50, '\0'));
    ASSERT_EQ(arquivo.Abre(caminho.c_str(), 'G', 50, false), 0);
  };
  const std::string registro(50, 'r');
  Confere(
      {{FileOp::Write, 30, F::diskFull, ARQ_DISCO_CHEIO, F::hardIO, ARQ_ERRO_DE_LEITURA_GRAVACAO},
       {FileOp::Write, 30, F::lockViolation, ARQ_BLOQUEADO, F::badSeek,
        ARQ_POSICIONAMENTO_INVALIDO}},
      prepara, [&] {
        uint32_t posicao = 0;  // a write that succeeds must have appended record 1
        const int status = arquivo.Grava(registro.data(), &posicao, 50);
        return status == 0 && posicao != 1 ? -1 : status;
      });
  Confere({{FileOp::Write, 30, F::endOfFile, ARQ_ERRO_GERAL, F::fileNotFound, ARQ_NAO_ENCONTRADO}},
          prepara, [&] { return arquivo.GravaZero(registro.data(), 50); });

  // Reads, positioning and closing are not retried.
  WriteText(caminho, std::string(100, 'x'));
  const auto abre = [&] { ASSERT_EQ(arquivo.Abre(caminho.c_str(), 'L', 50, false), 0); };
  Confere(
      {{FileOp::Read, 1, F::sharingViolation, ARQ_EM_USO, F::hardIO, ARQ_ERRO_DE_LEITURA_GRAVACAO}},
      abre, [&] { return arquivo.Le(1, lido); });
  Confere({{FileOp::Read, 1, F::diskFull, ARQ_ERRO_GERAL, F::endOfFile, ARQ_FIM_DE_ARQUIVO}}, abre,
          [&] { return arquivo.LeBytes(3, 10, lido); });
  Confere(
      {{FileOp::Seek, 1, F::lockViolation, ARQ_BLOQUEADO, F::badSeek, ARQ_POSICIONAMENTO_INVALIDO}},
      abre, [&] { return arquivo.Posiciona('P', 10, nullptr); });
  Confere(
      {{FileOp::Close, 1, F::diskFull, ARQ_ERRO_GERAL, F::hardIO, ARQ_ERRO_DE_LEITURA_GRAVACAO}},
      abre, [&] { return arquivo.Fecha(); });
  EXPECT_FALSE(arquivo.IsOpen());  // a failed close closes all the same
}

TEST_F(Orcamentos, CArquivoOpensReadsAndWritesThirtyTimes) {
  WriteText(caminho, std::string(18, 'z'));
  CArquivo arquivo;
  Confere(
      {{FileOp::Open, 30, F::accessDenied, ARQ_ACESSO_NEGADO, F::directoryFull,
        ARQ_DIRETORIO_CHEIO}},
      [&] { arquivo.Fecha(); }, [&] { return arquivo.Abre(caminho.c_str(), 'G', 18, false); });
  const auto abre = [&] { ASSERT_EQ(arquivo.Abre(caminho.c_str(), 'G', 18, false), 0); };
  Confere({{FileOp::Read, 30, F::sharingViolation, ARQ_EM_USO, F::invalidFile, ARQ_INVALIDO}}, abre,
          [&] { return arquivo.LeZero(lido, 18); });
  Confere({{FileOp::Write, 30, F::diskFull, ARQ_DISCO_CHEIO, F::badPath, ARQ_CAMINHO_INVALIDO}},
          abre, [&] { return arquivo.GravaBytes(lido, 18, 'F'); });
}

TEST_F(Orcamentos, CQXArqExOpensAndWritesTwoHundredTimesAndReadsOnce) {
  WriteText(caminho, std::string(20, '\0') + std::string(20, 'r'));
  CQXArqEx escritor;
  Confere(
      {{FileOp::Open, 200, F::sharingViolation, ARQ_EM_USO, F::badPath, ARQ_CAMINHO_INVALIDO}},
      [&] { escritor.Fecha(); },
      [&] { return escritor.Abre(caminho.c_str(), 'G', 20, false, true); });
  ASSERT_EQ(escritor.Abre(caminho.c_str(), 'G', 20, false, true), 0);
  const std::string registro(20, 'w');
  Confere(
      {{FileOp::Write, 200, F::diskFull, ARQ_DISCO_CHEIO, F::endOfFile, ARQ_FIM_DE_ARQUIVO}}, [] {},
      [&] {
        uint32_t posicao = 0;
        return escritor.Grava(registro.data(), &posicao);
      });
  Confere(
      {{FileOp::Write, 200, F::genericException, ARQ_ERRO_GERAL, F::invalidFile, ARQ_INVALIDO}},
      [] {}, [&] { return escritor.GravaZero(registro.data(), 20); });

  // A fresh reader each round, so that no buffer of an earlier round answers.
  std::unique_ptr<CQXArqEx> leitor;
  Confere(
      {{FileOp::Read, 1, F::diskFull, ARQ_DISCO_CHEIO, F::fileNotFound, ARQ_NAO_ENCONTRADO},
       {FileOp::Read, 1, F::genericException, ARQ_ERRO_GERAL, F::sharingViolation, ARQ_EM_USO}},
      [&] {
        leitor = std::make_unique<CQXArqEx>();
        ASSERT_EQ(leitor->Abre(caminho.c_str(), 'L', 20, false, true), 0);
      },
      [&] { return leitor->Le(1, lido); });
}

}  // namespace
