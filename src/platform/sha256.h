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

 private:
  struct State;
  std::unique_ptr<State> state_;
};

std::string Sha256Hex(std::string_view bytes);

struct FileDigest {
  std::uintmax_t bytes = 0;
  std::string sha256;
};

// The size and digest of the file `native`, read in pieces (a large file is never held
// whole); nullopt when it cannot be opened or read.
std::optional<FileDigest> DigestFile(const std::filesystem::path& native);

}  // namespace quenda
