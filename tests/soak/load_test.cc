// Many client processes against one server for a bounded time: no call
// fails, and the server's resident memory stays flat once warmed up. The
// peak (VmHWM) and the samples are printed.
#include <sys/mman.h>

#include <algorithm>
#include <atomic>

#include "soak_support.h"
#include "values/qx_data.h"
#include "values/qx_mes_ano.h"

namespace qx::soak {
namespace {

constexpr int kClients = kSanitized ? 16 : 64;
constexpr auto kDuration = std::chrono::seconds(kSanitized ? 6 : 10);
const CQXData kDia = CQXData::Make(3, 7, 2024);

// Shared by the test and its clients: the run is timed from the moment every
// client has made its first round, however long a busy machine takes to get
// them all connected, and ends when the test says so.
struct Placar {
  std::atomic<int> prontos{0};
  std::atomic<bool> parar{false};
};

// A client's loop: save an entry, read it back, count the month now and then.
// Exits 0 when every call succeeded, else with the number of the failing step.
[[noreturn]] void Cliente(int id, Placar& placar) {
  alarm(180);  // never outlive a stuck test
  Service s = ConnectUntil(std::chrono::steady_clock::now() + std::chrono::seconds(60));
  if (!s) _exit(2);
  const uint16_t mes = kDia.MesAno().Value();
  for (int n = 0; n == 0 || !placar.parar; ++n) {
    const int64_t valor = (id * 1000 + n % 1000 + 1) * 100;
    s->SetFilial(1);
    s->SetData(kDia.Value());
    s->SetDebito(4);
    s->SetCredito(11);
    s->SetValor(CURRENCY{valor});
    s->SetHistorico(1);
    int32_t indlan = 0;
    if (s->Grava(&indlan) != S_OK || indlan <= 0) _exit(3);
    RegDados dados{};
    if (s->LeDados(indlan, mes, &dados) != S_OK || dados.Valor.int64 != valor) _exit(4);
    int32_t quantidade = 0;
    if (n % 16 == 0 && s->BuscaQtdLancamentos(kDia.Value(), kDia.Value(), &quantidade) != S_OK) {
      _exit(5);
    }
    if (n == 0) ++placar.prontos;
  }
  _exit(0);
}

TEST(Load, ManyClientsNoFailedCallAndFlatServerMemory) {
  // AddressSanitizer keeps freed memory in a quarantine of 256 MB, which may
  // still be filling long after the warm-up; the server, started by a client,
  // inherits a small one so that what it holds shows.
  const char* opcoes = getenv("ASAN_OPTIONS");
  const test::ScopedEnv quarentena(
      "ASAN_OPTIONS", std::string(opcoes != nullptr ? opcoes : "") + ":quarantine_size_mb=16");
  ServerCompany pasta;
  void* mapa = mmap(nullptr, sizeof(Placar), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS,
                    -1, 0);
  ASSERT_NE(mapa, MAP_FAILED);
  auto& placar = *new (mapa) Placar;
  std::vector<pid_t> clientes;
  for (int id = 0; id < kClients; ++id) {
    const pid_t filho = fork();
    ASSERT_GE(filho, 0);
    if (filho == 0) Cliente(id, placar);
    clientes.push_back(filho);
  }
  Espera([&] { return placar.prontos >= kClients; }, 90);
  EXPECT_EQ(placar.prontos, kClients) << "clients still without a first round after 90 s";
  // Resident memory of the server, sampled; the first third of the run warms it up. A
  // server started by a client that lost the race to another one may show for a moment
  // beside the one that serves; the larger is the server.
  const auto inicio = std::chrono::steady_clock::now();
  const auto fim = inicio + kDuration;
  int64_t aquecido = 0, maior = 0, pico = 0;
  while (std::chrono::steady_clock::now() < fim) {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    int64_t rss = 0;
    for (const pid_t servidor : pasta.Servers()) {
      rss = std::max(rss, StatusKb(servidor, "VmRSS"));
      pico = std::max(pico, StatusKb(servidor, "VmHWM"));
    }
    if (std::chrono::steady_clock::now() < inicio + kDuration / 3) {
      aquecido = std::max(aquecido, rss);
    } else {
      maior = std::max(maior, rss);
    }
  }
  placar.parar = true;
  const auto limite = fim + std::chrono::seconds(60);
  int falhas = 0;
  for (const pid_t filho : clientes) {
    if (const int codigo = WaitChild(filho, limite)) {
      ++falhas;
      ADD_FAILURE() << "client " << filho << " ended with " << codigo;
    }
  }
  EXPECT_EQ(falhas, 0);
  printf(
      "load: %d clients, server VmRSS %lld kB after warm-up, %lld kB at most later, "
      "VmHWM %lld kB\n",
      kClients, static_cast<long long>(aquecido), static_cast<long long>(maior),
      static_cast<long long>(pico));
  RecordProperty("server_vmhwm_kb", std::to_string(pico));
  ASSERT_GT(aquecido, 0) << "the server was never seen";
  // Flat: what the objects hold is there after warm-up; a leak per call would grow with them.
  EXPECT_LE(maior, aquecido + aquecido / 4 + 8 * 1024);
  munmap(mapa, sizeof(Placar));
}

}  // namespace
}  // namespace qx::soak
