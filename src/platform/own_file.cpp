#include "platform/own_file.h"

#include "text/cp1252.h"

namespace quenda {

Error NotRegularFileError(const std::string& path) {
  return Error(kErrPathFileAccess, PlatformErrorText(kErrPathFileAccess) + ": " + path +
                                       " ist keine gewöhnliche Datei"_cp);
}

Error RefusedFileError(const std::string& path, const std::string& why) {
  return Error(kErrPermissionDenied,
               PlatformErrorText(kErrPermissionDenied) + ": " + path + " " + why);
}

}  // namespace quenda
