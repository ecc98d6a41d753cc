#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/run_binary.h"

namespace quenda::testing {
namespace {

// An argument quoted so that the C runtime gives it back unchanged.
std::string Quote(const std::string& arg) {
  if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) return arg;
  std::string out = "\"";
  std::size_t backslashes = 0;
  for (char c : arg) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    out.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
    backslashes = 0;
    out += c;
  }
  out.append(2 * backslashes, '\\');
  return out + "\"";
}

// The options are quoted; the words after "--" are the command line as a user types it.
std::string CommandLine(const std::vector<std::string>& args) {
  std::string line = Quote(QUENDA_BINARY);
  bool raw = false;
  for (const std::string& a : args) {
    line += " " + (raw ? a : Quote(a));
    raw = raw || a == "--";
  }
  return line;
}

HANDLE Inheritable(const std::string& path, DWORD access, DWORD disposition) {
  SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
  return CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa, disposition,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// The console host that Wine starts for the program may hold the output files a moment
// longer than the program itself.
void RemoveWhenReleased(const std::string& path) {
  std::error_code ec;
  for (int attempt = 0; attempt < 100; ++attempt) {
    if (std::filesystem::remove(path, ec) || !std::filesystem::exists(path, ec)) return;
    Sleep(50);
  }
}

// Runs `line` to its end, or kills it after `killAfterMs` milliseconds when that is not
// negative (as a batch system's timeout does); returns the exit status.
int Launch(std::string line, const std::string& cwd, HANDLE out, HANDLE err, int killAfterMs = -1) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = Inheritable("NUL", GENERIC_READ, OPEN_EXISTING);
  startup.hStdOutput = out;
  startup.hStdError = err;
  PROCESS_INFORMATION process{};
  DWORD status = static_cast<DWORD>(-1);
  // Under a loaded machine Wine sometimes fails to create a process that starts fine a
  // moment later; a program that never started has not failed yet.
  bool started = false;
  for (int attempt = 0; attempt < 5 && !started; ++attempt) {
    if (attempt > 0) Sleep(200);
    started = CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, cwd.c_str(),
                             &startup, &process) != 0;
  }
  if (started) {
    if (killAfterMs >= 0 &&
        WaitForSingleObject(process.hProcess, static_cast<DWORD>(killAfterMs)) == WAIT_TIMEOUT) {
      TerminateProcess(process.hProcess, 9);
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  } else {
    const std::string why =
        "CreateProcess failed (Windows error " + std::to_string(GetLastError()) + ")\n";
    DWORD written = 0;
    WriteFile(err, why.data(), static_cast<DWORD>(why.size()), &written, nullptr);
  }
  CloseHandle(startup.hStdInput);
  return static_cast<int>(status);
}

}  // namespace

RunResult RunQuenda(const std::vector<std::string>& args, const std::string& cwd) {
  const std::string outPath = cwd + "\\.stdout";
  const std::string errPath = cwd + "\\.stderr";
  HANDLE out = Inheritable(outPath, GENERIC_WRITE, CREATE_ALWAYS);
  HANDLE err = Inheritable(errPath, GENERIC_WRITE, CREATE_ALWAYS);
  RunResult r;
  r.status = Launch(CommandLine(args), cwd, out, err);
  CloseHandle(out);
  CloseHandle(err);
  r.out = Slurp(outPath);
  r.err = Slurp(errPath);
  RemoveWhenReleased(outPath);
  RemoveWhenReleased(errPath);
  return r;
}

void RunQuendaKilledAfter(const std::vector<std::string>& args, const std::string& cwd,
                          std::chrono::microseconds after) {
  HANDLE nul = Inheritable("NUL", GENERIC_WRITE, OPEN_EXISTING);
  Launch(CommandLine(args), cwd, nul, nul, static_cast<int>(after.count() / 1000));
  CloseHandle(nul);
}

}  // namespace quenda::testing
