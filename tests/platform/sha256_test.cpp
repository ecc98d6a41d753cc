#include "platform/sha256.h"

#include <gtest/gtest.h>

#include "support/fake_system.h"

namespace quenda {
namespace {

// The FIPS 180-4 examples; the other tests compare with the digest of the whole buffer.
TEST(Sha256, KnownDigests) {
  const struct {
    std::string bytes;
    const char* digest;
  } cases[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {std::string(1000000, 'a'),
       "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Sha256Hex(c.bytes), c.digest) << c.bytes.size() << " bytes";
  }
}

TEST(Sha256, PiecesGiveTheDigestOfTheWhole) {
  std::string bytes;
  for (int i = 0; i < 1000; ++i) bytes += static_cast<char>(i * 7);
  Sha256 digest;
  for (std::size_t at = 0; at < bytes.size(); at += 63) digest.Add(bytes.substr(at, 63));
  EXPECT_EQ(digest.HexDigest(), Sha256Hex(bytes));
}

std::string Patterned(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i % 251);
  return bytes;
}

// Files are read in pieces of 1 MiB: sizes at a piece's end and one past it.
TEST(Sha256, FileDigestAtThePieceSize) {
  testing::TempDir dir;
  constexpr std::size_t kPiece = std::size_t{1} << 20;
  for (const std::size_t size : {std::size_t{0}, kPiece - 1, kPiece, kPiece + 1, 3 * kPiece + 1}) {
    const std::string bytes = Patterned(size);
    dir.Write("f.bin", bytes);
    const std::optional<FileDigest> digest = DigestFile(dir.File("f.bin"));
    ASSERT_TRUE(digest.has_value()) << size;
    EXPECT_EQ(digest->bytes, size);
    EXPECT_EQ(digest->sha256, Sha256Hex(bytes)) << size;
  }
  EXPECT_FALSE(DigestFile(dir.File("missing.bin")).has_value());
}

// The digest beside a scan, on its own thread or not, is the digest of the whole: bytes of
// one piece less one, one piece, one piece and one, and none.
TEST(Sha256, DigestBesideIsTheDigestOfTheWhole) {
  constexpr std::size_t kPiece = 4096;
  for (const std::size_t size : {std::size_t{0}, kPiece - 1, kPiece, kPiece + 1}) {
    const std::string bytes = Patterned(size);
    for (const bool threaded : {false, true}) {
      DigestBeside digest(bytes, threaded, kPiece);
      const FileDigest got = digest.Get();
      EXPECT_EQ(got.bytes, size);
      EXPECT_EQ(got.sha256, Sha256Hex(bytes)) << size << " bytes, threaded " << threaded;
    }
  }
}

}  // namespace
}  // namespace quenda
