// Saves per second: a new entry with a complement and a two-line split saved
// through the in-process interface object, by one client and by four
// processes at once into one month; next to SQLite writing the same rows and
// the same change-log rows, one transaction per entry (espelho_sqlite.h).
//
// Each saving benchmark runs on a company whose suite data is in SQLite
// (/0), on one whose suite data is in PostgreSQL (/1: a private cluster with
// its default durability, synchronous commits) and on one whose connection
// asks for asynchronous commits (/2), side by side;
// the batch saves (GravaLote, 2,048 entries a call, as qxcn importa sends
// them) too. Three repetitions each: read the medians.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "contract/interface_ids.h"
#include "espelho_sqlite.h"
#include "outside/admin/suite_setup.h"
#include "platform/bstr.h"
#include "platform/child_output.h"
#include "platform/registry.h"
#include "server/cqxcn_lancamento.h"
#include "values/qx_data.h"

namespace {

// By backend: SQLite; PostgreSQL; PostgreSQL with asynchronous commits (a
// choice of the connection: options=-csynchronous_commit=off).
constexpr const char* kEmpresas[] = {"BENCH", "BENCHPG", "BENCHPGA"};
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
    std::string servidor;
    qx::RunForOutput({QX_SOURCE_DIR "/scripts/pg-cluster", "start", pasta_ + "/pg", "durable"},
                     120000, &servidor);
    const std::string conexao =
        "host=" + servidor.substr(0, servidor.find('\n')) + " dbname=postgres user=postgres";
    const std::string conexoes[] = {"", conexao + " options=-csearch_path=pg",
                                    conexao +
                                        " options=-csearch_path=pga\\ "
                                        "-csynchronous_commit=off"};
    std::string ignorada;
    qx::RunForOutput({"psql", "-h", servidor.substr(0, servidor.find('\n')), "-U", "postgres", "-d",
                      "postgres", "-c", "CREATE SCHEMA pg; CREATE SCHEMA pga"},
                     60000, &ignorada);
    for (size_t b = 0; b < std::size(kEmpresas); ++b) {
      qx::CreateCompany(registro, qx::SampleCompany(kEmpresas[b], 2024),
                        pasta_ + "/" + kEmpresas[b], &mensagem, conexoes[b]);
    }
  }
  ~Instalacao() {
    std::string ignorada;
    qx::RunForOutput({QX_SOURCE_DIR "/scripts/pg-cluster", "stop", pasta_ + "/pg"}, 60000,
                     &ignorada);
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

_REG_DF_INICIALIZAPS Registro(int64_t banco) {
  return qx::RegistroInicializacaoCliente(
      {kEmpresas[banco], 1, 4096 * 5, "BENCH", "bench", "save.cc"});
}

struct Libera {
  void operator()(IQXCN_Lancamento* servico) const { servico->Release(); }
};
using Servico = std::unique_ptr<IQXCN_Lancamento, Libera>;

Servico NovoServico(int64_t banco) {
  Raiz();
  void* objeto = nullptr;
  if (QXCN_Lancamento_CreateInstance(nullptr, IID_IQXCN_Lancamento, &objeto) != S_OK) return {};
  Servico servico(static_cast<IQXCN_Lancamento*>(objeto));
  if (servico->Inicializa_Padrao(Registro(banco)) != S_OK) return {};
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
  Servico servico = NovoServico(state.range(0));
  if (!servico) return state.SkipWithError("no service object");
  int i = 0;
  for (auto _ : state) {
    if (SalvaUm(servico.get(), ++i) != S_OK) return state.SkipWithError("save failed");
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GravaUmCliente)
    ->DenseRange(0, 2)
    ->Repetitions(3)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);

void BM_GravaQuatroProcessos(benchmark::State& state) {
  Raiz();
  const int64_t banco = state.range(0);
  EmQuatroProcessos(state, [banco](int p) {
    Servico servico = NovoServico(banco);
    if (!servico) return 2;
    for (int i = 0; i < kPorProcesso; ++i) {
      if (SalvaUm(servico.get(), p * 100000 + i) != S_OK) return 3;
    }
    return 0;
  });
}
BENCHMARK(BM_GravaQuatroProcessos)
    ->DenseRange(0, 2)
    ->Repetitions(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// A batch of an import as qxcn importa sends it: entries with a complement
// and a two-line split, saved by one GravaLote.
constexpr int kPorLote = 2048;

void BM_GravaLote(benchmark::State& state) {
  Servico servico = NovoServico(state.range(0));
  IQXCN_LancamentoLote* lote = nullptr;
  if (!servico ||
      servico->QueryInterface(IID_IQXCN_LancamentoLote, reinterpret_cast<void**>(&lote)) != S_OK) {
    return state.SkipWithError("no batch interface");
  }
  std::vector<REG_LOTE_LANCAMENTO> lancamentos(kPorLote);
  std::vector<REG_LOTE_GERENCIAL> linhas(2 * kPorLote);
  std::string textos;
  for (int i = 0; i < kPorLote; ++i) {
    RegDados& dados = lancamentos[i].Dados;
    dados.Filial = 1;
    dados.DataLancamento = kData.Value();
    dados.Documento = i;
    dados.Debito = 4;
    dados.Credito = 11;
    dados.Valor = CURRENCY{1250000};
    dados.CodHis = 1;
    const std::string texto = Complemento(i);
    lancamentos[i].ulInicioComplemento = static_cast<uint32_t>(textos.size());
    lancamentos[i].usTamanhoComplemento = static_cast<uint16_t>(texto.size());
    lancamentos[i].usQtdGerencial = 2;
    textos += texto;
    linhas[2 * i].Linha = {CURRENCY{750000}, 0, 2, 4, {}};
    linhas[2 * i + 1].Linha = {CURRENCY{500000}, 0, 3, 4, {}};
  }
  std::vector<int32_t> posicoes(kPorLote);
  for (auto _ : state) {
    int32_t falha = -1;
    if (lote->GravaLote(kPorLote, lancamentos.data(), 2 * kPorLote, linhas.data(),
                        static_cast<int32_t>(textos.size()),
                        reinterpret_cast<unsigned char*>(textos.data()), posicoes.data(),
                        &falha) != S_OK) {
      return state.SkipWithError("batch failed");
    }
  }
  lote->Release();
  state.SetItemsProcessed(state.iterations() * kPorLote);
}
BENCHMARK(BM_GravaLote)
    ->DenseRange(0, 2)
    ->Repetitions(3)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

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
