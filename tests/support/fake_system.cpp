#include "support/fake_system.h"

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

#include "base/error.h"
#include "platform/site_settings.h"
#include "ui/transcript.h"

namespace fs = std::filesystem;

namespace quenda::testing {

int ExitOf(const std::function<void()>& command) {
  try {
    command();
  } catch (const RunEnded& end) {
    return end.ExitStatus();
  }
  return -1;
}

std::string FakeSystem::GetEnv(const std::string& name) {
  for (const auto& [k, v] : env) {
    if (k == name) return v;
  }
  return {};
}

std::string JsonInner(const std::string& text) {
  const std::string quoted = JsonString(text);
  return quoted.substr(1, quoted.size() - 2);
}

TempDir::TempDir() {
  std::random_device rd;
  // QUENDA_TEST_TMP moves the folders off the drive letters that the tests map (C:, T:).
  const char* root = std::getenv("QUENDA_TEST_TMP");
  const fs::path base =
      root != nullptr && *root != '\0' ? fs::path(root) : fs::temp_directory_path();
  path_ = base / ("quenda-test-" + std::to_string(rd()) + std::to_string(rd()));
  fs::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
  for (auto it = fs::recursive_directory_iterator(path_, ec); !ec && it != fs::end(it);
       it.increment(ec)) {
    fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  }
  fs::remove_all(path_, ec);
}

void TempDir::Write(const std::string& relative, const std::string& bytes) const {
  const fs::path p = path_ / relative;
  fs::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << bytes;
}

std::string TempDir::Read(const std::string& relative) const {
  std::ifstream in(path_ / relative, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

SessionFixture::SessionFixture(const std::string& answers, const std::string& configIni) {
  fs::create_directories(dir.Path() / "tmp");
  fs::create_directories(dir.Path() / "win");
  fs::create_directories(dir.Path() / "home");
  system.tempPath = dir.File("tmp") + kSep;
  system.windowsDir = dir.File("win");
  system.exeDir = dir.Path().string();
  system.currentDir = dir.Path().string();
  system.env = {{"HOME", dir.File("home")}, {"USERPROFILE", dir.File("home")}};
  devnull = std::fopen(kNullDevice, "w");
  ui = std::make_unique<HeadlessUi>(answers, devnull, devnull);
  session = std::make_unique<Session>(*ui, system,
                                      LoadSiteSettings(configIni, dir.Path().string(), system));
  fs::create_directories(dir.Path() / "cwd");
  Session& s = *session;
  s.env.TempDir = s.site.TempDir;
  s.env.WindowsDir = s.site.WindowsDir;
  s.state.LaufLogName = "RizaZizi.log";
  s.state.LaufLogFile = s.env.TempDir + s.state.LaufLogName;
  s.state.AktDirName = dir.File("cwd") + kSep;  // the log copy lands in cwd/, not in the build
}

std::unique_ptr<Session> SessionFixture::SessionFor(Ui& ui) {
  auto fresh =
      std::make_unique<Session>(ui, system, LoadSiteSettings("", dir.Path().string(), system));
  fresh->state.AktDirName = dir.File("cwd") + kSep;
  return fresh;
}

void SessionFixture::OpenLog() { session->log.Open(session->files, session->state.LaufLogFile); }

void SessionFixture::RecordDialogs() { ui->SetTranscript(dir.File("transcript.jsonl")); }

SessionFixture::~SessionFixture() {
  session.reset();
  ui.reset();
  std::fclose(devnull);
}

}  // namespace quenda::testing
