// A conservation file read back: its header and its blocks (TEXTSTRING, FESTWERTEBLOCK,
// FESTKENNLINIE ... END), each with its comment, its value lines and what is wrong with
// its form. Also the object kind of a label as the object store's record gives it.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quenda::audit {

struct ConservationBlock {
  int line = 0;                            // 1-based line of the block's first (empty) line
  std::string keyword, label;              // "TEXTSTRING" ... and the label after it
  std::string commentLabel, commentValue;  // from "* Konserve für L mit Wert >V<"
  std::string text;                        // TEXTSTRING: the value between the apostrophes
  std::vector<int> numbers;                // FESTWERTEBLOCK, FESTKENNLINIE: the value lines
  std::vector<std::string> faults;         // German, CP1252; empty for a well-formed block
};

struct ConservationFile {
  std::string header;  // "aktuelle" or "dummy"; empty when the file has no header
  std::vector<std::string> headerFaults;
  std::vector<ConservationBlock> blocks;
};

// Reads `bytes` as a conservation file; `withHeader` says whether the file must begin with
// the five header lines. Never throws: what does not fit the format is in the faults.
ConservationFile ReadConservationFile(const std::string& bytes, bool withHeader);

// The object kind (KTX, KWB, FKL, upper case) of `label` in the object store text `store`:
// the STYP field of the first line that begins with ":OId" and holds "=Kgs:Name=" + label +
// ":"; nullopt when no such record is there.
std::optional<std::string> ObjectStoreKind(const std::string& store, const std::string& label);

// The kind a block keyword stands for ("TEXTSTRING" -> "KTX"); empty for another word.
std::string KindOfKeyword(const std::string& keyword);

// The numbers the value lines of a block of `kind` (KWB, FKL) in `format` must list for
// `value`: STR one code per character, HEX and LNI one per pair of hexadecimal digits
// (blanks removed first in a KWB); nullopt for a format that defines no value lines, and
// for a pair that is no hexadecimal number (`bad` then names it).
std::optional<std::vector<int>> ExpectedNumbers(const std::string& kind, const std::string& format,
                                                const std::string& value, std::string* bad);

}  // namespace quenda::audit
