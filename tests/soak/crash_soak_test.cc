// Client processes save, update and delete entries through the server while
// the driver kills clients and the server itself with SIGKILL at random
// moments. After each round the folder holds no damage (only what an
// interrupted save may leave) and every call that reported success reads back
// from a fresh server. The seed is printed; QX_SOAK_SEED repeats a run.
//
// Totals are kept per branch and every connection saves under a branch of its
// own, touching only the entries it saved: a killed server stops at most one
// save or removal, so each branch's totals lack at most one entry's amount,
// which qxcheck admits.
#include <cstring>
#include <set>

#include "journal.h"

namespace qx::soak {
namespace {

constexpr int kClients = 4;
constexpr int kRounds = kSanitized ? 3 : 6;
constexpr auto kRound = std::chrono::milliseconds(kSanitized ? 2500 : 2000);

TEST(CrashSoak, KilledClientsAndServersLoseNoAcknowledgedCall) {
  ServerCompany pasta;
  pasta.company().SetConfig("difference-per-branch", 1);
  const uint32_t semente = Semente("crash soak");
  RecordProperty("seed", std::to_string(semente));
  std::mt19937 rng(semente);
  std::vector<std::string> arquivos;
  int clientesMortos = 0, servidoresMortos = 0;
  const auto novoCliente = [&](int id) {
    std::string arquivo = pasta.company().root();
    arquivos.push_back(arquivo.append("/acks.").append(std::to_string(arquivos.size())));
    const uint32_t propria = rng();
    const int processo = static_cast<int>(arquivos.size());
    const pid_t filho = fork();
    if (filho == 0) Cliente(id, processo, propria, arquivos.back());
    return filho;
  };
  const auto anotadas = [&] {
    Esperado ignorado;
    size_t total = 0;
    for (const std::string& arquivo : arquivos) total += LeAnotacoes(arquivo, &ignorado);
    return total;
  };
  for (int rodada = 0; rodada < kRounds; ++rodada) {
    SCOPED_TRACE(testing::Message() << "seed " << semente << ", round " << rodada);
    std::vector<pid_t> clientes;
    for (int id = 0; id < kClients; ++id) clientes.push_back(novoCliente(id));
    const auto inicio = std::chrono::steady_clock::now();
    size_t antesDaQueda = 0;
    bool derrubado = false;
    while (std::chrono::steady_clock::now() < inicio + kRound) {
      std::this_thread::sleep_for(std::chrono::milliseconds(30 + rng() % 200));
      if (!derrubado && std::chrono::steady_clock::now() > inicio + kRound / 2) {
        antesDaQueda = anotadas();  // the saves after this kill prove that mark 7 went with it
        servidoresMortos += pasta.KillServersOnce();
        derrubado = true;
      } else if (rng() % 3 == 0) {
        servidoresMortos += pasta.KillServersOnce();
      } else {
        const int id = static_cast<int>(rng() % kClients);
        kill(clientes[id], SIGKILL);
        waitpid(clientes[id], nullptr, 0);
        clientes[id] = novoCliente(id);
        ++clientesMortos;
      }
    }
    // A quiet spell without kills, so that a loaded machine still shows that
    // saving goes on after the killed server: bounded, never a hang.
    Espera([&] { return anotadas() > antesDaQueda; }, 30);
    for (const pid_t pid : clientes) kill(pid, SIGKILL);
    for (const pid_t pid : clientes) waitpid(pid, nullptr, 0);
    pasta.KillServers();
    EXPECT_GT(anotadas(), antesDaQueda) << "no call succeeded after the server was killed";

    // How many interrupted saves or removals left a total behind.
    const std::string relatorio = Qxcheck(pasta.company().root() + "/qxcheck.out");
    size_t incompletos = 0;
    for (size_t em = relatorio.find("[difference-unfinished]"); em != std::string::npos;
         em = relatorio.find("[difference-unfinished]", em + 1)) {
      ++incompletos;
    }
    printf("round %d: totals left by interrupted calls: %zu\n", rodada, incompletos);
    fflush(stdout);

    Esperado esperado;
    for (const std::string& arquivo : arquivos) LeAnotacoes(arquivo, &esperado);
    EXPECT_EQ(ConfereEmFilho(esperado), 0) << "acknowledged entries that do not read back (see above)";
    pasta.KillServers();
    if (HasFailure()) break;
  }
  printf("crash soak: %zu acknowledged calls, %d clients and %d servers killed\n", anotadas(),
         clientesMortos, servidoresMortos);
}

}  // namespace
}  // namespace qx::soak
