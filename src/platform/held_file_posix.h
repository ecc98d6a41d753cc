// The POSIX side of held files that held_file_posix.cpp shares with file_lock_posix.cpp.
#pragma once

#include <filesystem>

namespace quenda {

// True when `path` names the open file `fd` now: the check after taking a file's lock that
// the file locked is still the one at the name, not one moved away or removed meanwhile.
// A link at `path` is not followed.
bool StillAtPath(int fd, const std::filesystem::path& path);

}  // namespace quenda
