#include "platform/sha256.h"

#include <gcrypt.h>

#include <atomic>
#include <cstdio>
#include <exception>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

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

std::atomic<std::uint64_t> begun{0};

}  // namespace

struct Sha256::State {
  gcry_md_hd_t handle = nullptr;
};

Sha256::Sha256() : state_(std::make_unique<State>()) {
  ++begun;
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

std::uint64_t Sha256::Begun() { return begun.load(); }

std::string Sha256Hex(std::string_view bytes) {
  Sha256 digest;
  digest.Add(bytes);
  return digest.HexDigest();
}

std::optional<FileDigest> DigestFile(const std::filesystem::path& native) {
  std::FILE* file = OpenNativeFile(native, "rb");
  if (file == nullptr) return std::nullopt;
  // Unbuffered: each read goes from the file straight into the piece.
  std::setvbuf(file, nullptr, _IONBF, 0);
  Sha256 digest;
  FileDigest result;
  std::vector<char> piece(std::size_t{1} << 20);
  std::size_t got = 0;
  while ((got = std::fread(piece.data(), 1, piece.size(), file)) > 0) {
    digest.Add({piece.data(), got});
    result.bytes += got;
  }
  const bool ok = std::ferror(file) == 0;
  std::fclose(file);
  if (!ok) return std::nullopt;
  result.sha256 = digest.HexDigest();
  return result;
}

struct DigestBeside::Work {
  std::string_view bytes;
  std::size_t piece;
  std::string sha256;
  std::exception_ptr failure;  // what the digest threw, for Get to throw
  std::thread thread;

  void Run() {
    try {
      Sha256 digest;
      for (std::size_t at = 0; at < bytes.size(); at += piece) {
        digest.Add(bytes.substr(at, piece));
      }
      sha256 = digest.HexDigest();
    } catch (...) {
      failure = std::current_exception();
    }
  }
};

DigestBeside::DigestBeside(std::string_view bytes, bool threaded, std::size_t piece)
    : work_(std::make_unique<Work>()) {
  work_->bytes = bytes;
  work_->piece = piece == 0 ? kPiece : piece;
  if (threaded) work_->thread = std::thread([work = work_.get()] { work->Run(); });
}

DigestBeside::~DigestBeside() {
  if (work_->thread.joinable()) work_->thread.join();
}

FileDigest DigestBeside::Get() {
  if (work_->thread.joinable()) {
    work_->thread.join();
  } else {
    work_->Run();
  }
  if (work_->failure) std::rethrow_exception(work_->failure);
  return {work_->bytes.size(), work_->sha256};
}

bool DigestBeside::SecondCoreAvailable() { return std::thread::hardware_concurrency() >= 2; }

}  // namespace quenda
