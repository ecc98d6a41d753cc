// Files that several running Quenda share: the run log in the temporary folder, held by
// one run for its whole length, and the collection batch, appended to under a lock. The
// locks are the system's own (POSIX flock, Windows share modes and LockFileEx), so a run
// that is killed releases them with its process.
#pragma once

#include <cstdio>
#include <filesystem>

namespace quenda {

enum class LockedOpen { kOpened, kInUse, kFailed };

// Opens `path` for writing, emptied, and keeps it locked against every other process until
// the file is closed; others may still read it, and the holder may delete it while open.
// kInUse when another live process holds it (a file left by a killed run is free);
// kFailed with errno set when it cannot be opened. `file` is set only for kOpened.
LockedOpen OpenHeldFile(const std::filesystem::path& path, std::FILE*& file);

// Waits until `file` (open for appending) is locked against the appends of every other
// process; the lock ends when the file is closed. False when the lock cannot be taken.
bool LockForAppend(std::FILE* file);

// Empties `file`, open and locked with LockForAppend, so that what is written next is its
// whole content and appenders waiting for the lock add to it. False when it cannot.
bool EmptyLockedFile(std::FILE* file);

// The identifier of this process, for names that must differ between running programs.
unsigned long CurrentProcessId();

}  // namespace quenda
