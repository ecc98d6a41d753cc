// A session for the benchmarks: the native system services, a headless Ui that writes
// nothing, site settings without Config.ini (native paths only), and no run log file.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "platform/system.h"
#include "session/session.h"
#include "ui/headless_ui.h"

namespace quenda::bench {

class BenchSession {
 public:
  BenchSession();
  ~BenchSession();
  BenchSession(const BenchSession&) = delete;
  BenchSession& operator=(const BenchSession&) = delete;

  Session& S() { return *session_; }

  // Slots 1..20 carry the generated store's target labels; OspName is `storePath`.
  void PrepareStore(const std::string& storePath);

 private:
  std::unique_ptr<System> system_;
  std::FILE* devnull_;
  std::unique_ptr<HeadlessUi> ui_;
  std::unique_ptr<Session> session_;
};

// Seconds of one `grep -c -F '=Kgs:Name=' path` run (the program's output is read and
// dropped). Throws std::runtime_error when grep cannot be run or fails.
double GrepSeconds(const std::string& path);

// The peak resident memory of this process so far, in bytes (0 where unknown).
std::uint64_t PeakResidentBytes();

}  // namespace quenda::bench
