// The dialog transcript: one JSON object per dialog, UTF-8, one per line.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <system_error>

namespace quenda {

// JSON string literal (with quotes) for a CP1252 text.
std::string JsonString(const std::string& cp1252);

class Transcript {
 public:
  explicit Transcript(const std::string& nativePath);
  ~Transcript();
  Transcript(const Transcript&) = delete;
  Transcript& operator=(const Transcript&) = delete;

  void Message(const std::string& title, const std::string& text, int style,
               const std::string& answer);
  void Input(const std::string& title, const std::string& prompt, const std::string& defaultText,
             const std::string& answer);
  void File(const std::string& title, const std::optional<std::string>& answer);

  // The cause of the first line that was not written whole and flushed; empty while every
  // line was.
  std::error_code WriteError() const { return writeError_; }

 private:
  void Line(const std::string& json);
  std::FILE* file_ = nullptr;
  std::error_code writeError_;
};

}  // namespace quenda
