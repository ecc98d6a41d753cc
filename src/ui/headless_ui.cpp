#include "ui/headless_ui.h"

#include <algorithm>
#include <array>

#include "base/error.h"
#include "platform/files.h"
#include "text/cp1252.h"

namespace quenda {
namespace {

std::optional<Answer> ParseButton(const std::string& name) {
  constexpr std::array<Answer, 7> kAll = {Answer::kOk,    Answer::kCancel, Answer::kAbort,
                                          Answer::kRetry, Answer::kIgnore, Answer::kYes,
                                          Answer::kNo};
  for (Answer a : kAll) {
    if (EqualsIgnoreCase(name, AnswerName(a))) return a;
  }
  return std::nullopt;
}

}  // namespace

HeadlessUi::HeadlessUi(const std::string& answersText, std::FILE* out, std::FILE* err)
    : out_(out), err_(err) {
  for (std::string line : SplitTextLines(answersText)) {
    if (line.empty() || line[0] == '#') continue;
    answers_.push_back(Utf8ToCp1252(line));
  }
}

void HeadlessUi::LogLineWritten(const std::string& line) {
  std::fputs((Cp1252ToUtf8(line) + "\n").c_str(), out_);
  std::fflush(out_);
}

void HeadlessUi::Report(const std::string& what, const std::string& title, const std::string& text,
                        const std::string& answer) {
  std::string flat = text;
  for (char& c : flat) {
    if (c == '\r') c = ' ';
    if (c == '\n') c = '|';
  }
  std::fputs(
      Cp1252ToUtf8("[" + what + " \"" + title + "\"] " + flat + " -> " + answer + "\n").c_str(),
      err_);
  std::fflush(err_);
}

std::string HeadlessUi::NextAnswer(const std::string& kind, const std::string& title,
                                   const std::string& text) {
  if (answers_.empty()) Refuse(title, text, "keine Antwort mehr in der Antwortdatei");
  const std::string next = answers_.front();
  if (next != kind && next.rfind(kind + " ", 0) != 0) {
    Refuse(title, text, "die nächste Antwort passt nicht: "_cp + next);
  }
  answers_.pop_front();
  return next.size() > kind.size() ? next.substr(kind.size() + 1) : std::string();
}

void HeadlessUi::Refuse(const std::string& title, const std::string& text, const std::string& why) {
  std::fputs(
      Cp1252ToUtf8("Quenda: Dialog \"" + title + "\" (" + text + ") ohne Antwort: " + why + "\n")
          .c_str(),
      err_);
  std::fflush(err_);
  std::string flat = text;
  for (char& c : flat) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  throw Unanswered("Keine Antwort für Dialog \""_cp + title + "\": " + flat + " (" + why + ")");
}

Answer HeadlessUi::ShowMessage(const std::string& text, const MessageStyle& style,
                               const std::string& title) {
  if (style.OkOnly()) {
    Report("Meldung", title, text, "OK");
    return Answer::kOk;
  }
  const std::string word = NextAnswer("button", title, text);
  const std::optional<Answer> answer = ParseButton(word);
  if (!answer || std::ranges::find(style.Buttons(), *answer) == style.Buttons().end()) {
    Refuse(title, text, "die Schaltfläche passt nicht zur Frage: "_cp + word);
  }
  Report("Frage", title, text, AnswerName(*answer));
  return *answer;
}

std::string HeadlessUi::ShowInput(const std::string& prompt, const std::string& title,
                                  const std::string& defaultText) {
  (void)defaultText;
  std::string answer = NextAnswer("text", title, prompt);
  Report("Eingabe", title, prompt, answer);
  return answer;
}

std::optional<std::string> HeadlessUi::ShowOpenFile(const FileDialogRequest& request) {
  if (!answers_.empty() && answers_.front() == "button Cancel") {
    answers_.pop_front();
    Report("Dateiauswahl", request.title, request.initialDir, "Cancel");
    return std::nullopt;
  }
  std::string path = NextAnswer("file", request.title, request.initialDir);
  Report("Dateiauswahl", request.title, request.initialDir, path);
  return path;
}

}  // namespace quenda
