#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include <pwd.h>
#include <sys/utsname.h>
#include <sys/wait.h>
#include <unistd.h>

#include "base/error.h"
#include "platform/code_page.h"
#include "platform/own_file.h"
#include "platform/stop_request.h"
#include "platform/system.h"
#include "text/cp1252.h"

namespace fs = std::filesystem;

namespace quenda {
namespace {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

std::string WithoutTrailingSlash(std::string dir) {
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  return dir == "/" ? std::string() : dir;
}

// Splits a command line at blanks outside double quotes; quotes are removed.
std::vector<std::string> SplitCommandLine(const std::string& line) {
  std::vector<std::string> words;
  std::string word;
  bool quoted = false;
  bool any = false;
  for (char c : line) {
    if (c == '"') {
      quoted = !quoted;
      any = true;
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (any) words.push_back(word);
      word.clear();
      any = false;
    } else {
      word += c;
      any = true;
    }
  }
  if (any) words.push_back(word);
  return words;
}

class PosixSystem : public System {
 public:
  std::string TempPath() override {
    // A folder of the user's own: in a shared /tmp another user could plant links and
    // files under the names of the run log and the error file.
    std::string dir = WithoutTrailingSlash(Env("XDG_RUNTIME_DIR"));
    if (!dir.empty() && dir.front() == '/') {
      dir += "/quenda";
    } else {
      dir = WithoutTrailingSlash(Env("TMPDIR"));
      if (dir.empty()) dir = "/tmp";
      dir += "/quenda-" + std::to_string(geteuid());
    }
    MakePrivateFolder(dir, Utf8ToCp1252(dir));
    return Utf8ToCp1252(dir + "/");
  }

  std::string WindowsDirectory() override {
    std::string base = Env("XDG_CONFIG_HOME");
    if (base.empty()) base = Env("HOME") + "/.config";
    return Utf8ToCp1252(base + "/quenda");
  }

  std::string GetEnv(const std::string& name) override {
    return Utf8ToCp1252(Env(Cp1252ToUtf8(name).c_str()));
  }

  std::string LogonUserName() override {
    std::string name = Env("USER");
    if (name.empty()) {
      if (const passwd* pw = getpwuid(getuid()); pw != nullptr) name = pw->pw_name;
    }
    return Utf8ToCp1252(name);
  }

  std::string ComputerName() override {
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0) return {};
    return Utf8ToCp1252(name);
  }

  std::string ExecutableDir() override {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string(".") : Utf8ToCp1252(exe.parent_path().string());
  }

  std::string CurrentDir() override {
    std::error_code ec;
    const fs::path cwd = fs::current_path(ec);
    return ec ? std::string(".") : Utf8ToCp1252(cwd.string());
  }

  void RunAndWait(const std::string& commandLine, int /*windowStyle*/) override {
    std::vector<std::string> words = SplitCommandLine(Cp1252ToUtf8(commandLine));
    if (words.empty()) throw PlatformError(kErrFileNotFound, commandLine);
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid < 0) throw PlatformError(kErrPathFileAccess, commandLine);
    if (pid == 0) {
      ReleaseStopRequestsInChild();
      execvp(argv[0], argv.data());
      _exit(127);
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 127) {
      throw PlatformError(kErrFileNotFound, commandLine);
    }
  }

  std::string DecimalSeparator() override {
    std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    std::setlocale(LC_NUMERIC, "");
    const std::string separator = std::localeconv()->decimal_point;
    std::setlocale(LC_NUMERIC, previous.c_str());
    return separator.empty() ? std::string(".") : Utf8ToCp1252(separator);
  }

  SystemFamily Family() override { return SystemFamily::kPosix; }

  int ConsoleCodePage() override { return SystemConsoleCodePage(); }
};

}  // namespace

SystemFamily NativeSystemFamily() { return SystemFamily::kPosix; }

std::string OperatingSystemText() {
  utsname name{};
  if (uname(&name) != 0) return "POSIX";
  return std::string(name.sysname) + " " + name.release + " " + name.machine;
}

std::unique_ptr<System> MakeNativeSystem() { return std::make_unique<PosixSystem>(); }

}  // namespace quenda
