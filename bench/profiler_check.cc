// Cost of the "is the profiler on" check that every server call makes, with
// the profiler off and its configuration already read, next to the cost of
// the tick count alone that the check compares with.
#include <benchmark/benchmark.h>

#include "diagnostics/profiler_state.h"
#include "platform/clock.h"

static void BM_ProfilerIsOnWhenOff(benchmark::State& state) {
  qx::ProfilerIsOn();  // the first use reads the configuration
  for (auto _ : state) benchmark::DoNotOptimize(qx::ProfilerIsOn());
}
BENCHMARK(BM_ProfilerIsOnWhenOff)->ThreadRange(1, 2);

static void BM_TickCount64(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(GetTickCount64());
}
BENCHMARK(BM_TickCount64)->ThreadRange(1, 2);

BENCHMARK_MAIN();
