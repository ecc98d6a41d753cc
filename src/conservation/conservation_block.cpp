#include "conservation/conservation_block.h"

#include <optional>

#include "base/line_value.h"
#include "session/session.h"
#include "session/termination.h"
#include "text/cp1252.h"
#include "text/tokens.h"

namespace quenda {
namespace {

constexpr int kNumbersPerLine = 7;
const std::string kValueLineHead = "   WERT\t";

// Every block starts here: a label or value that would break its lines is refused first.
void WriteHead(ConservationFile& f, const std::string& label, const std::string& value,
               const std::string& blockName) {
  RequireLineValue(label, label, f.path);
  RequireLineValue(label, value, f.path);
  f.WriteLine("");
  f.WriteLine("* Konserve für "_cp + label + " mit Wert >" + value + "<");
  f.WriteLine("");
  f.WriteLine(blockName + " " + label);
}

void WriteTail(ConservationFile& f) {
  f.WriteLine("END");
  f.WriteLine("");
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::vector<int> CharacterCodes(const std::string& value) {
  std::vector<int> numbers;
  for (char c : value) numbers.push_back(static_cast<unsigned char>(c));
  return numbers;
}

// One number per pair of characters, a last single character alone.
std::vector<int> HexPairs(Session& s, const ConservationFile& f, const std::string& label,
                          const std::string& value) {
  std::vector<int> numbers;
  for (std::size_t i = 0; i < value.size(); i += 2) {
    const std::string pair = value.substr(i, 2);
    int number = 0;
    for (char c : pair) {
      const int digit = HexDigit(c);
      if (digit < 0) {
        ErrorEnd(s,
                 "Konservierungsdatei " + f.path + ", Objekt " + label + ": >" + pair +
                     "< im Wert >" + value + "< ist keine Hexadezimalzahl",
                 EndStyle::Box(48), "Abbruch");
      }
      number = number * 16 + digit;
    }
    numbers.push_back(number);
  }
  return numbers;
}

// The block's value lines; a format the block does not read leaves the block without
// numbers rather than with lines of some other block.
void WriteValues(Session& s, ConservationFile& f, const std::string& label,
                 const std::string& blockName, const std::optional<std::vector<int>>& numbers,
                 const std::string& format) {
  if (!numbers) {
    s.WriteLogLine(blockName + " " + label + ": Format >" + format +
                   "< wird nicht unterstützt, der Block bleibt ohne Werte"_cp);
  }
  for (std::string& line : ValueLines(numbers.value_or(std::vector<int>{}))) {
    f.WriteLine(std::move(line));
  }
}

}  // namespace

std::vector<std::string> ValueLines(const std::vector<int>& numbers) {
  std::vector<std::string> lines;
  std::string line = kValueLineHead;
  int count = 0;
  for (int n : numbers) {
    if (++count > kNumbersPerLine) {
      lines.push_back(line);
      line = kValueLineHead;
      count = 1;
    }
    line += std::to_string(n) + "\t";
  }
  lines.push_back(line);
  return lines;
}

void RequireKnownKind(Session& s, const std::string& kind) {
  if (kind == "KTX" || kind == "KWB" || kind == "FKL") return;
  TerminateRun(s, "KgrType = " + kind + " noch nicht berücksichtigt!"_cp, EndStyle::Box(), "");
}

void WriteConservationBlock(Session& s, ConservationFile& f, const std::string& label,
                            std::string value, const std::string& kind, const std::string& format) {
  RequireKnownKind(s, kind);
  if (kind == "KTX") WriteTextstring(f, label, value);
  if (kind == "KWB") WriteFestwerteblock(s, f, label, value, format);
  if (kind == "FKL") WriteFestkennlinie(s, f, label, value, format);
}

void WriteTextstring(ConservationFile& f, const std::string& label, const std::string& value) {
  WriteHead(f, label, value, "TEXTSTRING");
  f.WriteLine(" TEXT    '" + value + "'");
  WriteTail(f);
}

void WriteFestwerteblock(Session& s, ConservationFile& f, const std::string& label,
                         std::string& value, const std::string& format) {
  const std::string blockName = "FESTWERTEBLOCK";
  WriteHead(f, label, value, blockName);
  std::optional<std::vector<int>> numbers;
  if (format == "STR") numbers = CharacterCodes(value);
  if (format == "HEX" || format == "LNI") {
    std::string options = "COLLAPSE";
    NormalizeText(value, options);
    numbers = HexPairs(s, f, label, value);
  }
  WriteValues(s, f, label, blockName, numbers, format);
  WriteTail(f);
}

void WriteFestkennlinie(Session& s, ConservationFile& f, const std::string& label,
                        const std::string& value, const std::string& format) {
  const std::string blockName = "FESTKENNLINIE";
  WriteHead(f, label, value, blockName);
  std::optional<std::vector<int>> numbers;
  if (format == "STR") numbers = CharacterCodes(value);
  if (format == "HEX") numbers = HexPairs(s, f, label, value);
  WriteValues(s, f, label, blockName, numbers, format);
  WriteTail(f);
}

}  // namespace quenda
