#include "platform/profile_string.h"

#include "base/error.h"
#include "platform/files.h"
#include "platform/ini_file.h"

namespace quenda {

std::string ReadProfileString(const Files& files, const std::string& path,
                              const std::string& section, const std::string& key,
                              const std::string& fallback) {
  std::string content;
  try {
    if (files.FileExists(path)) content = files.ReadAll(path);
  } catch (const Error&) {
    // An unreadable file reads as a missing one, as with the profile-string service.
  }
  return ProfileString(IniDocument::Parse(content), section, key, fallback);
}

}  // namespace quenda
