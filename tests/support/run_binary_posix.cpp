#include "support/run_binary.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace quenda::testing {
namespace {

std::string Quote(const std::string& arg) {
  std::string out = "'";
  for (char c : arg) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace

RunResult RunQuenda(const std::vector<std::string>& args, const std::string& cwd) {
  const std::string out = cwd + "/.stdout";
  const std::string err = cwd + "/.stderr";
  std::string command = "cd " + Quote(cwd) + " && " + Quote(QUENDA_BINARY);
  for (const std::string& a : args) command += " " + Quote(a);
  command += " >" + Quote(out) + " 2>" + Quote(err) + " </dev/null";
  RunResult r;
  const int raw = std::system(command.c_str());
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  r.out = Slurp(out);
  r.err = Slurp(err);
  std::filesystem::remove(out);
  std::filesystem::remove(err);
  return r;
}

int StartQuenda(const std::vector<std::string>& args, const std::string& cwd) {
  const pid_t pid = fork();
  if (pid == 0) {
    if (chdir(cwd.c_str()) != 0) _exit(126);
    std::vector<char*> argv = {const_cast<char*>(QUENDA_BINARY)};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const int devnull = open("/dev/null", O_WRONLY);
    dup2(devnull, 1);
    dup2(devnull, 2);
    execv(QUENDA_BINARY, argv.data());
    _exit(127);
  }
  return pid;
}

void RunQuendaKilledAfter(const std::vector<std::string>& args, const std::string& cwd,
                          std::chrono::microseconds after) {
  const pid_t pid = StartQuenda(args, cwd);
  std::this_thread::sleep_for(after);
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
}

}  // namespace quenda::testing
