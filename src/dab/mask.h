// The masking of secret values: each character is shifted by the code of the matching
// character of a repeated key and written as hexadecimal digits. The job rules mask what
// the user enters; the DAB reader unmasks the masked project value.
#pragma once

#include <string>
#include <string_view>

namespace quenda {

// The key shared by masking and unmasking.
inline constexpr std::string_view kMaskKey = "Holzbirn";

// For each character of `text` (CP1252): its code plus the code of the extended key's
// character at the same position, in upper-case hexadecimal without leading zeros and
// with a "0" put in front of a single digit (two or three digits per character). The
// empty text gives the empty text. Throws Error 5 naming the text when it is longer than
// the extended key (the key repeated to at least 200 characters), or when `key` is empty.
std::string EncodeMask(std::string_view text, std::string_view key);

// The inverse of EncodeMask for texts whose codes plus the key's stay below 256: the text
// is read as pairs of hexadecimal digits (a last single digit alone), each less the code
// of the extended key's character at the pair's number. Throws Error 13 naming the text
// and the pair for a pair that is not hexadecimal or a difference below 0, and Error 5
// for an empty key or a text of more pairs than the extended key has characters.
std::string DecodeMask(std::string_view encoded, std::string_view key);

}  // namespace quenda
