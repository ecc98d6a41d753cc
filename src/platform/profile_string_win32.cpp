#include "platform/profile_string.h"

#include <windows.h>

#include "platform/files.h"
#include "platform/native_path.h"

namespace quenda {

std::string ReadProfileString(const Files& files, const std::string& path,
                              const std::string& section, const std::string& key,
                              const std::string& fallback) {
  // A relative file name would be looked up in the Windows folder; a path of the logic
  // is always full, and a drive map (tests) may point it elsewhere.
  const std::string file = files.Map().CanResolve(path) ? PathText(files.Native(path)) : path;
  char buffer[256] = "";
  const DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(), buffer,
                                           sizeof buffer, file.c_str());
  // A value cut to the buffer is reported as 255 characters by Windows and as 0 by Wine;
  // the text up to its end is the value either way.
  buffer[sizeof buffer - 1] = '\0';
  return n > 0 ? std::string(buffer, n) : std::string(buffer);
}

}  // namespace quenda
