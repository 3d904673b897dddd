// Four processes saving into the same month at once, each through its own
// service object: every entry gets its own position, its complement and split
// stay whole, the differences add up and the change log misses nothing.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "../platform/test_support.h"
#include "outside/admin/company_admin.h"
#include "outside/admin/suite_setup.h"
#include "platform/bstr.h"
#include "service_fixture.h"
#include "storage/month_name.h"
#include "storage/records/entry_records.h"
#include "values/qx_data.h"
#include "values/qx_mes_ano.h"

namespace qx {
namespace {

constexpr int kProcessos = 4;
// The sanitizers make each save several times slower.
constexpr int kPorProcesso = test::kAddressSanitizer ? 250 : 2000;
const CQXData kData = CQXData::Make(10, 5, 2024);

// What entry i of process p holds: document, accounts, amount, complement.
int32_t Documento(int p, int i) { return p * 100000 + i; }
int32_t Debito(int i) { return i % 2 == 0 ? 4 : 0; }  // every other one has no debit account
int64_t Valor(int i) { return (i + 1) * 10000; }
std::string Texto(int p, int i) {
  return "processo " + std::to_string(p) + " lanc " + std::to_string(i);
}

using GravacaoConcorrente = ServiceTest;

// Saves the process's entries; the exit code tells how it went.
int Salva(IQXCN_Lancamento* s, int p) {
  for (int i = 0; i < kPorProcesso; ++i) {
    s->SetFilial(1);
    s->SetData(kData.Value());
    s->SetDocumento(Documento(p, i));
    s->SetDebito(Debito(i));
    s->SetCredito(11);
    s->SetValor(CURRENCY{Valor(i)});
    UniqueBstr texto(BstrFromCp1252(Texto(p, i)));
    s->SetComplemento(texto.get());
    RegLan_Ger linhas[2] = {};
    for (int k = 0; k < 2; ++k) {
      linhas[k].Valor = CURRENCY{Valor(i) / 2};
      linhas[k].ContaGerencial = p;
      linhas[k].ContaContabil = i;
    }
    if (s->SetLancamentoGerencial(2, linhas) != S_OK) return 3;
    int32_t indlan = 0;
    if (s->Grava(&indlan) != S_OK || indlan <= 0) return 4;
  }
  return 0;
}

TEST_P(GravacaoConcorrente, FourProcessesShareOneMonth) {
  std::vector<pid_t> filhos;
  for (int p = 1; p <= kProcessos; ++p) {
    const pid_t filho = fork();
    ASSERT_GE(filho, 0);
    if (filho == 0) {
      alarm(200);  // never outlive a stuck test
      Servico servico = Inicializado();
      _exit(servico ? Salva(servico.get(), p) : 2);
    }
    filhos.push_back(filho);
  }
  const auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(180);
  for (const pid_t filho : filhos) EXPECT_EQ(test::WaitChild(filho, limite), 0);

  // The month as the files hold it.
  const std::string pasta = company_.CnFolder();
  const uint16_t mes = kData.MesAno().Value();
  const std::string lancamentos =
      TestCompany::ReadAll(NomeArquivoMes(pasta, kPrefixoLancamentos, mes));
  const std::string gerencial = TestCompany::ReadAll(NomeArquivoMes(pasta, kPrefixoGerencial, mes));
  const std::string heap = TestCompany::ReadAll(NomeArquivoMes(pasta, kPrefixoComplementos, mes));
  const size_t total = static_cast<size_t>(kProcessos) * kPorProcesso;
  ASSERT_EQ(lancamentos.size(), (total + 1) * kEntryRecordSize);
  std::set<int32_t> documentos;
  int64_t diferencaEsperada = 0;
  for (uint32_t posicao = 1; posicao <= total; ++posicao) {
    EntryRecord registro;
    std::memcpy(&registro, lancamentos.data() + posicao * kEntryRecordSize, sizeof registro);
    const int p = registro.Documento / 100000, i = registro.Documento % 100000;
    SCOPED_TRACE(testing::Message()
                 << "position " << posicao << ", process " << p << ", entry " << i);
    ASSERT_EQ(+registro.cStatus, kEntryLive);
    EXPECT_TRUE(documentos.insert(registro.Documento).second) << "saved once";
    EXPECT_EQ(+registro.Debito, Debito(i));
    EXPECT_EQ(+registro.Valor.int64, Valor(i));
    ASSERT_LT(static_cast<size_t>(registro.Complemento), heap.size());
    EXPECT_EQ(std::string(heap.c_str() + registro.Complemento), Texto(p, i));
    // Its two lines, and the chain ends after them.
    const uint32_t g = static_cast<uint32_t>(registro.Gerencial);
    ASSERT_LE((g + 2) * kSplitRecordSize, gerencial.size());
    REGLAN_GER linhas[3] = {};
    std::memcpy(linhas, gerencial.data() + g * kSplitRecordSize,
                std::min<size_t>(sizeof linhas, gerencial.size() - g * kSplitRecordSize));
    for (int k = 0; k < 2; ++k) {
      EXPECT_EQ(linhas[k].Indlan & kSplitOwnerMask, posicao);
      EXPECT_EQ(+linhas[k].ContaGerencial, p);
      EXPECT_EQ(+linhas[k].ContaContabil, i);
    }
    EXPECT_NE(linhas[2].Indlan & kSplitOwnerMask, posicao);
    if (registro.Debito == 0) diferencaEsperada -= registro.Valor.int64;
  }
  EXPECT_EQ(documentos.size(), total);

  // The differences add up to the one-sided amounts.
  Servico servico = Inicializado();
  int32_t quantidade = 0;
  ASSERT_EQ(servico->GetQuantidadeDiferenca(&quantidade), S_OK);
  std::vector<Reg_Dif> lista(static_cast<size_t>(quantidade) + 1);
  ASSERT_EQ(servico->GetDiferenca(quantidade, lista.data()), S_OK);
  int64_t diferenca = 0;
  for (int32_t k = 0; k < quantidade; ++k) diferenca += lista[k].Valor.int64;
  EXPECT_EQ(diferenca, diferencaEsperada);

  // One image, one complement and two lines per entry, under the entry's own key.
  const std::vector<RegistroLog> log = TestCompany::ChangeLog();
  ASSERT_EQ(log.size(), total * 4);
  std::set<int32_t> imagens, complementos, linhas;
  for (const RegistroLog& registro : log) {
    EXPECT_EQ(registro.servico, 'I');
    if (registro.tipo == 24) imagens.insert(registro.chave);
    if (registro.tipo == 8) complementos.insert(registro.chave);
    if (registro.tipo == 27) linhas.insert(registro.chave);
  }
  EXPECT_EQ(imagens.size(), total);
  EXPECT_EQ(complementos.size(), total);
  EXPECT_EQ(linhas.size(), 2 * total);
  EXPECT_EQ(*imagens.rbegin(), static_cast<int32_t>(total));
}

QX_SERVICE_SUITE(GravacaoConcorrente);

}  // namespace
}  // namespace qx
