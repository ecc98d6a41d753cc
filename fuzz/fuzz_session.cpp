#include "fuzz_session.h"

#include <unistd.h>
#include <filesystem>

#include "platform/site_settings.h"
#include "platform/system.h"

namespace fs = std::filesystem;

namespace quenda::fuzz {

FuzzSession::FuzzSession() {
  const fs::path temp = fs::temp_directory_path() / ("quenda-fuzz-" + std::to_string(getpid()));
  fs::create_directories(temp);
  system_ = MakeNativeSystem();
  devnull_ = std::fopen("/dev/null", "w");
  ui_ = std::make_unique<HeadlessUi>("", devnull_, devnull_);
  const std::string ini = "[Site]\r\nTempDir=" + temp.string() + "\r\n";
  session_ =
      std::make_unique<Session>(*ui_, *system_, LoadSiteSettings(ini, temp.string(), *system_));
  session_->env.TempDir = session_->site.TempDir;
}

FuzzSession::~FuzzSession() {
  const fs::path temp(session_->site.TempDir);
  session_.reset();
  ui_.reset();
  std::fclose(devnull_);
  std::error_code ec;
  fs::remove_all(temp, ec);
}

std::string FuzzSession::TempFile(const std::string& name) const {
  return session_->site.TempDir + name;
}

}  // namespace quenda::fuzz
