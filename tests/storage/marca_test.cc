// Marks: numbered folder-wide locks held through an exclusive open of the mark
// file, between objects and between processes.
#include <gtest/gtest.h>

#include <string>

#include "../platform/test_support.h"
#include "arq_support.h"
#include "storage/arq_status.h"
#include "storage/qx_arq_ex.h"

namespace {

using namespace qx_test;

// A forked process that takes a mark and holds it until Libera (Desmarca, then
// its end) or Mata (SIGKILL, without Desmarca).
class DonoDeMarca {
 public:
  // Returns once the child reports the result of its Marca (-1 when no report came).
  DonoDeMarca(const std::string& pasta, int numero)
      : filho_([pasta, numero](qx::test::Child& self) {
          CQXArqEx arquivo;
          for (char c : std::to_string(arquivo.Marca(pasta.c_str(), numero)) + ";") self.Send(c);
          self.Receive();
          arquivo.Desmarca();
          return 0;
        }) {
    std::string texto;
    for (char c = filho_.Receive(); c != ';'; c = filho_.Receive()) {
      if (c == '\0') return;
      texto += c;
    }
    resultado_ = std::stoi(texto);
  }
  int Resultado() const { return resultado_; }
  void Libera() {
    filho_.Send('x');
    filho_.Wait();
  }
  void Mata() { filho_.Kill(); }

 private:
  int resultado_ = -1;
  qx::test::Child filho_;
};

// A fresh folder, an object and a clock that lets 50 seconds pass in about 50 ms.
class Marca : public ::testing::Test {
 protected:
  PastaTemporaria pasta;
  RelogioAcelerado relogio;
  CQXArqEx arquivo;
};

TEST_F(Marca, ABusyMarkGivesItsCodeAfterTheWaitAndADeadOrDoneHolderFreesIt) {
  DonoDeMarca dono(pasta.path(), 7);
  ASSERT_EQ(dono.Resultado(), 0);
  EXPECT_EQ(arquivo.Marca(pasta.path().c_str(), 7), 16284);
  // The error log names the mark, its file in the folder and what to do.
  ExpectContains(LogDeErros(),
                 {"Marca 7 (" + (pasta / "XXMARCA7.dat") + ")", "O que fazer: repita"});
  EXPECT_EQ(arquivo.Marca(pasta.path().c_str(), 7), 16284);  // still no mark held
  DonoDeMarca segundo(pasta.path(), 24);
  ASSERT_EQ(segundo.Resultado(), 0);
  EXPECT_EQ(arquivo.Marca(pasta.path().c_str(), 24), ARQ_MARCA_INDISPONIVEL);
  EXPECT_EQ(arquivo.Marca(pasta.path().c_str(), 8), 0);
  arquivo.Desmarca();
  dono.Libera();
  EXPECT_EQ(arquivo.Marca(pasta.path().c_str(), 7), 0);
  arquivo.Desmarca();
  // A holder that dies frees the mark; held here, a new process waits it out.
  segundo.Mata();
  EXPECT_EQ(arquivo.Marca(pasta.path().c_str(), 24), 0);
  EXPECT_EQ(DonoDeMarca(pasta.path(), 24).Resultado(), 17396);
}

TEST_F(Marca, BadInputAndMissingFolderOneMarkPerObjectAndOneHolderPerMark) {
  EXPECT_EQ((std::vector{arquivo.Marca(nullptr, 7), arquivo.Marca("", 7),
                         arquivo.Marca(pasta.path().c_str(), 256),
                         arquivo.Marca(pasta.path().c_str(), -1)}),
            std::vector(4, ARQ_PARAMETRO_INVALIDO));
  // A folder that does not exist never gives the mark: the wait ends with its code.
  EXPECT_EQ(arquivo.Marca((pasta / "falta").c_str(), 1), 16225);
  EXPECT_EQ(QuantidadeDeArquivos(pasta.path()), 0);
  EXPECT_EQ(arquivo.Marca(pasta.path().c_str(), 0), 0);
  // Busy codes of other numbers, and of the numbers without one of their own.
  const std::pair<int, int> ocupadas[] = {{24, 17396}, {55, 54}, {253, 253}, {0, 17396}};
  for (const auto& [numero, codigo] : ocupadas) {
    EXPECT_EQ(CQXArqEx::CodigoMarcaOcupada(numero), codigo) << numero;
  }

  const std::string comBarra = pasta.path() + "/";
  {
    CQXArqEx um;
    CQXArqEx dois;
    ASSERT_EQ(um.Marca(pasta.path().c_str(), 7), 0);
    EXPECT_EQ(um.Marca(pasta.path().c_str(), 9), ARQ_MARCA_INDISPONIVEL);  // holds one already
    EXPECT_EQ(dois.Marca(comBarra.c_str(), 7), 16284);  // same file with a trailing separator
    EXPECT_EQ(dois.Marca(pasta.path().c_str(), 9), 0);  // the second Marca took nothing
    um.Desmarca();
    um.Desmarca();
    EXPECT_EQ(dois.Marca(pasta.path().c_str(), 7), ARQ_MARCA_INDISPONIVEL);
    dois.Desmarca();
    EXPECT_EQ(dois.Marca(comBarra.c_str(), 7), 0);
  }  // the destructor releases
  CQXArqEx tres;
  EXPECT_EQ(tres.Marca(pasta.path().c_str(), 7), 0);
  EXPECT_EQ(QuantidadeDeArquivos(pasta.path()), 3);  // XXMARCA0.dat, XXMARCA7.dat, XXMARCA9.dat
  // Holding a mark leaves the record file as it is.
  qx_test::WriteText(pasta / "dados.dat", std::string(8, '\0'));
  EXPECT_EQ(tres.Abre((pasta / "dados.dat").c_str(), 'G', 8, false, true), 0);
  EXPECT_EQ(tres.QuantidadeRegistros(false), 1u);
}

}  // namespace
