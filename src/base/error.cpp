#include "base/error.h"

#include "text/cp1252.h"
#include "text/tokens.h"

namespace quenda {

std::string PlatformErrorText(int number) {
  switch (number) {
    case kErrInvalidArgument:
      return "Unzulässiger Prozeduraufruf oder ungültiges Argument"_cp;
    case kErrOverflow:
      return "Überlauf"_cp;
    case kErrOutOfMemory:
      return "Nicht genügend Arbeitsspeicher"_cp;
    case kErrSubscript:
      return "Index außerhalb des gültigen Bereichs"_cp;
    case kErrDivisionByZero:
      return "Division durch Null";
    case kErrTypeMismatch:
      return "Typen unverträglich"_cp;
    case kErrBadFileName:
      return "Dateiname oder -nummer falsch";
    case kErrFileNotFound:
      return "Datei nicht gefunden";
    case kErrFileExists:
      return "Datei existiert bereits";
    case kErrDiskFull:
      return "Datenträger voll"_cp;
    case kErrPermissionDenied:
      return "Zugriff verweigert";
    case kErrPathFileAccess:
      return "Fehler beim Zugriff auf Pfad/Datei";
    case kErrPathNotFound:
      return "Pfad nicht gefunden";
    case kErrObjectNotSet:
      return "Objektvariable oder With-Blockvariable nicht festgelegt";
    default:
      return {};
  }
}

Error::Error(int number, std::string description, std::string source)
    : std::runtime_error(Cp1252ToUtf8(description)),
      number_(number),
      description_(std::move(description)),
      source_(std::move(source)) {}

Error PlatformError(int number, const std::string& subject) {
  std::string text = PlatformErrorText(number);
  if (!subject.empty()) text.append(": ").append(subject);
  return Error(number, text);
}

Error NotRegularFileError(const std::string& path) {
  return PlatformError(kErrPathFileAccess, path + " ist keine gewöhnliche Datei"_cp);
}

void RaiseComposed(const std::string& text, const std::string& underlying) {
  throw Error(kErrComposed, Trim(text + " " + underlying));
}

}  // namespace quenda
