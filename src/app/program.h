// What every front end does before the window appears: the program folder, Config.ini
// and the site settings.
#pragma once

#include <cstdint>
#include <filesystem>
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

// Reads Config.ini of the program folder (a missing or unreadable file gives the defaults).
// Throws NotRegularFileError (platform/input_file.h) when it is a folder, FIFO or device.
ProgramSetup PrepareProgram(const Options& options, System& system);

// The session of one program start: site settings, program folder, command-line text,
// and the transcript when asked for. Throws the platform error (an unwritable transcript),
// and Error 70 with SiteSettings::TempDirRefused when the temporary folder is refused.
std::unique_ptr<Session> MakeSession(const Options& options, Ui& ui, System& system);

// Bounds of the inputs of the command line that have no natural size.
inline constexpr std::uintmax_t kMaxAnswersBytes = std::uintmax_t{1} << 20;  // --answers
inline constexpr std::uintmax_t kMaxReportBytes = std::uintmax_t{64} << 20;  // --verify

// Reads a whole native file as bytes: a regular file of at most `limit` bytes. Throws the
// platform error naming the path (see ReadInputFile in platform/input_file.h).
std::string ReadNativeInput(const std::string& nativePath, std::uintmax_t limit);
// The same, never throwing: empty with `ok` false when it cannot be read, is no regular
// file or is longer than `limit` (by default the bound of the answers file).
std::string ReadNativeFile(const std::string& nativePath, bool& ok,
                           std::uintmax_t limit = kMaxAnswersBytes);

// The program folder whose Config.ini holds the drive map for the files of a report:
// `given` (--program-dir, native) when not empty, else `runDir`, the run's own; a relative
// one from the run's current folder `currentDir`, as the run resolved it. Native.
std::string ReportProgramDir(const std::string& given, const std::filesystem::path& runDir,
                             const std::filesystem::path& currentDir);

}  // namespace quenda
