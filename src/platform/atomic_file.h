// Writing a file through a temporary file that replaces it atomically and durably (see the
// top of platform/files.h).
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "platform/files.h"
#include "platform/held_file.h"
#include "platform/sha256.h"

namespace quenda {

// Writes a file through a temporary file in the target's folder ("." + name + ".tmp" + a
// number) that replaces the target only on Commit, durably (see the top of files.h).
// Dropping the object without Commit removes the temporary file. The writer holds its
// temporary file for its whole life (HeldFile); what a killed run or a power cut left
// behind is removed by the next replace of the same file, which takes only files nobody
// holds, whatever their age. The new file gets the target's permissions (Windows: its
// attributes); a target that is a symbolic link stays one: the file it points to is
// replaced, where the link rule of platform/own_file.h lets it be followed. While `files`
// plans (Files::PlanIn), no temporary file is made: the bytes go to its overlay on Commit,
// after the same checks of the target and its folder. Every write,
// the copy, the flush and the rename are write points of `files` (platform/write_monitor.h).
class AtomicFile {
 public:
  // Throws 75 "… ist keine gewöhnliche Datei" for a folder, a device, a FIFO or a socket,
  // 70 for a read-only target or a link or file that CheckedWriteTarget refuses, and what
  // creating the temporary file gives (76 for a missing folder), each naming `path`.
  AtomicFile(const Files& files, const std::string& path);
  // The same for the native path `native`, named `path` in errors.
  AtomicFile(const Files& files, const std::string& path, const std::filesystem::path& native);
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  void Write(const std::string& bytes);
  void WriteLine(const std::string& line) { Write(line + "\r\n"); }
  // Fills the temporary file, before any Write, with a copy of the file `source` (native
  // `sourceNative`) made by the system. Throws 53 naming `source` when it has gone. While
  // `files` fingerprints, gives the source's size and digest (see HeldFile::CopyFrom).
  std::optional<FileDigest> CopyFrom(const std::string& source,
                                     const std::filesystem::path& sourceNative);
  // Flushes the temporary file, renames it onto the target and flushes the folder, and
  // notes the file written in the record of `files`, fingerprinted as written while
  // `files` fingerprints: the bytes of the writes, or the copy's source when the copy has
  // the source's size. Throws
  // the platform error naming the path when one of them fails (the target is then old,
  // or new when only the folder's flush failed).
  void Commit();
  // False once a write has failed part way: the temporary file may end in a cut line.
  bool Whole() const { return whole_; }

 private:
  WriteLimit Pass(WriteStep step) const { return PassWritePoint(files_.Monitor(), path_, step); }

  const Files& files_;
  std::string path_;
  std::filesystem::path target_;
  std::filesystem::path temp_;
  HeldFile held_;
  bool whole_ = true;
  std::unique_ptr<Sha256> digest_;      // of the bytes written, while `files` fingerprints
  std::uintmax_t bytes_ = 0;            // written
  std::optional<FileDigest> written_;   // the fingerprint of the file as written, once known
  std::optional<std::string> planned_;  // the bytes while `files` plans them (Files::PlanIn)
};

}  // namespace quenda
