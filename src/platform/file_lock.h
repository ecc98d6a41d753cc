// Files that several running Quenda share: the run log in the temporary folder, held by
// one run for its whole length, and the collection batch, appended to under a lock. The
// locks are the system's own (POSIX flock, Windows share modes and LockFileEx), so a run
// that is killed releases them with its process.
#pragma once

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

namespace quenda {

enum class LockedOpen {
  kOpened,
  kInUse,
  kFailed,
  kNotRegular,  // a link, a device, a FIFO, a socket or a folder: left as it is
  kForeign,     // another user's file, or one with a second name (a hard link): left as it is
};

// Opens `path` for writing, emptied, and keeps it locked against every other process until
// the file is closed; others may still read it, and the holder may delete it while open.
// The file held is the one at `path` once locked: a file that its holder moved away
// between this open and this lock is let go and `path` opened again.
// A link at `path` is not followed, and only a regular file of this user's with no other
// name is emptied (checked on the open file before it is touched); a new file is readable by
// this user alone. kInUse when another live process holds it (a file left by a killed run
// is free); kNotRegular or kForeign for a file refused as said; kFailed with errno set when
// it cannot be opened. `file` is set only for kOpened.
LockedOpen OpenHeldFile(const std::filesystem::path& path, std::FILE*& file);

// Test seam: `probe` runs inside every OpenHeldFile between the open and the lock (on
// Windows, where the open is the lock, after it); an empty function switches it off.
void SetProbeBetweenOpenAndLock(std::function<void()> probe);
// Runs the probe set above, if any (called by OpenHeldFile of each system).
void RunProbeBetweenOpenAndLock();

// The whole content of `file` (open through OpenHeldFile), read through that open file
// rather than by its name; the place of the next write stays at the end. False when it
// cannot be read.
bool ReadHeldFile(std::FILE* file, std::string& content);

// Removes the files of `folder` whose names start with `prefix` and end with `suffix` (both
// ASCII) and that no live process holds: left by killed runs (a file this process holds
// counts as held). Failures are skipped. See RemoveUnheldFilesWhere (platform/held_file.h).
void RemoveUnheldFiles(const std::filesystem::path& folder, const std::string& prefix,
                       const std::string& suffix);

// Waits until `file` (open for appending) is locked against the appends of every other
// process; the lock ends when the file is closed. True as well, without a lock, on a file
// system that keeps no locks (the append then goes on unlocked); false with errno set when
// the lock fails otherwise.
bool LockForAppend(std::FILE* file);

// Empties `file`, open and locked with LockForAppend, so that what is written next is its
// whole content and appenders waiting for the lock add to it. False when it cannot.
bool EmptyLockedFile(std::FILE* file);

// The identifier of this process, for names that must differ between running programs.
unsigned long CurrentProcessId();

}  // namespace quenda
