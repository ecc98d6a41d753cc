// Fault injection and the record of the steps for the tests: a WriteMonitor
// (platform/write_monitor.h) that a test installs on a Files object with Files::Watch, to
// make the n-th write point from then on fail, stop part way or end the process, and to
// record the steps of writing. The monitor must outlive its use by the Files object.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/write_monitor.h"

namespace quenda::testing {

class WriteFaults : public WriteMonitor {
 public:
  // The `n`-th write point from now on fails with the platform error `number` (61 disk
  // full, 70 permission denied). 0 switches it off.
  void FailNthWrite(int n, int number) {
    ShortenNthWrite(n, 0, number);
    faultShort_ = false;
  }
  // The `n`-th write point from now on writes only the first `bytes` bytes of what it
  // writes (an append's lines, a replace's data, a log line) and then fails with the
  // platform error `number`, as a disk that fills up in the middle of a write; a point that
  // writes no bytes of its own (a flush, a rename, the system's copy) fails as with
  // FailNthWrite. 0 switches it off.
  void ShortenNthWrite(int n, std::size_t bytes, int number);
  // The process ends at once with status `status` at the `n`-th write point from now on,
  // as a kill or a power cut would end it there. 0 switches it off.
  void CrashAtNthWrite(int n, int status);
  // The write points passed since the last FailNthWrite, ShortenNthWrite or CrashAtNthWrite.
  int WritePoints() const { return writePoints_; }
  // From now on every step taken is recorded in Steps() as its name ("write", "flush",
  // "rename", "folder", "append"), a blank and the path.
  void RecordSteps() { recording_ = true; }
  const std::vector<std::string>& Steps() const { return steps_; }

  WriteLimit Pass(const std::string& path, WriteStep step) override;
  void Note(const std::string& path, WriteStep step) override;

 private:
  int faultAt_ = 0;
  std::size_t faultBytes_ = 0;
  bool faultShort_ = false;
  int faultNumber_ = 0;
  int crashAt_ = 0;
  int crashStatus_ = 0;
  int writePoints_ = 0;
  bool recording_ = false;
  std::vector<std::string> steps_;
};

}  // namespace quenda::testing
