// The release batch "ParaSerie.bat": sets the variables that describe the job and the
// release files, then calls the start script of the configured series tool version.
#pragma once

#include <string>
#include <vector>

namespace quenda {

class Session;

// Folders and base names of a release, set by the run sequence.
struct ReleaseFolders {
  std::string PathBasis;
  std::string FileBasis;
  std::string PathFreig;
  std::string FileFreig;
};

// "SET NAME=value"; a value that cmd.exe would act on (& | < > ^ %) is written as
// SET "NAME=value" with every % doubled, so it stays a value when the batch runs.
std::string SetLine(const std::string& name, const std::string& value);

// The lines of the batch for the session's job and configuration.
std::vector<std::string> ReleaseBatchLines(const Session& session, const ReleaseFolders& folders);

// Writes PathFreig + "\ParaSerie.bat", replacing an earlier one. Throws the platform error.
void WriteReleaseBatch(const Session& session, const ReleaseFolders& folders);

}  // namespace quenda
