// Uncontended Marca + Desmarca pairs per second on one mark of a folder.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "storage/arq_status.h"
#include "storage/qx_arq_ex.h"

namespace {

void BM_MarcaDesmarca(benchmark::State& state) {
  std::string pasta = (std::filesystem::temp_directory_path() / "qx-bench-XXXXXX").string();
  if (mkdtemp(pasta.data()) == nullptr) abort();
  CQXArqEx arquivo;
  for (auto _ : state) {
    if (arquivo.Marca(pasta.c_str(), 7) != ARQ_OK) {
      state.SkipWithError("mark not taken");
      break;
    }
    arquivo.Desmarca();
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
  std::filesystem::remove_all(pasta);
}
BENCHMARK(BM_MarcaDesmarca);

}  // namespace

BENCHMARK_MAIN();
