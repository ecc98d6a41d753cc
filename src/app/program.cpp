#include "app/program.h"

#include <cstdint>

#include "app/options.h"
#include "base/error.h"
#include "platform/input_file.h"
#include "platform/native_path.h"
#include "platform/system.h"
#include "session/session.h"

namespace quenda {

std::string ReadNativeInput(const std::string& nativePath, std::uintmax_t limit) {
  const std::string text = TextFromNative(nativePath);
  return ReadInputFile(NativePath(text), text, limit);
}

std::string ReadNativeFile(const std::string& nativePath, bool& ok, std::uintmax_t limit) {
  ok = false;
  try {
    std::string content = ReadNativeInput(nativePath, limit);
    ok = true;
    return content;
  } catch (const Error&) {
    return {};
  }
}

ProgramSetup PrepareProgram(const Options& options, System& system) {
  ProgramSetup p;
  p.programDir =
      options.programDir.empty() ? system.ExecutableDir() : TextFromNative(options.programDir);
  const std::string iniPath = ConfigIniPath(p.programDir);
  std::string ini;
  try {
    ini = ReadInputFile(NativePath(iniPath), iniPath);
    p.configIni = ini;
  } catch (const Error&) {
    // A missing or unreadable Config.ini gives the defaults; a FIFO, device or folder in
    // its place is a mistake that the defaults would hide.
    if (IsNonRegularFile(NativePath(iniPath))) throw;
  }
  p.site = LoadSiteSettings(ini, p.programDir, system);
  return p;
}

std::unique_ptr<Session> MakeSession(const Options& options, Ui& ui, System& system) {
  if (!options.transcriptFile.empty()) ui.SetTranscript(options.transcriptFile);
  ProgramSetup setup = PrepareProgram(options, system);
  // Nothing of a run may go into a temporary folder that another user can reach.
  if (!setup.site.TempDirRefused.empty()) {
    throw Error(kErrPermissionDenied, setup.site.TempDirRefused);
  }
  auto session = std::make_unique<Session>(ui, system, std::move(setup.site));
  session->env.ProgramDir = setup.programDir;
  session->env.CommandLineText = CommandLineText(options);
  // Only a run that writes its record fingerprints what it reads and writes.
  if (!options.reportFile.empty()) session->record.Want();
  if (setup.configIni) {
    session->record.NoteInput(ConfigIniPath(setup.programDir), input_role::kSettings,
                              *setup.configIni);
  }
  return session;
}

std::string ReportProgramDir(const std::string& given, const std::filesystem::path& runDir,
                             const std::filesystem::path& currentDir) {
  std::filesystem::path dir = given.empty() ? runDir : NativePath(TextFromNative(given));
  if (dir.is_relative()) dir = currentDir / dir;
  return NativeFromText(PathText(dir));
}

}  // namespace quenda
