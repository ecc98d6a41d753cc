// SHA-256 written out in the test support from FIPS 180-4, so that the program's digests
// (from its crypto library) are checked against a computation of their own.
#pragma once

#include <string>
#include <string_view>

namespace quenda::testing {

// 64 lower-case hex digits.
std::string ReferenceSha256(std::string_view bytes);

}  // namespace quenda::testing
