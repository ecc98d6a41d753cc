// Services of the operating system that are not files: special folders, environment,
// logon name, the executable's folder, starting a program and waiting for it, and the
// family of systems whose conventions the run follows.
// PosixSystem (system_posix.cpp) and Win32System (system_win32.cpp) are the real ones;
// tests use their own double.
#pragma once

#include <memory>
#include <string>

namespace quenda {

// The two families of systems Quenda runs on. On Windows the Windows path texts of the logic
// are native paths and the site settings have Windows defaults; elsewhere the paths go
// through the drive map and the defaults come from the POSIX environment.
enum class SystemFamily { kWindows, kPosix };

// The family this program was built for (system_posix.cpp, system_win32.cpp).
SystemFamily NativeSystemFamily();

// The operating system this program runs on, for a person: its name, version and machine
// ("Linux 6.1.0-18-amd64 x86_64"; "Windows 10.0.19045 (Wine 8.0)" under Wine). UTF-8.
std::string OperatingSystemText();

// The folder separator of `family`: "\" on Windows, "/" elsewhere.
inline char FolderSeparator(SystemFamily family) {
  return family == SystemFamily::kWindows ? '\\' : '/';
}

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
  // window style and waits for its end. Throws Error 53 when the program cannot be
  // started.
  virtual void RunAndWait(const std::string& commandLine, int windowStyle) = 0;
  // The user's regional decimal separator.
  virtual std::string DecimalSeparator() = 0;
  // The family whose conventions this system follows (NativeSystemFamily() for the real
  // ones).
  virtual SystemFamily Family() = 0;
  // The console's code page, in which cmd reads a batch file: GetOEMCP() on Windows; 0
  // elsewhere, where the site setting [Site] BatchCodePage says it.
  virtual int ConsoleCodePage() = 0;
};

std::unique_ptr<System> MakeNativeSystem();

}  // namespace quenda
