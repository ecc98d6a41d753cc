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
  kDevice,     // CON, PRN, AUX, NUL, COM1-9, LPT1-9, also with an extension
};

// What keeps `name` (CP1252) from being one valid Windows file or folder name.
NameFault FindNameFault(std::string_view name);

// The German message for a refused name: "Der Name >value< aus " + what + " ist kein
// gültiger Datei- oder Ordnername: " + the reason.
std::string RefusedNameText(const std::string& what, std::string_view name, NameFault fault);

}  // namespace quenda
