#include "ui/transcript.h"

#include "base/error.h"
#include "text/cp1252.h"

namespace quenda {

std::string JsonString(const std::string& cp1252) {
  std::string out = "\"";
  for (char c : Cp1252ToUtf8(cp1252)) {
    const auto b = static_cast<unsigned char>(c);
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (b < 0x20) {
          char buffer[8];
          std::snprintf(buffer, sizeof buffer, "\\u%04x", b);
          out += buffer;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

Transcript::Transcript(const std::string& nativePath) {
  file_ = std::fopen(nativePath.c_str(), "ab");
  if (file_ == nullptr) throw PlatformError(kErrPathFileAccess, Utf8ToCp1252(nativePath));
}

Transcript::~Transcript() {
  if (file_ != nullptr) std::fclose(file_);
}

void Transcript::Line(const std::string& json) {
  std::fputs((json + "\n").c_str(), file_);
  std::fflush(file_);
}

void Transcript::Message(const std::string& title, const std::string& text, int style,
                         const std::string& answer) {
  Line("{\"kind\":\"message\",\"title\":" + JsonString(title) + ",\"text\":" + JsonString(text) +
       ",\"style\":" + std::to_string(style) + ",\"answer\":" + JsonString(answer) + "}");
}

void Transcript::Input(const std::string& title, const std::string& prompt,
                       const std::string& defaultText, const std::string& answer) {
  Line("{\"kind\":\"input\",\"title\":" + JsonString(title) + ",\"prompt\":" + JsonString(prompt) +
       ",\"default\":" + JsonString(defaultText) + ",\"answer\":" + JsonString(answer) + "}");
}

void Transcript::File(const std::string& title, const std::optional<std::string>& answer) {
  Line("{\"kind\":\"file\",\"title\":" + JsonString(title) +
       ",\"answer\":" + (answer ? JsonString(*answer) : std::string("null")) + "}");
}

}  // namespace quenda
