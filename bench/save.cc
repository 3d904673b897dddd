// Saves per second: a new entry with a complement and a two-line split saved
// through the in-process interface object, by one client and by four
// processes at once into one month; next to SQLite writing the same rows and
// the same change-log rows, one transaction per entry (espelho_sqlite.h).
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "espelho_sqlite.h"
#include "outside/suite_setup.h"
#include "platform/bstr.h"
#include "platform/registry.h"
#include "server/cqxcn_lancamento.h"
#include "values/qx_data.h"

namespace {

constexpr char kEmpresa[] = "BENCH";
constexpr int kProcessos = 4;
constexpr int kPorProcesso = 250;  // saves of each process per iteration
const CQXData kData = CQXData::Make(12, 8, 2024);

// A temporary installation with one company, made once per process run and
// removed at its end (forked children leave with _exit and keep it).
class Instalacao {
 public:
  Instalacao() {
    char modelo[] = "/tmp/qx-bench-save-XXXXXX";
    pasta_ = mkdtemp(modelo) != nullptr ? modelo : "";
    setenv("QX_REGISTRY", (pasta_ + "/machine.reg").c_str(), 1);
    setenv("QX_REGISTRY_USER", (pasta_ + "/user.reg").c_str(), 1);
    const qx::Registry registro(getenv("QX_REGISTRY"), getenv("QX_REGISTRY_USER"));
    std::string mensagem;
    qx::CreateInstallation(registro, pasta_ + "/inst", &mensagem);
    qx::CreateCompany(registro, qx::SampleCompany(kEmpresa, 2024), pasta_ + "/" + kEmpresa,
                      &mensagem);
  }
  ~Instalacao() {
    std::error_code ignorado;
    if (!pasta_.empty()) std::filesystem::remove_all(pasta_, ignorado);
  }
  const std::string& Pasta() const { return pasta_; }

 private:
  std::string pasta_;
};

const std::string& Raiz() {
  static const Instalacao instalacao;
  return instalacao.Pasta();
}

_REG_DF_INICIALIZAPS Registro() {
  return qx::RegistroInicializacaoCliente({kEmpresa, 1, 4096 * 5, "BENCH", "bench", "save.cc"});
}

struct Libera {
  void operator()(IQXCN_Lancamento* servico) const { servico->Release(); }
};
using Servico = std::unique_ptr<IQXCN_Lancamento, Libera>;

Servico NovoServico() {
  Raiz();
  void* objeto = nullptr;
  if (QXCN_Lancamento_CreateInstance(nullptr, IID_IQXCN_Lancamento, &objeto) != S_OK) return {};
  Servico servico(static_cast<IQXCN_Lancamento*>(objeto));
  if (servico->Inicializa_Padrao(Registro()) != S_OK) return {};
  return servico;
}

// The entry every save writes, with its two split lines.
std::string Complemento(int i) { return "Pagamento da nota fiscal " + std::to_string(i); }

HRESULT SalvaUm(IQXCN_Lancamento* s, int i) {
  s->SetFilial(1);
  s->SetData(kData.Value());
  s->SetDocumento(i);
  s->SetDebito(4);
  s->SetCredito(11);
  s->SetValor(CURRENCY{1250000});
  s->SetHistorico(1);
  qx::UniqueBstr texto(qx::BstrFromCp1252(Complemento(i)));
  s->SetComplemento(texto.get());
  RegLan_Ger linhas[2] = {};
  linhas[0] = {CURRENCY{750000}, 0, 2, 4, {}};
  linhas[1] = {CURRENCY{500000}, 0, 3, 4, {}};
  s->SetLancamentoGerencial(2, linhas);
  int32_t indlan = 0;
  return s->Grava(&indlan);
}

// Runs `trabalho` in four processes at once; the wall time of the slowest
// goes to the state.
template <class Trabalho>
void EmQuatroProcessos(benchmark::State& state, Trabalho trabalho) {
  for (auto _ : state) {
    const auto inicio = std::chrono::steady_clock::now();
    pid_t filhos[kProcessos];
    for (int p = 0; p < kProcessos; ++p) {
      filhos[p] = fork();
      if (filhos[p] == 0) _exit(trabalho(p));
    }
    bool falhou = false;
    for (const pid_t filho : filhos) {
      int status = 0;
      waitpid(filho, &status, 0);
      falhou |= !WIFEXITED(status) || WEXITSTATUS(status) != 0;
    }
    state.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count());
    if (falhou) state.SkipWithError("a process failed");
  }
  state.SetItemsProcessed(state.iterations() * kProcessos * kPorProcesso);
}

void BM_GravaUmCliente(benchmark::State& state) {
  Servico servico = NovoServico();
  if (!servico) return state.SkipWithError("no service object");
  int i = 0;
  for (auto _ : state) {
    if (SalvaUm(servico.get(), ++i) != S_OK) return state.SkipWithError("save failed");
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GravaUmCliente)->UseRealTime()->Unit(benchmark::kMicrosecond);

void BM_GravaQuatroProcessos(benchmark::State& state) {
  Raiz();
  EmQuatroProcessos(state, [](int p) {
    Servico servico = NovoServico();
    if (!servico) return 2;
    for (int i = 0; i < kPorProcesso; ++i) {
      if (SalvaUm(servico.get(), p * 100000 + i) != S_OK) return 3;
    }
    return 0;
  });
}
BENCHMARK(BM_GravaQuatroProcessos)->UseManualTime()->Unit(benchmark::kMillisecond);

// The same rows in SQLite, with the change-log rows the server sends.
bool InsereUm(qx::bench::EspelhoSqlite& db, int i) {
  return db.Grava(i, 4, 11, 1250000, kData.Value(), Complemento(i), {{750000, 2}, {500000, 3}});
}

// Inserts `quantos` entries (or, with 0, one per benchmark iteration).
int InsereVarios(benchmark::State* state, int base, int quantos) {
  qx::bench::EspelhoSqlite db(Raiz() + "/lancamentos.db");
  if (!db.Aberto()) return 2;
  int resultado = 0;
  if (state != nullptr) {
    int i = base;
    for (auto _ : *state) {
      if (!InsereUm(db, ++i)) resultado = 3;
    }
    state->SetItemsProcessed(state->iterations());
  } else {
    for (int i = 0; i < quantos && resultado == 0; ++i) {
      if (!InsereUm(db, base + i)) resultado = 3;
    }
  }
  return resultado;
}

void BM_SqliteUmCliente(benchmark::State& state) {
  if (InsereVarios(&state, 0, 0) != 0) state.SkipWithError("insert failed");
}
BENCHMARK(BM_SqliteUmCliente)->UseRealTime()->Unit(benchmark::kMicrosecond);

void BM_SqliteQuatroProcessos(benchmark::State& state) {
  Raiz();
  EmQuatroProcessos(state,
                    [](int p) { return InsereVarios(nullptr, (p + 1) * 100000, kPorProcesso); });
}
BENCHMARK(BM_SqliteQuatroProcessos)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
