#include "platform/own_file.h"

namespace quenda {

Error RefusedFileError(const std::string& path, const std::string& why) {
  return Error(kErrPermissionDenied,
               PlatformErrorText(kErrPermissionDenied) + ": " + path + " " + why);
}

}  // namespace quenda
