#include "platform/held_file.h"

#include "platform/native_path.h"

namespace fs = std::filesystem;

namespace quenda {

void RemoveUnheldFilesWhere(const fs::path& folder,
                            const std::function<bool(const std::string& name)>& matches) {
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (matches(PathText(it->path().filename()))) RemoveIfUnheld(it->path());
  }
}

}  // namespace quenda
