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
#include <fcntl.h>

#include <cstring>
#include <initializer_list>
#include <map>
#include <random>
#include <set>
#include <sstream>

#include "platform/bstr.h"
#include "soak_support.h"
#include "values/qx_data.h"
#include "values/qx_mes_ano.h"

namespace qx::soak {
namespace {

constexpr int kClients = 4;
constexpr int kRounds = kSanitized ? 3 : 6;
constexpr auto kRound = std::chrono::milliseconds(kSanitized ? 2500 : 2000);
const CQXData kDias[2] = {CQXData::Make(9, 5, 2024), CQXData::Make(20, 6, 2024)};

// One acknowledged call, as a client writes it after the success (one write() per line):
//   "S month position amount text"  a new entry     "U ..." the same for an update
//   "T month position"              an update or removal about to be tried
//   "D month position"              a removal
struct Estado {
  bool excluido = false;
  bool incerto = false;  // a call was tried and not acknowledged
  int64_t valor = 0;
  std::string texto;
};
using Esperado = std::map<std::pair<uint16_t, int32_t>, Estado>;

// Writes one line: the type and the fields, separated by spaces.
void Anota(int fd, char tipo, std::initializer_list<std::string> campos) {
  std::string texto(1, tipo);
  for (const std::string& campo : campos) texto.append(1, ' ').append(campo);
  texto += '\n';
  if (write(fd, texto.data(), texto.size()) != static_cast<ssize_t>(texto.size())) _exit(5);
}

struct Proprio {
  uint16_t mes;
  int32_t posicao;
};

// Sets the current entry and saves it at *indlan (0: a new entry).
HRESULT Salva(IQXCN_Lancamento* s, uint16_t filial, CQXData dia, int64_t valor,
              const std::string& texto, int32_t* indlan) {
  s->SetFilial(filial);
  s->SetData(dia.Value());
  s->SetDebito(valor % 3 == 0 ? 0 : 4);
  s->SetCredito(11);
  s->SetValor(CURRENCY{valor});
  s->SetDocumento(static_cast<int32_t>(valor % 100000));
  s->SetHistorico(1);
  UniqueBstr bstr(BstrFromCp1252(texto));
  s->SetComplemento(bstr.get());
  return s->Grava(indlan);
}

// A client's life: random calls until killed; a failed call means the server
// went away. `processo` numbers the client processes of the run, for branches.
[[noreturn]] void Cliente(int id, int processo, uint32_t semente, const std::string& arquivo) {
  alarm(120);  // never outlive a stuck test
  const int fd = open(arquivo.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
  if (fd < 0) _exit(6);
  std::mt19937 rng(semente);
  std::vector<Proprio> proprios;
  Service s;
  uint16_t filial = 0;
  for (int n = 0, conexoes = 0;; ++n) {
    if (!s) {
      s = Connect();
      if (!s) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        continue;
      }
      filial = static_cast<uint16_t>(1 + processo * 64 + conexoes++ % 64);
      proprios.clear();
    }
    const uint32_t sorte = rng() % 100;
    const int64_t valor = static_cast<int64_t>(rng() % 1000000 + 1) * 100;
    std::string texto = "c";
    texto.append(std::to_string(id)).append(1, '_').append(std::to_string(n));
    if (sorte < 55 || proprios.empty()) {
      const CQXData dia = kDias[rng() % 2];
      int32_t indlan = 0;
      if (Salva(s.get(), filial, dia, valor, texto, &indlan) != S_OK || indlan <= 0) {
        s.reset();
        continue;
      }
      const uint16_t mes = dia.MesAno().Value();
      Anota(fd, 'S', {std::to_string(mes), std::to_string(indlan), std::to_string(valor), texto});
      proprios.push_back({mes, indlan});
      continue;
    }
    const size_t i = rng() % proprios.size();
    const Proprio alvo = proprios[i];
    const std::string mes = std::to_string(alvo.mes), posicao = std::to_string(alvo.posicao);
    if (sorte < 80) {
      if (s->Le(alvo.posicao, alvo.mes) != S_OK) {
        s.reset();
        continue;
      }
      Anota(fd, 'T', {mes, posicao});
      int32_t indlan = alvo.posicao;
      const CQXData dia = kDias[alvo.mes == kDias[0].MesAno().Value() ? 0 : 1];
      if (Salva(s.get(), filial, dia, valor, texto, &indlan) == S_OK) {
        Anota(fd, 'U', {mes, posicao, std::to_string(valor), texto});
        continue;
      }
    } else {
      Anota(fd, 'T', {mes, posicao});
      if (s->Exclui(alvo.posicao, alvo.mes) == S_OK) {
        Anota(fd, 'D', {mes, posicao});
        proprios.erase(proprios.begin() + static_cast<ptrdiff_t>(i));
        continue;
      }
    }
    // Unacknowledged: the entry may hold either state; leave it alone from now on.
    proprios.erase(proprios.begin() + static_cast<ptrdiff_t>(i));
    s.reset();
  }
}

// Adds the acknowledged calls of one client's file.
size_t LeAnotacoes(const std::string& arquivo, Esperado* esperado) {
  std::istringstream linhas(ReadFile(arquivo));
  size_t quantas = 0;
  for (std::string linha; std::getline(linhas, linha);) {
    std::istringstream campos(linha);
    char tipo = 0;
    uint16_t mes = 0;
    int32_t posicao = 0;
    campos >> tipo >> mes >> posicao;
    Estado& estado = (*esperado)[{mes, posicao}];
    if (tipo == 'T') {
      estado.incerto = true;
      continue;
    }
    ++quantas;
    estado = Estado{};
    estado.excluido = tipo == 'D';
    if (tipo != 'D') campos >> estado.valor >> estado.texto;
  }
  return quantas;
}

// In a child: reads every acknowledged entry back from a fresh server; exits with the
// number of entries that differ (at most 100).
[[noreturn]] void Confere(const Esperado& esperado) {
  alarm(120);
  Service s = ConnectUntil(std::chrono::steady_clock::now() + std::chrono::seconds(30));
  if (!s) _exit(101);
  int diferentes = 0, lidos = 0, excluidos = 0;
  for (const auto& [chave, estado] : esperado) {
    if (estado.incerto) continue;
    ++lidos;
    excluidos += estado.excluido ? 1 : 0;
    RegDadosComplemento dados{};
    const HRESULT hr = s->LeDadosComplemento(chave.second, chave.first, &dados);
    const bool certo = estado.excluido ? (hr & 0xFFFF) == 0x05F7
                                       : hr == S_OK && dados.RegLan.Valor.int64 == estado.valor &&
                                             estado.texto == dados.cComplemento;
    if (!certo && diferentes++ < 100) {
      fprintf(stderr, "month %u position %d: expected %s %lld %s, read hr %#x %lld %s\n",
              chave.first, chave.second, estado.excluido ? "deleted" : "live",
              static_cast<long long>(estado.valor), estado.texto.c_str(), static_cast<unsigned>(hr),
              static_cast<long long>(dados.RegLan.Valor.int64), dados.cComplemento);
    }
  }
  printf("read back %d acknowledged entries (%d deleted), %d differ\n", lidos, excluidos,
         diferentes);
  fflush(stdout);
  _exit(diferentes > 100 ? 100 : diferentes);
}

TEST(CrashSoak, KilledClientsAndServersLoseNoAcknowledgedCall) {
  ServerCompany pasta;
  pasta.company().SetConfig("difference-per-branch", 1);
  const char* fixa = getenv("QX_SOAK_SEED");
  const uint32_t semente =
      fixa ? static_cast<uint32_t>(std::strtoul(fixa, nullptr, 10)) : std::random_device{}();
  printf("crash soak seed %u (QX_SOAK_SEED=%u repeats it)\n", semente, semente);
  fflush(stdout);  // before the children inherit the buffer
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
    const auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (anotadas() <= antesDaQueda && std::chrono::steady_clock::now() < limite) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    for (const pid_t pid : clientes) kill(pid, SIGKILL);
    for (const pid_t pid : clientes) waitpid(pid, nullptr, 0);
    pasta.KillServers();
    EXPECT_GT(anotadas(), antesDaQueda) << "no call succeeded after the server was killed";

    const std::string saida = pasta.company().root() + "/qxcheck.out";
    std::string comando = QX_TEST_BINARY_DIR "/tools/qxcheck/qxcheck --empresa EMP1 >";
    comando.append(saida).append(" 2>&1");
    const int verificacao = std::system(comando.c_str());
    EXPECT_EQ(verificacao, 0) << ReadFile(saida);
    // How many interrupted saves or removals left a total behind.
    const std::string relatorio = ReadFile(saida);
    size_t incompletos = 0;
    for (size_t em = relatorio.find("[difference-unfinished]"); em != std::string::npos;
         em = relatorio.find("[difference-unfinished]", em + 1)) {
      ++incompletos;
    }
    printf("round %d: totals left by interrupted calls: %zu\n", rodada, incompletos);
    fflush(stdout);

    Esperado esperado;
    for (const std::string& arquivo : arquivos) LeAnotacoes(arquivo, &esperado);
    const pid_t conferente = fork();
    if (conferente == 0) Confere(esperado);
    EXPECT_EQ(WaitChild(conferente, std::chrono::steady_clock::now() + std::chrono::seconds(150)),
              0)
        << "acknowledged entries that do not read back (see above)";
    pasta.KillServers();
    if (HasFailure()) break;
  }
  printf("crash soak: %zu acknowledged calls, %d clients and %d servers killed\n", anotadas(),
         clientesMortos, servidoresMortos);
}

}  // namespace
}  // namespace qx::soak
