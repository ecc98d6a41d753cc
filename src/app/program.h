// What every front end does before the window appears: the program folder, Config.ini
// and the site settings.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/site_settings.h"

namespace quenda {

struct Options;
class Session;
class System;
class Ui;

struct ProgramSetup {
  std::string programDir;  // CP1252
  SiteSettings site;
  std::optional<std::string> configIni;  // the bytes of Config.ini; none when unreadable
};

// Reads Config.ini of the program folder (a missing file gives the defaults).
ProgramSetup PrepareProgram(const Options& options, System& system);

// The session of one program start: site settings, program folder, command-line text,
// and the transcript when asked for. Throws the platform error (an unwritable transcript),
// and Error 70 with SiteSettings::TempDirRefused when the temporary folder is refused.
std::unique_ptr<Session> MakeSession(const Options& options, Ui& ui, System& system);

// Reads a whole native file as bytes; empty when it cannot be read.
std::string ReadNativeFile(const std::string& nativePath, bool& ok);

}  // namespace quenda
