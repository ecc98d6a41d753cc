#include "text/windows_name.h"

#include <array>

#include "text/cp1252.h"
#include "text/line_text.h"

namespace quenda {
namespace {

// Windows treats these as devices in every folder, whatever extension follows. COM0 and
// LPT0 are not documented ports but are opened as devices all the same, and current
// Windows also reads the superscript digits 1, 2, 3 (B9 B2 B3 in CP1252) as port numbers.
bool IsDeviceName(std::string_view name) {
  const std::string stem = UpperCase(name.substr(0, name.find('.')));
  std::string trimmed = stem;
  while (!trimmed.empty() && trimmed.back() == ' ') trimmed.pop_back();
  for (const char* device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"}) {
    if (trimmed == device) return true;
  }
  if (trimmed.size() != 4) return false;
  const std::string port = trimmed.substr(0, 3);
  if (port != "COM" && port != "LPT") return false;
  const char digit = trimmed[3];
  return (digit >= '0' && digit <= '9') || digit == '\xB9' || digit == '\xB2' || digit == '\xB3';
}

std::string Reason(NameFault fault) {
  switch (fault) {
    case NameFault::kEmpty:
      return "er ist leer";
    case NameFault::kSeparator:
      return "er enthält \\ oder / und würde in einen anderen Ordner führen"_cp;
    case NameFault::kReserved:
      return "er enthält eines der Zeichen : * ? \" < > |"_cp;
    case NameFault::kControl:
      return "er enthält ein Steuerzeichen"_cp;
    case NameFault::kDots:
      return "\".\" und \"..\" sind Schritte eines Pfades, keine Namen";
    case NameFault::kTrailing:
      return "er endet mit einem Punkt oder Leerzeichen, die Windows weglässt"_cp;
    case NameFault::kDevice:
      return "er ist ein Gerätename von Windows (CON, PRN, AUX, NUL, CONIN$, CONOUT$, COM0-9, "
             "LPT0-9)"_cp;
    case NameFault::kDot:
      return "er enthält einen Punkt, der den Dateinamen an anderer Stelle teilen würde"_cp;
    case NameFault::kBlank:
      return "er enthält ein Leerzeichen"_cp;
    case NameFault::kNone:
      break;
  }
  return {};
}

}  // namespace

NameFault FindNameFault(std::string_view name) {
  if (name.empty()) return NameFault::kEmpty;
  if (name == "." || name == "..") return NameFault::kDots;
  for (char c : name) {
    if (c == '\\' || c == '/') return NameFault::kSeparator;
    if (static_cast<unsigned char>(c) < 0x20) return NameFault::kControl;
  }
  if (name.find_first_of(":*?\"<>|") != std::string_view::npos) return NameFault::kReserved;
  if (name.back() == '.' || name.back() == ' ') return NameFault::kTrailing;
  if (IsDeviceName(name)) return NameFault::kDevice;
  return NameFault::kNone;
}

NameFault FindNamePartFault(std::string_view part) {
  for (char c : part) {
    if (c == '\\' || c == '/') return NameFault::kSeparator;
    if (static_cast<unsigned char>(c) < 0x20) return NameFault::kControl;
  }
  if (part.find_first_of(":*?\"<>|") != std::string_view::npos) return NameFault::kReserved;
  if (part.find('.') != std::string_view::npos) return NameFault::kDot;
  if (part.find(' ') != std::string_view::npos) return NameFault::kBlank;
  return NameFault::kNone;
}

std::string RefusedPathLengthText(std::string_view path) {
  if (path.size() <= kMaxWindowsPath) return {};
  return "Der Pfad " + std::string(path) + " ist " + std::to_string(path.size()) +
         " Zeichen lang; Windows und die Serienwerkzeuge öffnen höchstens "_cp +
         std::to_string(kMaxWindowsPath) + " Zeichen";
}

std::string RefusedNameText(const std::string& what, std::string_view name, NameFault fault) {
  return "Der Name >" + ShowCodes(name) + "< aus " + what +
         " ist kein gültiger Datei- oder Ordnername: "_cp + Reason(fault);
}

}  // namespace quenda
