// Every file operation of a save failing once, one run per call site: the
// save either is complete or reports a code and leaves the live entries and
// the totals as they were; the mark is free afterwards and the entries stored
// before read back unchanged.
#include <filesystem>
#include <fstream>
#include <map>

#include "../entries/soma_diferencas.h"
#include "platform/file_faults.h"
#include "storage/records/difference_record.h"
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

  // The live records of an entry file, with their positions.
  static std::vector<std::pair<size_t, std::string>> Vivos(const std::string& arquivo) {
    std::vector<std::pair<size_t, std::string>> vivos;
    for (size_t p = 1; (p + 1) * kEntryRecordSize <= arquivo.size(); ++p) {
      const std::string registro = arquivo.substr(p * kEntryRecordSize, kEntryRecordSize);
      if (registro[43] != kEntryDeleted) vivos.emplace_back(p, registro);
    }
    return vivos;
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
    if (hr != S_OK) {
      // A save that reports failure leaves the live entries and the totals
      // as they were (one-sided: 10 and 11 stored); a new entry's position
      // may stay taken by a deleted record.
      EXPECT_EQ(SomaDiferencas(*leitor), -21 * 10000);
      EXPECT_EQ(Vivos(depois), Vivos(antes));
      EXPECT_EQ(Bytes(kPrefixoGerencial).substr(0, linhas.size()), linhas);
      EXPECT_EQ(indlan, alteracao ? 2 : 0);
    } else {
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

// The failures a client meets without any fault of the disk: a read-only
// difference file and a total that would overflow. The save reports them and
// leaves no live entry; the same call, repeated once the cause is gone,
// stores the entry once.
TEST_F(SavingFaultTest, ASaveThatReportsFailureLeavesNoLiveEntry) {
  struct Caso {
    const char* nome;
    bool alteracao;
    bool somenteLeitura;
    int64_t valor;
  };
  const Caso casos[] = {
      {"new entry, read-only totals", false, true, 400000},
      {"update, read-only totals", true, true, 400000},
      {"new entry, total overflows", false, false, INT64_MAX - 50000},
      {"update, total overflows", true, false, INT64_MAX - 50000},
  };
  const std::string totais = company_.CnFolder() + "/" + kDifferenceFileName;
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.nome);
    Restaura();
    const std::string antes = Copia(kPrefixoLancamentos);
    if (caso.somenteLeitura) {
      std::filesystem::permissions(totais, std::filesystem::perms::owner_write,
                                   std::filesystem::perm_options::remove);
    }
    auto objeto = Objeto();
    ASSERT_EQ(caso.alteracao ? objeto->Le(2, Mes()) : S_OK, S_OK);
    int32_t indlan = caso.alteracao ? 2 : 0;
    RegDados dados = Dados(0, 11, caso.valor);
    EXPECT_TRUE(FAILED(objeto->GravaDados(&dados, &indlan)));
    EXPECT_EQ(indlan, caso.alteracao ? 2 : 0);
    EXPECT_EQ(Vivos(Bytes(kPrefixoLancamentos)), Vivos(antes));
    EXPECT_EQ(SomaDiferencas(*objeto), -21 * 10000);

    std::filesystem::permissions(totais, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
    dados.Valor = CURRENCY{400000};
    ASSERT_EQ(objeto->GravaDados(&dados, &indlan), S_OK);
    EXPECT_EQ(Vivos(Bytes(kPrefixoLancamentos)).size(), Vivos(antes).size() + !caso.alteracao);
    EXPECT_EQ(SomaDiferencas(*objeto), (caso.alteracao ? -50 : -61) * 10000);
  }
}

TEST_F(SavingFaultTest, NewEntry) { Varre(false); }

TEST_F(SavingFaultTest, UpdateOfAStoredEntry) { Varre(true); }

}  // namespace
}  // namespace qx
