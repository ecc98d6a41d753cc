// The parts of RegularInputFile that do not depend on the platform; opening and checking the file
// is in input_file_posix.cpp and input_file_win32.cpp.
#include "platform/input_file.h"

#include <algorithm>
#include <system_error>

#include "platform/files.h"
#include "text/cp1252.h"

namespace quenda {

Error InputTooLargeError(const std::string& path, std::uintmax_t limit) {
  return Error(kErrPathFileAccess, path + " ist größer als "_cp + std::to_string(limit) + " Bytes");
}

bool IsNonRegularFile(const std::filesystem::path& native) {
  std::error_code ec;
  const std::filesystem::file_status status = std::filesystem::status(native, ec);
  return !ec && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status);
}

bool IsNonRegularFile(const Files& files, const std::string& path) {
  return !path.empty() && files.Map().CanResolve(path) && IsNonRegularFile(files.Native(path));
}

RegularInputFile::~RegularInputFile() {
  if (file_ != nullptr) std::fclose(file_);
}

std::size_t RegularInputFile::Read(char* buffer, std::size_t n) {
  const std::size_t got = std::fread(buffer, 1, n, file_);
  if (got == 0 && std::ferror(file_) != 0) throw PlatformError(kErrPathFileAccess, path_);
  return got;
}

std::string ReadInputFile(const std::filesystem::path& native, const std::string& path,
                          std::uintmax_t limit) {
  RegularInputFile file(native, path);
  if (file.Size() > limit) throw InputTooLargeError(path, limit);
  std::string content;
  // One allocation of the final size instead of a doubling string that briefly needs
  // twice the file; the file may still change size while it is read.
  if (file.Size() < content.max_size()) content.reserve(static_cast<std::size_t>(file.Size()));
  char buffer[65536];
  while (const std::size_t n = file.Read(buffer, sizeof buffer)) {
    content.append(buffer, n);
    if (content.size() > limit) throw InputTooLargeError(path, limit);
  }
  return content;
}

}  // namespace quenda
