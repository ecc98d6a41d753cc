// What watches the writes of a Files object: at every write point a monitor may let the
// write fail, cut it short or only take note of it. Production installs none; the tests
// install fault injection and the record of the steps (tests/support/write_faults.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quenda {

// The steps of writing a file, in the order a replace takes them (its data written or
// copied, flushed to the disk, the rename onto the target, the flush of the folder); an
// append is one step, its flush another. All but the folder's flush are write points.
enum class WriteStep { kWrite, kFlush, kRename, kFlushFolder, kAppend };

// How much of its bytes a write point lets out: all, or the first `bytes`, after which
// the write fails with the platform error `error`, as on a disk that fills up meanwhile.
struct WriteLimit {
  std::size_t bytes = SIZE_MAX;
  int error = 0;
};

class WriteMonitor {
 public:
  virtual ~WriteMonitor() = default;
  // The write point `step` of `path` is reached, before it writes. Throws the Error the
  // point fails with, or gives how much of its bytes the write may let out. A flush or a
  // rename ignores the limit; the system's copy, which cannot stop at a byte, fails before
  // it starts when the limit is less than all.
  virtual WriteLimit Pass(const std::string& path, WriteStep step) = 0;
  // `step` of `path` is taken that is no write point: the flush of the folder, after the
  // rename, when the file is replaced already.
  virtual void Note(const std::string& path, WriteStep step) = 0;
};

// Passes the write point through `monitor`; no monitor (null) lets every byte out.
inline WriteLimit PassWritePoint(WriteMonitor* monitor, const std::string& path, WriteStep step) {
  return monitor != nullptr ? monitor->Pass(path, step) : WriteLimit{};
}

}  // namespace quenda
