// What every front end does before the window appears: the program folder, Config.ini
// and the site settings.
#pragma once

#include <string>

#include "platform/site_settings.h"

namespace quenda {

struct Options;
class System;

struct ProgramSetup {
  std::string programDir;  // CP1252
  SiteSettings site;
};

// Reads Config.ini of the program folder (a missing file gives the defaults).
ProgramSetup PrepareProgram(const Options& options, System& system);

// Reads a whole native file as bytes; empty when it cannot be read.
std::string ReadNativeFile(const std::string& nativePath, bool& ok);

}  // namespace quenda
