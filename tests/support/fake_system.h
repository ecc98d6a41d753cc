// Test double for the OS services and a small session fixture on a temporary folder.
#pragma once

#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/code_page.h"
#include "platform/system.h"
#include "session/session.h"
#include "ui/headless_ui.h"

namespace quenda::testing {

// The native folder separator, the line end of text written to standard output and the
// device that swallows what is written to it.
#ifdef _WIN32
inline const std::string kSep = "\\";
inline const std::string kStdoutNewline = "\r\n";
inline const char* const kNullDevice = "NUL";
#else
inline const std::string kSep = "/";
inline const std::string kStdoutNewline = "\n";
inline const char* const kNullDevice = "/dev/null";
#endif

// `text` as it appears inside a JSON string of the transcript (quotes not included).
std::string JsonInner(const std::string& text);

class FakeSystem : public System {
 public:
  std::string tempPath = "/tmp/";
  std::string windowsDir = "/tmp";
  std::string userName = "tester";
  std::string computerName = "TESTPC";
  std::string exeDir = ".";
  std::string currentDir = ".";
  std::string decimalSeparator = ",";
  SystemFamily family = NativeSystemFamily();
  int consoleCodePage = SystemConsoleCodePage();
  std::vector<std::pair<std::string, std::string>> env;
  std::vector<std::string> started;  // command lines given to RunAndWait

  std::string TempPath() override { return tempPath; }
  std::string WindowsDirectory() override { return windowsDir; }
  std::string GetEnv(const std::string& name) override;
  std::string LogonUserName() override { return userName; }
  std::string ComputerName() override { return computerName; }
  std::string ExecutableDir() override { return exeDir; }
  std::string CurrentDir() override { return currentDir; }
  void RunAndWait(const std::string& commandLine, int) override { started.push_back(commandLine); }
  std::string DecimalSeparator() override { return decimalSeparator; }
  SystemFamily Family() override { return family; }
  int ConsoleCodePage() override { return consoleCodePage; }
};

// The exit status `command` ends the run with (RunEnded), or -1 when it returns: a test
// that expects the run to end fails on -1.
int ExitOf(const std::function<void()>& command);

// A fresh temporary folder, removed at the end of the test; below $QUENDA_TEST_TMP when set
// (the Windows tests under Wine use a drive that no test maps), else the system's.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::filesystem::path& Path() const { return path_; }
  // Native path text of `relative` inside the folder.
  std::string File(const std::string& relative) const { return (path_ / relative).string(); }
  void Write(const std::string& relative, const std::string& bytes) const;
  std::string Read(const std::string& relative) const;

 private:
  std::filesystem::path path_;
};

// A session on a temporary folder: TempDir (tmp/), WindowsDir (win/) and ProfileDir
// (home/) inside it, the log copy going to cwd/; the drive map from `configIni`. Dialog answers
// come from `answers`, the headless output goes to /dev/null.
class SessionFixture {
 public:
  explicit SessionFixture(const std::string& answers = {}, const std::string& configIni = {});
  ~SessionFixture();

  TempDir dir;
  FakeSystem system;
  std::FILE* devnull;
  std::unique_ptr<HeadlessUi> ui;
  std::unique_ptr<Session> session;

  Session& S() { return *session; }
  // A fresh session on the same folders and system with `ui` (a window's Ui), as start-up
  // begins it: the site settings, and the log copy's current folder cwd/.
  std::unique_ptr<Session> SessionFor(Ui& ui);
  // Opens the run log in tmp/ as start-up does.
  void OpenLog();
  // Records every dialog from now on; Transcript() gives the JSON lines so far.
  void RecordDialogs();
  std::string Transcript() const { return dir.Read("transcript.jsonl"); }
};

}  // namespace quenda::testing
