// Every file operation of a save failing once, one run per call site: the
// save either reports a code or is complete, the mark is free afterwards and
// the entries stored before read back unchanged.
#include <filesystem>
#include <fstream>
#include <map>

#include "../entries/soma_diferencas.h"
#include "platform/file_faults.h"
#include "saving_fixture.h"

namespace qx {
namespace {

constexpr char kTexto[] = "complemento da varredura";

class SavingFaultTest : public SavingTest {
 protected:
  void SetUp() override {
    company_.SetConfig("foreign-currency", 1);
    company_.SetConfig("managerial-quantities", 1);
    auto objeto = Objeto();
    for (int i = 0; i < 2; ++i) {
      Preenche(*objeto, 0, 11, 10 + i, kTexto);
      Divide(*objeto, 2);
      Grava(*objeto);
    }
    for (const auto& entrada : std::filesystem::directory_iterator(company_.CnFolder())) {
      copia_[entrada.path().string()] = TestCompany::ReadAll(entrada.path().string());
    }
  }

  // The company folder as it was after SetUp.
  void Restaura() const {
    for (const auto& entrada : std::filesystem::directory_iterator(company_.CnFolder())) {
      if (!copia_.contains(entrada.path().string())) std::filesystem::remove(entrada.path());
    }
    for (const auto& [caminho, bytes] : copia_) {
      std::ofstream(caminho, std::ios::binary | std::ios::trunc) << bytes;
    }
  }
  std::string Copia(const char* prefixo) const { return copia_.at(Caminho(prefixo)); }

  // The save under test, of a one-sided entry with a foreign-currency
  // amount, complement and split: a new entry, or an update of entry 2.
  static HRESULT Salva(CLancamentoBase& objeto, bool alteracao, int32_t* indlan) {
    *indlan = alteracao ? 2 : 0;
    if (alteracao) {
      if (HRESULT hr = objeto.Le(2, Mes())) return hr;
    }
    Texto(objeto, kTexto);
    Divide(objeto, 2);
    RegDados dados = Dados(0, 11, 400000);
    dados.ValorMoeda = CURRENCY{123};
    dados.CodHis = 1;
    return objeto.GravaDados(&dados, indlan);
  }

  // Checks one run; gives whether the save reported a failure.
  bool Confere(HRESULT hr, bool alteracao, int32_t indlan, uint64_t nth) {
    SCOPED_TRACE(testing::Message() << (alteracao ? "update" : "new entry") << ", call " << nth
                                    << ", result " << std::hex << hr);
    const std::string antes = Copia(kPrefixoLancamentos);
    const std::string depois = Bytes(kPrefixoLancamentos);
    const size_t intactos = alteracao ? 2 * kEntryRecordSize : antes.size();
    EXPECT_EQ(depois.substr(0, intactos), antes.substr(0, intactos));
    const size_t heap = Copia(kPrefixoComplementos).size();
    EXPECT_EQ(Bytes(kPrefixoComplementos).substr(0, heap), Copia(kPrefixoComplementos));
    const std::string linhas = Copia(kPrefixoGerencial);
    const size_t linhasIntactas = alteracao ? 3 * kSplitRecordSize : linhas.size();
    EXPECT_EQ(Bytes(kPrefixoGerencial).substr(0, linhasIntactas), linhas.substr(0, linhasIntactas));

    auto leitor = Objeto();
    // The totals lack at most the amount of the entry record that is stored
    // (one-sided: 10 and 11 stored, 40 saved over the 11 or new).
    const int64_t totais = SomaDiferencas(*leitor);
    const bool registroNovo =
        depois.size() > intactos &&
        depois.substr(intactos, kEntryRecordSize) != antes.substr(intactos, kEntryRecordSize);
    if (!alteracao) {
      EXPECT_TRUE(totais == -21 * 10000 || totais == -61 * 10000) << totais;
    } else if (registroNovo) {
      EXPECT_TRUE(totais == -10 * 10000 || totais == -50 * 10000) << totais;
    } else {
      EXPECT_EQ(totais, -21 * 10000);
    }
    if (hr == S_OK) {
      // A save that says so is whole.
      EXPECT_EQ(leitor->Le(indlan, Mes()), S_OK);
      BSTR texto = nullptr;
      EXPECT_EQ(leitor->GetComplemento(&texto, Mes(), indlan), S_OK);
      EXPECT_EQ(BstrToCp1252(texto), kTexto);
      SysFreeString(texto);
      EXPECT_EQ(leitor->Le(indlan, Mes()), S_OK);
      uint16_t qtd = 0;
      EXPECT_EQ(leitor->LeGerencial(&qtd), S_OK);
      EXPECT_EQ(qtd, 2);
      EXPECT_EQ(SomaDiferencas(*leitor), alteracao ? -(10 + 40) * 10000 : -(10 + 11 + 40) * 10000);
    }
    // The mark is free.
    Preenche(*leitor, 4, 11, 1);
    leitor->ZeraLancamentoGerencial();
    Grava(*leitor);
    return hr != S_OK;
  }

  void Varre(bool alteracao) {
    FileFaultsGuard guard;
    FileFaults::Count();
    {
      auto objeto = Objeto();
      int32_t indlan = 0;
      ASSERT_EQ(Salva(*objeto, alteracao, &indlan), S_OK);
    }
    const uint64_t chamadas = FileFaults::Calls(FileOp::Any);
    FileFaults::Clear();
    ASSERT_GT(chamadas, 10u);
    int falhas = 0;
    for (uint64_t nth = 1; nth <= chamadas; ++nth) {
      Restaura();
      auto objeto = Objeto();
      FileFaults::Arm(FileOp::Any, static_cast<int>(nth), CFileException::invalidFile);
      int32_t indlan = 0;
      const HRESULT hr = Salva(*objeto, alteracao, &indlan);
      FileFaults::Clear();
      objeto.reset();
      if (Confere(hr, alteracao, indlan, nth)) ++falhas;
    }
    // Most call sites report their failure; the others are retried (the mark)
    // or end the difference file's lookup early, and the save is whole.
    EXPECT_GT(falhas, static_cast<int>(chamadas * 3 / 4));
  }

  std::map<std::string, std::string> copia_;
};

TEST_F(SavingFaultTest, NewEntry) { Varre(false); }

TEST_F(SavingFaultTest, UpdateOfAStoredEntry) { Varre(true); }

}  // namespace
}  // namespace qx
