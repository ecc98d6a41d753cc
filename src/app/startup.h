// Start-up: works out the run environment, opens the run log (which loads the main
// window), reads the command line into CommandFields and decides how the project share
// is reached.
#pragma once

#include <optional>
#include <string>

namespace quenda {

class Session;

// Major "." minor revision, without leading zeros: 3, 1, 2 give "3.12".
std::string FormatAppVersion(int major, int minor, int revision);
// The version of this build.
std::string AppVersionText();

// The start sequence; its first run-log line loads the main window. Afterwards the front
// end shows the window.
void Main(Session& session);

// `uncRoot` when uncRoot + subPath exists, else `driveRoot` (with a warning box when
// driveRoot + subPath does not exist either), or nullopt after an unexpected failure (told
// in a box).
std::optional<std::string> Check_laufwerk(Session& session, const std::string& uncRoot,
                                          const std::string& driveRoot, const std::string& subPath);

}  // namespace quenda
