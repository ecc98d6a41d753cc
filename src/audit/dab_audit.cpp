#include "audit/dab_audit.h"

#include <algorithm>

#include "audit/release_source.h"
#include "text/cp1252.h"

namespace quenda::audit {
namespace {

using Faults = std::vector<std::string>;

std::string Quoted(const std::string& value) { return ">" + value + "<"; }

bool IsHexLine(const std::string& line) {
  std::string key = line.substr(0, line.find('='));
  std::erase(key, ' ');
  return line.find('=') != std::string::npos && UpperCase(key) == "HEX-DATEI";
}

// The lines of `bytes`, and a fault when one of them does not end in CR LF.
std::vector<std::string> LinesEndedByCrLf(const std::string& bytes, Faults& faults) {
  std::size_t lf = bytes.find('\n');
  int line = 1;
  for (; lf != std::string::npos; lf = bytes.find('\n', lf + 1), ++line) {
    if (lf == 0 || bytes[lf - 1] != '\r') {
      faults.push_back("Zeile " + std::to_string(line) + " endet nicht mit CR LF");
      break;
    }
  }
  if (!bytes.empty() && bytes.back() != '\n')
    faults.push_back("die letzte Zeile endet nicht mit CR LF");
  return SplitLines(bytes);
}

// The first line where `got` and `want` differ, as a fault; nothing when they agree.
void CompareLines(const std::vector<std::string>& got, const std::vector<std::string>& want,
                  Faults& faults) {
  const std::size_t n = std::max(got.size(), want.size());
  for (std::size_t k = 0; k < n; ++k) {
    const std::string g = k < got.size() ? got[k] : "{fehlt}";
    const std::string w = k < want.size() ? want[k] : "{keine Zeile}";
    if (k < got.size() && k < want.size() && got[k] == want[k]) continue;
    faults.push_back("Zeile " + std::to_string(k + 1) + " ist " + Quoted(g) + ", erwartet " +
                     Quoted(w));
    return;
  }
}

}  // namespace

void AuditDabCopy(const std::string& sourcePath, const std::string& source,
                  const std::string& copyPath, const std::string& copy, const std::string& hexBase,
                  AuditLog& log) {
  Faults faults;
  std::vector<std::string> want = SplitLines(source);
  for (std::string& line : want) {
    if (IsHexLine(line)) line = "HEX-Datei = " + FolderOf(copyPath) + "\\" + hexBase + ".hex";
  }
  CompareLines(LinesEndedByCrLf(copy, faults), want, faults);
  log.Check("QR-COPY", copyPath, "Kopie von " + sourcePath + " (HEX-Datei auf den Kundenordner)",
            faults);
}

void AuditDataVersionDab(const std::string& path, const std::string& bytes, const std::string& base,
                         const std::vector<std::string>& appended, AuditLog& log) {
  Faults faults;
  std::vector<std::string> want = SplitLines(base);
  const std::size_t baseLines = want.size();
  want.insert(want.end(), appended.begin(), appended.end());
  CompareLines(LinesEndedByCrLf(bytes, faults), want, faults);
  log.Check("QR-DAB", path,
            std::to_string(baseLines) + " Zeilen der Basis und " + std::to_string(appended.size()) +
                " angehängte Zeilen wie der Bericht"_cp,
            faults);
}

void AuditByteCopy(const std::string& sourcePath, const std::string& source,
                   const std::string& copyPath, const std::string& copy, AuditLog& log) {
  Faults faults;
  if (copy != source) {
    const auto diff = std::mismatch(copy.begin(), copy.end(), source.begin(), source.end());
    faults.push_back("hat " + std::to_string(copy.size()) + " Bytes, die Quelle " + sourcePath +
                     " " + std::to_string(source.size()) + "; erste Abweichung bei Byte " +
                     std::to_string(diff.first - copy.begin() + 1));
  }
  log.Check("QR-COPY", copyPath,
            "gleich der Quelle " + sourcePath + " (" + std::to_string(source.size()) + " Bytes)",
            faults);
}

}  // namespace quenda::audit
