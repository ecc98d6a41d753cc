// Loading the object store and finding the twenty conserved objects, against one grep
// pass over the same file in the same run.
#include <benchmark/benchmark.h>

#include <chrono>

#include "bench_data.h"
#include "bench_main.h"
#include "bench_session.h"
#include "conservation/object_store.h"
#include "platform/files.h"

namespace quenda::bench {
namespace {

using Clock = std::chrono::steady_clock;

// Runs `work` once per iteration with a grep pass before it; reports the work's time as
// the iteration time and the ratio of the two sums.
template <class Work>
void AgainstGrep(benchmark::State& state, const std::string& path, Work work) {
  double grep = 0;
  double own = 0;
  for (auto _ : state) {
    grep += GrepSeconds(path);
    const auto start = Clock::now();
    work();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    own += seconds;
    state.SetIterationTime(seconds);
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["grep_ms"] = 1000 * grep / n;
  state.counters["ratio"] = own / grep;
  state.counters["MB"] = static_cast<double>(FileSize(path)) / 1e6;
}

void LoadAndFind(benchmark::State& state) {
  const std::string path = StorePath(static_cast<int>(state.range(0)));
  BenchSession b;
  b.PrepareStore(path);
  AgainstGrep(state, path, [&] {
    LoadObjectStore(b.S());
    benchmark::DoNotOptimize(b.S().spec.At(20).Length);
  });
}

// The search as it was: one scan of the text per label.
void PerLabelSearch(benchmark::State& state) {
  const std::string path = StorePath(static_cast<int>(state.range(0)));
  BenchSession b;
  b.PrepareStore(path);
  AgainstGrep(state, path, [&] {
    const std::string text = b.S().files.ReadAll(path);
    for (int i = 1; i <= b.S().spec.SpecCount; ++i) {
      benchmark::DoNotOptimize(FindObjectRecord(text, b.S().spec.At(i).Label));
    }
  });
}

}  // namespace

void RegisterStoreBenchmarks(const std::vector<int>& megabytes) {
  for (int mb : megabytes) {
    benchmark::RegisterBenchmark("ObjectStore/LoadAndFind20", LoadAndFind)
        ->Arg(mb)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
  }
  for (int mb : megabytes) {
    benchmark::RegisterBenchmark("ObjectStore/PerLabelSearch20", PerLabelSearch)
        ->Arg(mb)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
  }
}

}  // namespace quenda::bench
