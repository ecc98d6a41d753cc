#include "platform/sha256.h"

#include <gcrypt.h>

#include <array>
#include <cstdio>
#include <mutex>
#include <stdexcept>

#include "platform/native_path.h"

namespace quenda {
namespace {

// The library checks its version once before its first use.
void InitLibrary() {
  static std::once_flag once;
  std::call_once(once, [] {
    if (gcry_check_version(GCRYPT_VERSION) == nullptr) {
      throw std::runtime_error("libgcrypt: Version passt nicht");
    }
    gcry_control(GCRYCTL_INITIALIZATION_FINISHED, 0);
  });
}

}  // namespace

struct Sha256::State {
  gcry_md_hd_t handle = nullptr;
};

Sha256::Sha256() : state_(std::make_unique<State>()) {
  InitLibrary();
  if (gcry_md_open(&state_->handle, GCRY_MD_SHA256, 0) != 0) {
    throw std::runtime_error("libgcrypt: SHA-256 nicht verfügbar");
  }
}

Sha256::~Sha256() { gcry_md_close(state_->handle); }

void Sha256::Add(std::string_view bytes) {
  gcry_md_write(state_->handle, bytes.data(), bytes.size());
}

std::string Sha256::HexDigest() {
  const unsigned char* digest = gcry_md_read(state_->handle, GCRY_MD_SHA256);
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (unsigned int i = 0; i < gcry_md_get_algo_dlen(GCRY_MD_SHA256); ++i) {
    hex += kDigits[digest[i] >> 4];
    hex += kDigits[digest[i] & 0xF];
  }
  return hex;
}

std::string Sha256Hex(std::string_view bytes) {
  Sha256 digest;
  digest.Add(bytes);
  return digest.HexDigest();
}

std::optional<FileDigest> DigestFile(const std::filesystem::path& native) {
  std::FILE* file = OpenNativeFile(native, "rb");
  if (file == nullptr) return std::nullopt;
  Sha256 digest;
  FileDigest result;
  std::array<char, 1 << 16> buffer;
  std::size_t got = 0;
  while ((got = std::fread(buffer.data(), 1, buffer.size(), file)) > 0) {
    digest.Add({buffer.data(), got});
    result.bytes += got;
  }
  const bool ok = std::ferror(file) == 0;
  std::fclose(file);
  if (!ok) return std::nullopt;
  result.sha256 = digest.HexDigest();
  return result;
}

}  // namespace quenda
