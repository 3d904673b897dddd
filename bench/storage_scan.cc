// Sequential scans of a 1,000,000-record file of 50-byte records, through
// CQXarq::Le and CQXArqEx::Le, in records per second. The file sits in the
// page cache after the first pass. BM_Yield measures the zero-length sleep
// that CQXArqEx::Le makes before every read, to show what it costs a scan.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/clock.h"
#include "storage/arq_status.h"
#include "storage/qx_arq.h"
#include "storage/qx_arq_ex.h"

namespace {

constexpr uint32_t kRegistros = 1000000;
constexpr uint32_t kTamanho = 50;

// The scanned file, written once per process in a private temporary folder.
class ArquivoDeTeste {
 public:
  ArquivoDeTeste() {
    std::string modelo = (std::filesystem::temp_directory_path() / "qx-bench-XXXXXX").string();
    if (mkdtemp(modelo.data()) == nullptr) abort();
    pasta_ = modelo;
    caminho_ = pasta_ + "/CNLC0324.DAT";
    std::string dados(static_cast<size_t>(kRegistros + 1) * kTamanho, '\0');
    for (uint32_t n = 1; n <= kRegistros; ++n) dados[size_t{n} * kTamanho] = static_cast<char>(n);
    std::ofstream(caminho_, std::ios::binary).write(dados.data(), std::streamsize(dados.size()));
  }
  ~ArquivoDeTeste() { std::filesystem::remove_all(pasta_); }
  const char* Caminho() const { return caminho_.c_str(); }

 private:
  std::string pasta_;
  std::string caminho_;
};

const ArquivoDeTeste& Arquivo() {
  static ArquivoDeTeste arquivo;
  return arquivo;
}

template <typename Le>
void Varre(benchmark::State& state, Le&& le) {
  char registro[kTamanho];
  uint64_t soma = 0;
  for (auto _ : state) {
    uint32_t n = 1;
    while (le(n, registro) == ARQ_OK) {
      soma += static_cast<unsigned char>(registro[0]);
      ++n;
    }
    if (n != kRegistros + 1) state.SkipWithError("scan stopped early");
  }
  benchmark::DoNotOptimize(soma);
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kRegistros);
}

void BM_CQXarqScan(benchmark::State& state) {
  CQXarq arquivo;
  if (arquivo.Abre(Arquivo().Caminho(), 'L', kTamanho, false) != ARQ_OK) {
    state.SkipWithError("open failed");
    return;
  }
  Varre(state, [&](uint32_t n, char* destino) { return arquivo.Le(n, destino); });
}
BENCHMARK(BM_CQXarqScan)->Unit(benchmark::kMillisecond);

void BM_CQXArqExScan(benchmark::State& state) {
  CQXArqEx arquivo;
  if (arquivo.Abre(Arquivo().Caminho(), 'L', kTamanho, false, true) != ARQ_OK) {
    state.SkipWithError("open failed");
    return;
  }
  Varre(state, [&](uint32_t n, char* destino) { return arquivo.Le(n, destino); });
}
BENCHMARK(BM_CQXArqExScan)->Unit(benchmark::kMillisecond);

void BM_Yield(benchmark::State& state) {
  for (auto _ : state) Sleep(0);
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}
BENCHMARK(BM_Yield);

}  // namespace

BENCHMARK_MAIN();
