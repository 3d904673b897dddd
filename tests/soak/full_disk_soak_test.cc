// The crash soak's full-disk round: client processes save and update entries
// through the server on a small disk while the driver fills that disk,
// kills the server while it is full and frees it again. A save that reports
// success reads back afterwards; one that reports a failure of the files
// (the disk) left the entry as it was, so the entry's last acknowledged state
// reads back too; qxcheck finds no damage after every round. Needs root to
// mount the disk; skips with the reason otherwise.
#include <fcntl.h>

#include <cstring>
#include <map>
#include <random>
#include <sstream>

#include "../platform/small_disk.h"
#include "soak_support.h"
#include "values/qx_data.h"
#include "values/qx_mes_ano.h"

namespace qx::soak {
namespace {

constexpr int kClientes = 3;
constexpr int kRodadas = 2;
const CQXData kDia = CQXData::Make(9, 5, 2024);

// One line per acknowledged state: "<position> <amount>"; a position whose
// call may or may not have happened (the server went away) gets amount -1,
// and a save that the files refused (position 0) amount 0.
void Anota(int fd, int32_t posicao, int64_t valor) {
  const std::string linha = std::to_string(posicao) + " " + std::to_string(valor) + "\n";
  if (write(fd, linha.data(), linha.size()) != static_cast<ssize_t>(linha.size())) _exit(5);
}

// Saves new entries and updates its own until killed. An update is noted as
// uncertain before it is tried. A positive result is a status of the files:
// the save was undone and the entry keeps its state.
[[noreturn]] void Cliente(uint32_t semente, const std::string& arquivo) {
  alarm(120);
  const int fd = open(arquivo.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
  if (fd < 0) _exit(6);
  std::mt19937 rng(semente);
  std::vector<std::pair<int32_t, int64_t>> proprias;  // position, acknowledged amount
  Service s;
  for (;;) {
    if (!s && !(s = Connect())) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
      continue;
    }
    const int64_t valor = static_cast<int64_t>(rng() % 100000 + 1) * 100;
    const size_t i = proprias.empty() || rng() % 3 != 0 ? SIZE_MAX : rng() % proprias.size();
    int32_t indlan = i == SIZE_MAX ? 0 : proprias[i].first;
    if (i != SIZE_MAX) {
      if (s->Le(indlan, kDia.MesAno().Value()) != S_OK) {
        s.reset();
        continue;
      }
      Anota(fd, indlan, -1);
    }
    const int32_t alvo = indlan;
    const HRESULT hr = Salva(s.get(), 1, kDia, valor, "cheio " + std::to_string(valor), &indlan);
    if (hr == S_OK) {
      Anota(fd, indlan, valor);
      if (i == SIZE_MAX) {
        proprias.emplace_back(indlan, valor);
      } else {
        proprias[i].second = valor;
      }
    } else if (hr > 0) {
      Anota(fd, 0, 0);
      if (i != SIZE_MAX) Anota(fd, alvo, proprias[i].second);
    } else {
      // The server went away: the entry may hold either amount from now on.
      if (i != SIZE_MAX) proprias.erase(proprias.begin() + static_cast<ptrdiff_t>(i));
      s.reset();
    }
  }
}

// The last acknowledged amount of every position (-1: uncertain), and how
// many saves the files refused.
std::map<int32_t, int64_t> Anotacoes(const std::vector<std::string>& arquivos,
                                     size_t* recusas = nullptr) {
  std::map<int32_t, int64_t> estados;
  size_t recusadas = 0;
  for (const std::string& arquivo : arquivos) {
    std::istringstream linhas(ReadText(arquivo));
    int32_t posicao = 0;
    int64_t valor = 0;
    while (linhas >> posicao >> valor) {
      if (posicao == 0) {
        ++recusadas;
      } else {
        estados[posicao] = valor;
      }
    }
  }
  if (recusas != nullptr) *recusas = recusadas;
  return estados;
}

// In a child: the number of acknowledged entries that do not read back (at most 100).
[[noreturn]] void Confere(const std::map<int32_t, int64_t>& estados) {
  alarm(120);
  Service s = ConnectUntil(std::chrono::steady_clock::now() + std::chrono::seconds(30));
  if (!s) _exit(101);
  int diferentes = 0;
  for (const auto& [posicao, valor] : estados) {
    if (valor < 0) continue;
    RegDados dados{};
    const HRESULT hr = s->LeDados(posicao, kDia.MesAno().Value(), &dados);
    if (hr != S_OK || dados.Valor.int64 != valor) {
      if (diferentes++ < 100) {
        fprintf(stderr, "position %d: expected %lld, read hr %#x %lld\n", posicao,
                static_cast<long long>(valor), static_cast<unsigned>(hr),
                static_cast<long long>(dados.Valor.int64));
      }
    }
  }
  printf("read back %zu acknowledged entries, %d differ\n", estados.size(), diferentes);
  fflush(stdout);
  _exit(diferentes > 100 ? 100 : diferentes);
}

TEST(CrashSoak, FullDiskRounds) {
  test::SmallDisk disco("16m");
  if (!disco.Mounted()) GTEST_SKIP() << disco.Reason();
  const test::TempDir anotacoes;  // off the small disk, which fills up
  test::ScopedEnv temporario("TMPDIR", disco.path());
  ServerCompany pasta;
  std::mt19937 rng(std::random_device{}());
  std::vector<std::string> arquivos;
  for (int rodada = 0; rodada < kRodadas; ++rodada) {
    SCOPED_TRACE(testing::Message() << "round " << rodada);
    std::vector<pid_t> clientes;
    for (int id = 0; id < kClientes; ++id) {
      arquivos.push_back(anotacoes / ("acks." + std::to_string(arquivos.size())));
      const uint32_t semente = rng();
      const pid_t filho = fork();
      if (filho == 0) Cliente(semente, arquivos.back());
      clientes.push_back(filho);
    }
    // Each step waits for what the clients do, not for a time: on a busy
    // machine the clients start late and save slowly.
    const size_t antes = Anotacoes(arquivos).size();
    Espera([&] { return Anotacoes(arquivos).size() >= antes + kClientes; }, 30);
    disco.Fill();
    size_t recusas = 0;
    Espera([&] {
      Anotacoes(arquivos, &recusas);
      return recusas > 0;
    }, 30);
    EXPECT_GT(recusas, 0u) << "the full disk refused no save";
    pasta.KillServersOnce();
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    const size_t cheio = Anotacoes(arquivos).size();
    disco.Free();
    // Saving goes on once there is room again: bounded, never a hang.
    Espera([&] { return Anotacoes(arquivos).size() > cheio; }, 30);
    EXPECT_GT(Anotacoes(arquivos).size(), cheio) << "no save after the disk had room again";
    for (const pid_t pid : clientes) kill(pid, SIGKILL);
    for (const pid_t pid : clientes) waitpid(pid, nullptr, 0);
    pasta.KillServers();

    Qxcheck(anotacoes / "qxcheck.out");
    const pid_t conferente = fork();
    if (conferente == 0) Confere(Anotacoes(arquivos));
    EXPECT_EQ(WaitChild(conferente, std::chrono::steady_clock::now() + std::chrono::seconds(150)),
              0)
        << "acknowledged entries that do not read back (see above)";
    pasta.KillServers();
    if (HasFailure()) break;
  }
}

}  // namespace
}  // namespace qx::soak
