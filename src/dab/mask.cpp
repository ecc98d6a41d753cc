#include "dab/mask.h"

#include <cstdio>

#include "base/error.h"
#include "text/cp1252.h"

namespace quenda {
namespace {

constexpr std::size_t kMinKeyLength = 200;

std::string ExtendKey(std::string_view key, std::string_view what) {
  if (key.empty()) {
    throw Error(kErrInvalidArgument,
                "Leerer Schlüssel für die Maskierung von >"_cp + std::string(what) + "<");
  }
  std::string extended;
  while (extended.size() < kMinKeyLength) extended += key;
  return extended;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The value of one or two hexadecimal digits; -1 when one of them is no digit.
int HexPair(std::string_view pair) {
  int value = 0;
  for (char c : pair) {
    const int digit = HexDigit(c);
    if (digit < 0) return -1;
    value = value * 16 + digit;
  }
  return value;
}

}  // namespace

std::string EncodeMask(std::string_view text, std::string_view key) {
  const std::string extended = ExtendKey(key, text);
  if (text.size() > extended.size()) {
    throw Error(kErrInvalidArgument, "Text für die Maskierung länger als "_cp +
                                         std::to_string(extended.size()) + " Zeichen: >" +
                                         std::string(text) + "<");
  }
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned sum =
        static_cast<unsigned char>(text[i]) + static_cast<unsigned char>(extended[i]);
    char digits[8];
    std::snprintf(digits, sizeof digits, "%02X", sum);
    out += digits;
  }
  return out;
}

std::string DecodeMask(std::string_view encoded, std::string_view key) {
  const std::string extended = ExtendKey(key, encoded);
  std::string out;
  for (std::size_t i = 0; i < encoded.size(); i += 2) {
    const std::size_t index = i / 2;
    if (index >= extended.size()) {
      throw Error(kErrInvalidArgument,
                  "Maskierter Text länger als der Schlüssel: >"_cp + std::string(encoded) + "<");
    }
    const std::string_view pair = encoded.substr(i, 2);
    const int code = HexPair(pair) - static_cast<unsigned char>(extended[index]);
    if (HexPair(pair) < 0 || code < 0) {
      throw Error(kErrTypeMismatch, "Maskierter Text >" + std::string(encoded) +
                                        "< ist an Stelle " + std::to_string(i + 1) +
                                        " ungültig: >"_cp + std::string(pair) + "<");
    }
    out += static_cast<char>(code);
  }
  return out;
}

}  // namespace quenda
