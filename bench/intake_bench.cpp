// The parameter intake: 300 parameters whose rules read the job through placeholders.
#include <benchmark/benchmark.h>

#include "bench_data.h"
#include "bench_main.h"
#include "bench_session.h"
#include "rules/parameter_intake.h"

namespace quenda::bench {
namespace {

void Intake(benchmark::State& state) {
  const int fields = static_cast<int>(state.range(0));
  const JobPaths paths = JobFiles(fields);
  BenchSession b;
  SetParamColumns(b.S());
  for (auto _ : state) {
    benchmark::DoNotOptimize(ParameterIntake(b.S(), paths.job, paths.config, kSelectionMarkColumn));
  }
  state.counters["fields"] = fields;
}

}  // namespace

void RegisterIntakeBenchmarks(const std::vector<int>& fieldCounts) {
  for (int fields : fieldCounts) {
    benchmark::RegisterBenchmark("Intake/Parameters300", Intake)
        ->Arg(fields)
        ->Unit(benchmark::kMillisecond);
  }
}

}  // namespace quenda::bench
