#include "app/program.h"

#include <cstdio>

#include "app/options.h"
#include "base/error.h"
#include "platform/native_path.h"
#include "platform/system.h"
#include "session/session.h"

namespace quenda {

std::string ReadNativeFile(const std::string& nativePath, bool& ok) {
  std::string content;
  std::FILE* f = std::fopen(nativePath.c_str(), "rb");
  ok = f != nullptr;
  if (f == nullptr) return content;
  char buffer[65536];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) content.append(buffer, n);
  ok = std::ferror(f) == 0;
  std::fclose(f);
  return content;
}

ProgramSetup PrepareProgram(const Options& options, System& system) {
  ProgramSetup p;
  p.programDir =
      options.programDir.empty() ? system.ExecutableDir() : TextFromNative(options.programDir);
  bool ok = false;
  const std::string ini = ReadNativeFile(NativeFromText(ConfigIniPath(p.programDir)), ok);
  p.site = LoadSiteSettings(ini, p.programDir, system);
  if (ok) p.configIni = ini;
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
  if (setup.configIni) {
    session->record.NoteInput(ConfigIniPath(setup.programDir), input_role::kSettings,
                              *setup.configIni);
  }
  return session;
}

}  // namespace quenda
