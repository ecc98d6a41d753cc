#include "audit/conservation_reading.h"

#include <cctype>

#include "audit/release_source.h"
#include "text/cp1252.h"

namespace quenda::audit {
namespace {

const char* const kValueLineStart = "   WERT\t";

std::string Quoted(const std::string& line) { return ">" + line + "<"; }

// Reads "* Konserve für L mit Wert >V<" into the block; a fault when it is no such line.
void ReadComment(const std::string& line, ConservationBlock& b) {
  const std::string start = "* Konserve für "_cp;
  const std::string middle = " mit Wert >";
  const std::size_t at = line.find(middle);
  if (line.rfind(start, 0) != 0 || at == std::string::npos || line.back() != '<') {
    b.faults.push_back("Kommentarzeile " + Quoted(line) +
                       " ist nicht \"* Konserve für L mit Wert >W<\""_cp);
    return;
  }
  b.commentLabel = line.substr(start.size(), at - start.size());
  b.commentValue = line.substr(at + middle.size(), line.size() - at - middle.size() - 1);
}

bool IsDecimal(const std::string& text) {
  if (text.empty() || text.size() > 3 || (text.size() > 1 && text[0] == '0')) return false;
  for (char c : text) {
    if (std::isdigit(static_cast<unsigned char>(c)) == 0) return false;
  }
  return std::stoi(text) <= 255;
}

// One value line: "   WERT" TAB, then numbers each followed by a TAB.
bool ReadValueLine(const std::string& line, std::vector<int>& numbers, std::size_t& count) {
  if (line.rfind(kValueLineStart, 0) != 0 || line.back() != '\t') return false;
  std::size_t start = std::string(kValueLineStart).size();
  count = 0;
  while (start < line.size()) {
    const std::size_t tab = line.find('\t', start);
    const std::string number = line.substr(start, tab - start);
    if (!IsDecimal(number)) return false;
    numbers.push_back(std::stoi(number));
    ++count;
    start = tab + 1;
  }
  return count <= 7;
}

void ReadBody(const std::vector<std::string>& body, ConservationBlock& b) {
  const std::string kind = KindOfKeyword(b.keyword);
  if (kind == "KTX") {
    const std::string start = " TEXT    '";
    if (body.size() != 1 || body[0].rfind(start, 0) != 0 || body[0].size() <= start.size() ||
        body[0].back() != '\'') {
      b.faults.push_back("TEXTSTRING " + b.label + " hat nicht genau eine Zeile \" TEXT    'W'\"");
      return;
    }
    b.text = body[0].substr(start.size(), body[0].size() - start.size() - 1);
    return;
  }
  for (std::size_t i = 0; i < body.size(); ++i) {
    std::size_t count = 0;
    const bool read = ReadValueLine(body[i], b.numbers, count);
    if (!read || (i + 1 < body.size() && count != 7)) {
      b.faults.push_back(b.keyword + " " + b.label + ": Wertzeile " + Quoted(body[i]) +
                         " ist keine Zeile \"   WERT\" mit Tabulatoren und bis zu 7 Zahlen");
      return;
    }
  }
  if (body.empty()) b.faults.push_back(b.keyword + " " + b.label + " hat keine Wertzeile");
}

// Reads the block that starts at lines[i] (its empty line); i moves behind it.
ConservationBlock ReadBlock(const std::vector<std::string>& lines, std::size_t& i) {
  ConservationBlock b;
  b.line = static_cast<int>(i) + 1;
  const auto at = [&](std::size_t k) { return k < lines.size() ? lines[k] : std::string(); };
  if (!at(i).empty() || !at(i + 2).empty())
    b.faults.push_back("Leerzeilen um den Kommentar fehlen");
  ReadComment(at(i + 1), b);
  const std::string head = at(i + 3);
  const std::size_t blank = head.find(' ');
  b.keyword = head.substr(0, blank);
  b.label = blank == std::string::npos ? std::string() : head.substr(blank + 1);
  if (KindOfKeyword(b.keyword).empty() || b.label.empty()) {
    b.faults.push_back("Zeile " + Quoted(head) +
                       " ist kein TEXTSTRING, FESTWERTEBLOCK oder FESTKENNLINIE mit Label");
  }
  std::size_t k = i + 4;
  std::vector<std::string> body;
  while (k < lines.size() && lines[k] != "END" && lines[k].rfind("* Konserve", 0) != 0)
    body.push_back(lines[k++]);
  if (k >= lines.size() || lines[k] != "END") {
    b.faults.push_back("Block " + b.label + " endet nicht mit END");
  } else if (at(k + 1) != "" || k + 1 >= lines.size()) {
    b.faults.push_back("Block " + b.label + ": nach END fehlt die Leerzeile");
  }
  if (b.faults.empty()) ReadBody(body, b);
  if (b.commentLabel != b.label && !b.commentLabel.empty()) {
    b.faults.push_back("Kommentar nennt " + b.commentLabel + ", der Block " + b.label);
  }
  i = k + 2;
  return b;
}

std::vector<std::string> HeaderFaults(const std::vector<std::string>& lines, std::string& which) {
  const std::string actual = "* aktuelle Helmo HW-TTNR und SW-TTNR";
  const std::string dummy = "* dummy Helmo HW-TTNR und SW-TTNR";
  const auto at = [&](std::size_t k) {
    return k < lines.size() ? lines[k] : std::string("{fehlt}");
  };
  which = at(2) == actual ? "aktuelle" : at(2) == dummy ? "dummy" : "";
  if (at(0) == "* K o n s e r v i e r u n g" && at(1).empty() && !which.empty() && at(3).empty() &&
      at(4).empty()) {
    return {};
  }
  return {
      "die ersten fünf Zeilen sind nicht der Kopf \"* K o n s e r v i e r u n g\", "
      "Leerzeile, \"* aktuelle/dummy Helmo HW-TTNR und SW-TTNR\", zwei Leerzeilen"_cp +
      " (Zeile 1: " + Quoted(at(0)) + ")"};
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

ConservationFile ReadConservationFile(const std::string& bytes, bool withHeader) {
  ConservationFile file;
  bool ended = true;
  const std::vector<std::string> lines = SplitLines(bytes, &ended);
  std::size_t i = 0;
  if (withHeader) {
    file.headerFaults = HeaderFaults(lines, file.header);
    i = 5;
  }
  if (!ended) file.headerFaults.push_back("die letzte Zeile endet nicht mit CR LF");
  while (i < lines.size()) file.blocks.push_back(ReadBlock(lines, i));
  return file;
}

std::optional<std::string> ObjectStoreKind(const std::string& store, const std::string& label) {
  const std::string key = "=Kgs:Name=" + label + ":";
  for (const std::string& line : SplitLines(store)) {
    if (line.rfind(":OId", 0) != 0 || line.find(key) == std::string::npos) continue;
    std::size_t start = 0;
    for (int field = 0; field < 4; ++field) {
      start = line.find(':', start);
      if (start == std::string::npos) return std::nullopt;
      ++start;
    }
    const std::string field = line.substr(start, line.find(':', start) - start);
    if (!EqualsIgnoreCase(field.substr(0, 5), "STYP=")) return std::nullopt;
    return UpperCase(field.substr(5));
  }
  return std::nullopt;
}

std::string KindOfKeyword(const std::string& keyword) {
  if (keyword == "TEXTSTRING") return "KTX";
  if (keyword == "FESTWERTEBLOCK") return "KWB";
  if (keyword == "FESTKENNLINIE") return "FKL";
  return {};
}

std::optional<std::vector<int>> ExpectedNumbers(const std::string& kind, const std::string& format,
                                                const std::string& value, std::string* bad) {
  std::vector<int> numbers;
  if (format == "STR") {
    for (unsigned char c : value) numbers.push_back(c);
    return numbers;
  }
  if (format != "HEX" && !(format == "LNI" && kind == "KWB")) return std::nullopt;
  std::string digits;
  for (char c : value) {
    if (kind == "FKL" || (c != ' ' && c != '\t')) digits += c;
  }
  for (std::size_t k = 0; k < digits.size(); k += 2) {
    const std::string pair = digits.substr(k, 2);
    const int high = HexDigit(pair[0]);
    const int low = pair.size() == 2 ? HexDigit(pair[1]) : 0;
    if (high < 0 || low < 0) {
      if (bad != nullptr) *bad = pair;
      return std::nullopt;
    }
    numbers.push_back(pair.size() == 2 ? high * 16 + low : high);
  }
  return numbers;
}

}  // namespace quenda::audit
