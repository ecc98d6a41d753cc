// What a run's Files object keeps for the release record: the files written through it,
// each with the fingerprint of its bytes as written, and, while fingerprints are wanted,
// the fingerprint of the first whole read of each file the record waits for. Without a
// record asked for nothing is fingerprinted: the run computes no digest at all.
#pragma once

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/sha256.h"

namespace quenda {

struct WrittenFile {
  std::string path;                  // as given
  std::optional<FileDigest> digest;  // of the bytes as written; none when not computed
};

class FileRecord {
 public:
  // Whether the files are fingerprinted as they are read and written.
  void Fingerprint(bool on) { fingerprint_ = on; }
  bool Fingerprinting() const { return fingerprint_; }

  // The next whole read of `path` (as given) is to be fingerprinted; a path read already
  // keeps its first fingerprint. Nothing while no fingerprints are wanted.
  void AwaitRead(const std::string& path) {
    if (fingerprint_) reads_.try_emplace(path);
  }
  // True while `path` is awaited and has not been read yet.
  bool Awaits(const std::string& path) const {
    const auto it = reads_.find(path);
    return it != reads_.end() && !it->second;
  }
  // `path` was read whole as `digest`; kept when the read was awaited.
  void NoteRead(const std::string& path, const FileDigest& digest) {
    if (Awaits(path)) reads_[path] = digest;
  }
  // The fingerprint of the first awaited read of `path`; none when it was not read.
  std::optional<FileDigest> Read(const std::string& path) const {
    const auto it = reads_.find(path);
    return it != reads_.end() ? it->second : std::nullopt;
  }

  // `path` was written, ending as `digest` when known; a path already listed keeps its
  // place and takes the new fingerprint.
  void NoteWritten(const std::string& path, std::optional<FileDigest> digest) {
    const auto it = std::find_if(written_.begin(), written_.end(),
                                 [&](const WrittenFile& f) { return f.path == path; });
    if (it == written_.end()) {
      written_.push_back({path, std::move(digest)});
    } else {
      it->digest = std::move(digest);
    }
  }
  // `path` was deleted: it leaves the list.
  void NoteRemoved(const std::string& path) {
    std::erase_if(written_, [&](const WrittenFile& f) { return f.path == path; });
  }
  // In the order first written.
  const std::vector<WrittenFile>& Written() const { return written_; }

 private:
  bool fingerprint_ = false;
  std::map<std::string, std::optional<FileDigest>> reads_;
  std::vector<WrittenFile> written_;
};

}  // namespace quenda
