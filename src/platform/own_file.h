// Files a run may write: the checks that keep a planted link, a second name of another file
// or a device from redirecting what Quenda creates, replaces or appends to.
//
// A symbolic link at a name is followed only as the Linux kernel's protected_symlinks
// follows one: not in a sticky folder that everybody may write to (a shared temporary
// folder), unless the link belongs to this user or to the folder's owner. In such a folder
// a file that belongs to another user (other than the folder's owner) or that has a second
// name (a hard link) is never written either. A target that is not a regular file (a
// device, a FIFO, a socket, a folder) is refused everywhere. Windows: links are followed,
// and only files on a disk are written.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "base/error.h"

namespace quenda {

enum class LinkRule {
  kNoLinks,         // a link at the name is refused (the run log)
  kProtectedLinks,  // a link is followed under the rule at the top of this file
};

// Error 70 for `path` that may not be written because of `why` (a text naming the link or
// the other user's file).
Error RefusedFileError(const std::string& path, const std::string& why);

// The file a write of `native` (named `path` in errors) goes to: `native`, or the file at
// the end of its links where the rule lets them be followed; it need not exist. Throws
// NotRegularFileError when the name (or what its links end in) exists and is not a regular
// file, RefusedFileError for a link or a file the rule refuses, 75 for a loop of links.
std::filesystem::path CheckedWriteTarget(const std::filesystem::path& native,
                                         const std::string& path, LinkRule rule);

// Opens the file of CheckedWriteTarget(native, path, kProtectedLinks) for reading and
// appending ("a+b"), creating it when missing, so that a link or a node put there after
// the check is not opened (POSIX: O_NOFOLLOW, O_NONBLOCK, then fstat; Windows: a disk file
// only). Throws as CheckedWriteTarget; nullptr with errno set when it cannot be opened.
std::FILE* OpenForAppend(const std::filesystem::path& native, const std::string& path);

// Writes `size` bytes to the descriptor of `file` without stdio's buffer (at its end, for a
// file opened for appending); `written` counts what got out. A write that stops short with no
// error is taken as a full disk.
std::error_code WriteToFile(std::FILE* file, const char* data, std::size_t size,
                            std::size_t& written);
// The size of the open file; false when it cannot be told.
bool SizeOfFile(std::FILE* file, std::uint64_t& size);
// Reads `size` bytes at `offset` of the open file; false when they cannot all be read.
bool ReadFileAt(std::FILE* file, std::uint64_t offset, char* buffer, std::size_t size);
// Cuts the open file back to `size` bytes.
std::error_code CutFileTo(std::FILE* file, std::uint64_t size);

// Creates the folder `native` (named `path` in errors) for this user alone (POSIX 0700), or
// checks the one there: it must be a folder, no link, this user's own; one that others may
// enter is closed to them. Throws Error 70 naming the folder and what is wrong, or the
// error of creating it. Windows: nothing to do.
void MakePrivateFolder(const std::filesystem::path& native, const std::string& path);

}  // namespace quenda
