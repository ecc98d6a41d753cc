#include "bench_session.h"

#include <chrono>
#include <stdexcept>

#include "bench_data.h"
#include "platform/site_settings.h"

#if defined(_WIN32)
#define popen _popen
#define pclose _pclose
#else
#include <sys/resource.h>
#endif

namespace quenda::bench {

BenchSession::BenchSession()
    : system_(MakeNativeSystem()),
      devnull_(std::fopen(
#if defined(_WIN32)
          "NUL",
#else
          "/dev/null",
#endif
          "w")) {
  ui_ = std::make_unique<HeadlessUi>(std::string{}, devnull_, devnull_);
  session_ = std::make_unique<Session>(*ui_, *system_, LoadSiteSettings({}, ".", *system_));
}

BenchSession::~BenchSession() {
  session_.reset();
  ui_.reset();
  if (devnull_ != nullptr) std::fclose(devnull_);
}

void BenchSession::PrepareStore(const std::string& storePath) {
  Session& s = *session_;
  s.state.OspName = storePath;
  const auto& labels = StoreLabels();
  for (std::size_t i = 0; i < labels.size(); ++i) {
    s.spec.At(static_cast<int>(i) + 1).Label = labels[i];
  }
  s.spec.SpecCount = static_cast<std::int16_t>(labels.size());
}

double GrepSeconds(const std::string& path) {
  const std::string command = "grep -c -F '=Kgs:Name=' '" + path + "'";
  const auto start = std::chrono::steady_clock::now();
  std::FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) throw std::runtime_error("cannot run " + command);
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
  }
  const int status = pclose(pipe);
  const auto end = std::chrono::steady_clock::now();
  if (status != 0) throw std::runtime_error(command + " failed");
  return std::chrono::duration<double>(end - start).count();
}

std::uint64_t PeakResidentBytes() {
#if defined(_WIN32)
  return 0;
#else
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<std::uint64_t>(usage.ru_maxrss) * 1024;  // kilobytes on Linux
#endif
}

}  // namespace quenda::bench
