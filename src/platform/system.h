// Services of the operating system that are not files: special folders, environment,
// logon name, the executable's folder, starting a program and waiting for it.
// PosixSystem (system_posix.cpp) and Win32System (system_win32.cpp) are the real ones;
// tests use their own double.
#pragma once

#include <memory>
#include <string>

namespace quenda {

class System {
 public:
  virtual ~System() = default;

  // The temporary folder, ending in a separator ("\" on Windows, "/" elsewhere). Windows:
  // the user's own (GetTempPathA). Elsewhere a folder of this user's alone, created when
  // missing (see MakePrivateFolder): $XDG_RUNTIME_DIR/quenda, else $TMPDIR/quenda-<uid>
  // ($TMPDIR /tmp when unset); throws Error 70 naming it when it is no such folder (see
  // SiteSettings::TempDirRefused).
  virtual std::string TempPath() = 0;
  // The Windows folder (no trailing separator); elsewhere $XDG_CONFIG_HOME/quenda.
  virtual std::string WindowsDirectory() = 0;
  // The value of an environment variable, empty when unset (CP1252).
  virtual std::string GetEnv(const std::string& name) = 0;
  // The logon name of the user.
  virtual std::string LogonUserName() = 0;
  // The computer's network name; empty when unknown.
  virtual std::string ComputerName() = 0;
  // The folder of the running executable.
  virtual std::string ExecutableDir() = 0;
  // The current folder.
  virtual std::string CurrentDir() = 0;
  // Starts `commandLine` (CP1252, split like a Windows command line) with the given
  // window style and waits for its end. Returns "ok"; throws Error 53 when the program
  // cannot be started.
  virtual std::string RunAndWait(const std::string& commandLine, int windowStyle) = 0;
  // The user's regional decimal separator.
  virtual std::string DecimalSeparator() = 0;
};

std::unique_ptr<System> MakeNativeSystem();

}  // namespace quenda
