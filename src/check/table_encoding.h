// Tables saved in the wrong encoding: the configuration tables are Windows-1252 (ANSI),
// but an editor may save them as UTF-8, with a byte-order mark or with each letter beyond
// ASCII as two bytes. A run reads those bytes as they are, which breaks column names and
// values; the check names the cause once and judges the content as meant.
#pragma once

#include <optional>
#include <string>

namespace quenda {

// The text of the finding (CP1252) when `bytes` begin with a UTF-8 byte-order mark or hold
// a well-formed UTF-8 sequence of a character beyond ASCII (a letter, a sign, also one that
// CP1252 has no form of, such as an emoji), naming the mark or the first such character with
// its line; nullopt for a table without either.
std::optional<std::string> Utf8TableProblem(const std::string& bytes);

// `bytes` as the table was meant: the byte-order mark dropped and every UTF-8 sequence
// replaced by its CP1252 character ("?" where CP1252 has none); all other bytes are kept.
std::string Utf8LettersAsCp1252(const std::string& bytes);

}  // namespace quenda
