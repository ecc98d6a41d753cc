#include "ui/transcript.h"

#include <nlohmann/json.hpp>

#include <cerrno>

#include "base/error.h"
#include "platform/own_file.h"
#include "text/cp1252.h"

namespace quenda {
namespace {

using Json = nlohmann::ordered_json;

std::string U(const std::string& cp1252) { return Cp1252ToUtf8(cp1252); }

}  // namespace

std::string JsonString(const std::string& cp1252) { return Json(Cp1252ToUtf8(cp1252)).dump(); }

Transcript::Transcript(const std::string& nativePath) {
  // A planted link or a device at the name is refused as for every file a run writes.
  const std::string name = Utf8ToCp1252(nativePath);
  file_ = OpenForAppend(std::filesystem::path(nativePath), name);
  if (file_ == nullptr) throw PlatformError(kErrPathFileAccess, name);
}

Transcript::~Transcript() {
  if (file_ != nullptr) std::fclose(file_);
}

void Transcript::Line(const std::string& json) {
  const std::string line = json + "\n";
  errno = 0;
  const bool whole = std::fwrite(line.data(), 1, line.size(), file_) == line.size();
  if (std::fflush(file_) == 0 && whole) return;
  // The first failure is the one to tell; the lines after it are tried all the same.
  if (!writeError_)
    writeError_ = std::error_code(errno != 0 ? errno : EIO, std::generic_category());
}

void Transcript::Message(const std::string& title, const std::string& text, int style,
                         const std::string& answer) {
  Line(Json{{"kind", "message"},
            {"title", U(title)},
            {"text", U(text)},
            {"style", style},
            {"answer", U(answer)}}
           .dump());
}

void Transcript::Input(const std::string& title, const std::string& prompt,
                       const std::string& defaultText, const std::string& answer) {
  Line(Json{{"kind", "input"},
            {"title", U(title)},
            {"prompt", U(prompt)},
            {"default", U(defaultText)},
            {"answer", U(answer)}}
           .dump());
}

void Transcript::File(const std::string& title, const std::optional<std::string>& answer) {
  Line(Json{{"kind", "file"}, {"title", U(title)}, {"answer", answer ? Json(U(*answer)) : Json()}}
           .dump());
}

}  // namespace quenda
