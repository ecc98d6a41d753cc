// A session for the fuzz targets: no dialogs answered (questions end the run), output to
// nowhere, the temporary folder a fresh folder of its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "session/session.h"
#include "ui/headless_ui.h"

namespace quenda::fuzz {

class FuzzSession {
 public:
  FuzzSession();
  ~FuzzSession();
  Session& S() { return *session_; }
  // A native file inside the session's temporary folder.
  std::string TempFile(const std::string& name) const;

 private:
  std::unique_ptr<System> system_;
  std::FILE* devnull_;
  std::unique_ptr<HeadlessUi> ui_;
  std::unique_ptr<Session> session_;
};

inline std::string AsText(const uint8_t* data, std::size_t size) {
  return std::string(reinterpret_cast<const char*>(data), size);
}

}  // namespace quenda::fuzz
