// The release batch "ParaSerie.bat": sets the variables that describe the job and the
// release files, then calls the start script of the configured series tool version.
#pragma once

#include <string>
#include <vector>

namespace quenda {

class Session;

inline constexpr char kReleaseBatchName[] = "ParaSerie.bat";

// Folders and base names of a release, set by the run sequence.
struct ReleaseFolders {
  std::string PathBasis;
  std::string FileBasis;
  std::string PathFreig;
  std::string FileFreig;
};

// One variable the batch sets.
struct BatchVariable {
  std::string name;
  std::string value;
};

// "SET NAME=value"; a value that cmd would act on (& | < > ^ ( ) %) is written as
// SET "NAME=value" with every % doubled, so it stays a value when the batch runs (see
// text/batch_text.h). Throws Error 60000 for a value that cannot be written safely, also
// one holding "/?", for which SET shows its help instead of setting the variable.
std::string SetLine(const std::string& name, const std::string& value);

// The variables of the batch, in file order, for the session's job and configuration.
std::vector<BatchVariable> ReleaseBatchVariables(const Session& session,
                                                 const ReleaseFolders& folders);

// The lines of the batch. Throws like SetLine.
std::vector<std::string> ReleaseBatchLines(const Session& session, const ReleaseFolders& folders);

// The message for the first value WriteReleaseBatch refuses (a SET value, the version or
// the tools folder of the call line), naming the variable and the value; empty when it
// can write them all. A run asks before it writes the first file of the release.
std::string RefusedReleaseBatchValue(const Session& session, const ReleaseFolders& folders);

// Writes PathFreig + "\ParaSerie.bat" in the console's code page (app/batch_encoding.h),
// replacing an earlier one. A value that cannot be written safely (also a version or tools
// folder that the call line would expand into a command, or a character the code page lacks)
// ends the run through ErrorEnd, naming the variable and the value, before anything is
// written. Throws the platform error.
void WriteReleaseBatch(Session& session, const ReleaseFolders& folders);

}  // namespace quenda
