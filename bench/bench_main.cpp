// quenda_bench: Google Benchmark runs of the object store and the parameter intake on
// generated inputs, and single-shot probes for peak memory.
//
//   quenda_bench [--data-dir=DIR] [--store-mb=1,30,300] [--job-fields=1000,10000,100000]
//                [--benchmark_... options]
//   quenda_bench --data-dir=DIR --probe-store=MB    load + find once, print time and memory
//   quenda_bench --data-dir=DIR --probe-per-label=MB  the same the old way (read, 20 scans)
//   quenda_bench --data-dir=DIR --probe-intake=N    one intake, print time and memory
//   quenda_bench --data-dir=DIR --generate-only
//   quenda_bench --pad-store=SAMPLE.osp --out=FILE --mb=N   the sample's lines in N MB
//
// Inputs are generated into the data folder when missing (default: ./bench-data).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <sstream>

#include "bench_data.h"
#include "bench_main.h"
#include "bench_session.h"
#include "conservation/object_store.h"
#include "rules/parameter_intake.h"

namespace quenda::bench {
namespace {

std::string g_dataDir = "bench-data";

std::vector<int> Numbers(const std::string& list) {
  std::vector<int> numbers;
  std::stringstream in(list);
  for (std::string item; std::getline(in, item, ',');) numbers.push_back(std::stoi(item));
  return numbers;
}

std::string DataFile(const std::string& name) {
  std::filesystem::create_directories(g_dataDir);
  return (std::filesystem::path(g_dataDir) / name).string();
}

void Report(const char* what, double seconds, std::uint64_t fileBytes) {
  std::printf("%s seconds=%.4f peak_rss_mb=%.1f file_mb=%.1f\n", what, seconds,
              static_cast<double>(PeakResidentBytes()) / 1e6, static_cast<double>(fileBytes) / 1e6);
}

int ProbeStore(int megabytes) {
  const std::string path = StorePath(megabytes);
  BenchSession b;
  b.PrepareStore(path);
  const auto start = std::chrono::steady_clock::now();
  LoadObjectStore(b.S());
  const auto end = std::chrono::steady_clock::now();
  Report("store", std::chrono::duration<double>(end - start).count(), FileSize(path));
  return b.S().spec.At(20).Kind.empty() ? 1 : 0;
}

// The search as it was: the file read into a string, one scan per label.
int ProbePerLabel(int megabytes) {
  const std::string path = StorePath(megabytes);
  BenchSession b;
  b.PrepareStore(path);
  const auto start = std::chrono::steady_clock::now();
  const std::string text = b.S().files.ReadAll(path);
  std::size_t found = 0;
  for (const std::string& label : StoreLabels()) found += !FindObjectRecord(text, label).empty();
  const auto end = std::chrono::steady_clock::now();
  Report("per-label", std::chrono::duration<double>(end - start).count(), FileSize(path));
  return found == StoreLabels().size() ? 0 : 1;
}

int ProbeIntake(int fields) {
  const JobPaths paths = JobFiles(fields);
  BenchSession b;
  SetParamColumns(b.S());
  const auto start = std::chrono::steady_clock::now();
  const std::string rows = ParameterIntake(b.S(), paths.job, paths.config, kSelectionMarkColumn);
  const auto end = std::chrono::steady_clock::now();
  Report("intake", std::chrono::duration<double>(end - start).count(), FileSize(paths.job));
  return rows == std::to_string(kParameterCount) ? 0 : 1;
}

}  // namespace

std::string StorePath(int megabytes) {
  const std::string path = DataFile("store_" + std::to_string(megabytes) + "mb.osp");
  if (!std::filesystem::exists(path)) {
    WriteObjectStore(path, static_cast<std::uint64_t>(megabytes) * 1000 * 1000);
  }
  return path;
}

JobPaths JobFiles(int fields) {
  const std::string tag = std::to_string(fields);
  JobPaths paths{DataFile("job_" + tag + ".xml"), DataFile("Config_" + tag + ".csv")};
  if (!std::filesystem::exists(paths.job)) WriteJob(paths.job, fields);
  if (!std::filesystem::exists(paths.config)) WriteConfigTable(paths.config, fields);
  return paths;
}

}  // namespace quenda::bench

int main(int argc, char** argv) {
  using namespace quenda::bench;
  std::vector<int> stores = {1, 30, 300};
  std::vector<int> jobs = {1000, 10000, 100000};
  std::vector<char*> rest = {argv[0]};
  int probeStore = 0, probePerLabel = 0, probeIntake = 0;
  bool generateOnly = false;
  std::string padSample, padOut;
  int padMegabytes = 300;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&](const char* option) { return arg.substr(std::string(option).size()); };
    if (arg.rfind("--data-dir=", 0) == 0) {
      g_dataDir = value("--data-dir=");
    } else if (arg.rfind("--store-mb=", 0) == 0) {
      stores = Numbers(value("--store-mb="));
    } else if (arg.rfind("--job-fields=", 0) == 0) {
      jobs = Numbers(value("--job-fields="));
    } else if (arg.rfind("--probe-store=", 0) == 0) {
      probeStore = std::stoi(value("--probe-store="));
    } else if (arg.rfind("--probe-per-label=", 0) == 0) {
      probePerLabel = std::stoi(value("--probe-per-label="));
    } else if (arg.rfind("--probe-intake=", 0) == 0) {
      probeIntake = std::stoi(value("--probe-intake="));
    } else if (arg.rfind("--pad-store=", 0) == 0) {
      padSample = value("--pad-store=");
    } else if (arg.rfind("--out=", 0) == 0) {
      padOut = value("--out=");
    } else if (arg.rfind("--mb=", 0) == 0) {
      padMegabytes = std::stoi(value("--mb="));
    } else if (arg == "--generate-only") {
      generateOnly = true;
    } else {
      rest.push_back(argv[i]);
    }
  }
  try {
    if (!padSample.empty()) {
      WritePaddedStore(padSample, padOut, static_cast<std::uint64_t>(padMegabytes) * 1000 * 1000);
      return 0;
    }
    if (probeStore > 0) return ProbeStore(probeStore);
    if (probePerLabel > 0) return ProbePerLabel(probePerLabel);
    if (probeIntake > 0) return ProbeIntake(probeIntake);
    if (generateOnly) {
      for (int mb : stores) StorePath(mb);
      for (int fields : jobs) JobFiles(fields);
      return 0;
    }
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
    return 1;
  }
  int restCount = static_cast<int>(rest.size());
  benchmark::Initialize(&restCount, rest.data());
  RegisterStoreBenchmarks(stores);
  RegisterIntakeBenchmarks(jobs);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
