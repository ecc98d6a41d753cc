// The benchmark program's data folder and the registration of its benchmarks.
#pragma once

#include <string>
#include <vector>

namespace quenda::bench {

// The generated object store of `megabytes` MB in the data folder, created on first use.
std::string StorePath(int megabytes);

struct JobPaths {
  std::string job;
  std::string config;
};
// The generated job of `fields` fields and its configuration table, created on first use.
JobPaths JobFiles(int fields);

void RegisterStoreBenchmarks(const std::vector<int>& megabytes);
void RegisterIntakeBenchmarks(const std::vector<int>& fieldCounts);

}  // namespace quenda::bench
