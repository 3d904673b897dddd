// Cost of the call frame: one framed call of GetDebito with the profiler off,
// next to a direct call of the same business method (target: the frame adds
// less than 2 us).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstddef>
#include <string>

#include "server/cqxcn_lancamento.h"

namespace {

// A business object that needs no company: it is initialised at once and
// answers GetDebito from a field.
class BenchBusiness : public CLancamentoBase {
 public:
  HRESULT GetDebito(int32_t* conta) {
    *conta = m_debito;
    return S_OK;
  }

 protected:
  HRESULT OnInicializa() override { return S_OK; }

 private:
  int32_t m_debito = 4711;
};

using BenchObject = T_QXUnknown<IQXCN_Lancamento, BenchBusiness>;

// An empty registry of its own, so that no installation (and no profiler
// configuration) is found.
void UseEmptyRegistry() {
  static const std::string folder = [] {
    char pattern[] = "/tmp/qx-bench-frame-XXXXXX";
    return std::string(mkdtemp(pattern) != nullptr ? pattern : "/tmp");
  }();
  setenv("QX_REGISTRY", (folder + "/machine.reg").c_str(), 1);
  setenv("QX_REGISTRY_USER", (folder + "/user.reg").c_str(), 1);
}

_REG_DF_INICIALIZAPS Registro() {
  return qx::RegistroInicializacaoCliente({"BENCH", 1, 0, "BENCH", "bench", "frame_call.cc"});
}

void BM_FramedGetDebito(benchmark::State& state) {
  UseEmptyRegistry();
  void* object = nullptr;
  if (qx::CriaObjeto<BenchObject>(nullptr, IID_IQXCN_Lancamento, &object) != S_OK) {
    state.SkipWithError("creation failed");
    return;
  }
  auto* servico = static_cast<IQXCN_Lancamento*>(object);
  if (servico->Inicializa_Padrao(Registro()) != S_OK) state.SkipWithError("initialisation failed");
  int32_t conta = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(servico->GetDebito(&conta));
    benchmark::DoNotOptimize(conta);
  }
  servico->Release();
}
BENCHMARK(BM_FramedGetDebito);

void BM_DirectGetDebito(benchmark::State& state) {
  BenchBusiness objeto;
  int32_t conta = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(objeto.GetDebito(&conta));
    benchmark::DoNotOptimize(conta);
  }
}
BENCHMARK(BM_DirectGetDebito);

}  // namespace

BENCHMARK_MAIN();
