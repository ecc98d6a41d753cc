// SHA-256 fingerprints of bytes and files, from the crypto library (libgcrypt) on every
// platform. Digests are written as 64 lower-case hexadecimal digits.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace quenda {

// A digest computed piece by piece.
class Sha256 {
 public:
  Sha256();
  ~Sha256();
  Sha256(const Sha256&) = delete;
  Sha256& operator=(const Sha256&) = delete;

  void Add(std::string_view bytes);
  // The digest of everything added; the object takes no more bytes afterwards.
  std::string HexDigest();

  // How many digests this process has begun: a run that keeps no record begins none.
  static std::uint64_t Begun();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

std::string Sha256Hex(std::string_view bytes);

struct FileDigest {
  std::uintmax_t bytes = 0;
  std::string sha256;
};

// The size and digest of the file `native`, read once from its start in pieces of a
// mebibyte (a large file is never held whole); nullopt when it cannot be opened or read.
std::optional<FileDigest> DigestFile(const std::filesystem::path& native);

// The digest of `bytes`, taken in pieces of `piece` bytes beside the caller's own work with
// the same bytes: on a thread of its own when `threaded` (the default where the machine has
// a second core), so that the two take the longer of their times, not the sum; otherwise
// in Get. Both ways give the same digest. `bytes` must stay valid until Get returns or the
// object is destroyed (which waits for the thread).
class DigestBeside {
 public:
  static constexpr std::size_t kPiece = std::size_t{4} << 20;

  explicit DigestBeside(std::string_view bytes, bool threaded = SecondCoreAvailable(),
                        std::size_t piece = kPiece);
  ~DigestBeside();
  DigestBeside(const DigestBeside&) = delete;
  DigestBeside& operator=(const DigestBeside&) = delete;

  // Waits for the digest; once only.
  FileDigest Get();

  static bool SecondCoreAvailable();

 private:
  struct Work;
  std::unique_ptr<Work> work_;
};

}  // namespace quenda
