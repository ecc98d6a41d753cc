// Names that Quenda composes from values (a folder from the job's hardware number, a DAB
// file name from the data version, a release file name): each must name exactly one file or
// folder in the folder it is meant for, on Windows as on the drive map elsewhere.
#pragma once

#include <string>
#include <string_view>

namespace quenda {

enum class NameFault {
  kNone,
  kEmpty,
  kSeparator,  // \ or /: the name would reach into another folder
  kReserved,   // : * ? " < > |, which Windows refuses in a name
  kControl,    // a character below 32
  kDots,       // "." or "..": a path step, not a name
  kTrailing,   // a trailing dot or blank, which Windows drops (another name on disk)
  kDevice,     // CON, PRN, AUX, NUL, CONIN$, CONOUT$, COM0-9, LPT0-9, also with an extension
  kDot,        // "." inside a part of a name: it would move where the extension starts
  kBlank,      // a blank inside a part of a name
};

// What keeps `name` (CP1252) from being one valid Windows file or folder name.
NameFault FindNameFault(std::string_view name);

// What keeps `part` (CP1252) from standing inside a file name that other names are
// derived from by cutting at the first "." (the data version in a DAB file name, whose
// conservation files and release batch take the name up to that "."): kSeparator,
// kReserved, kControl as FindNameFault, kDot for a ".", kBlank for a blank. An empty part
// passes.
NameFault FindNamePartFault(std::string_view part);

// The German message for a refused name: "Der Name >value< aus " + what + " ist kein
// gültiger Datei- oder Ordnername: " + the reason; control codes in the value are shown
// by their codes ({10}: text/line_text.h).
std::string RefusedNameText(const std::string& what, std::string_view name, NameFault fault);

// The longest path Windows opens without the long-path prefix (MAX_PATH less its NUL), and
// with it the series tools that read the release.
inline constexpr std::size_t kMaxWindowsPath = 259;

// The German refusal of a path longer than kMaxWindowsPath, naming it and its length: "Der
// Pfad " + path + " ist N Zeichen lang; Windows und die Serienwerkzeuge öffnen höchstens
// 259 Zeichen". Empty for a path of at most kMaxWindowsPath characters.
std::string RefusedPathLengthText(std::string_view path);

}  // namespace quenda
