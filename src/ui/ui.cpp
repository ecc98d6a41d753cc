#include "ui/ui.h"

#include "platform/files.h"
#include "platform/utc_time.h"
#include "text/cp1252.h"
#include "text/line_text.h"
#include "ui/transcript.h"

namespace quenda {
namespace {

// `text` as a dialog shows it: every byte no line may carry by its code (text/line_text.h),
// as the front ends would cut the text at a NUL or show C1 codes as boxes; CR LF pairs stay,
// a box has lines.
std::string Displayed(const std::string& text) {
  std::string shown;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    shown += ShowCodes(std::string_view(text).substr(start, end - start)) + "\r\n";
  }
  return shown + ShowCodes(std::string_view(text).substr(start));
}

}  // namespace

const char* AnswerName(Answer answer) {
  switch (answer) {
    case Answer::kOk:
      return "OK";
    case Answer::kCancel:
      return "Cancel";
    case Answer::kAbort:
      return "Abort";
    case Answer::kRetry:
      return "Retry";
    case Answer::kIgnore:
      return "Ignore";
    case Answer::kYes:
      return "Yes";
    case Answer::kNo:
      return "No";
  }
  return "OK";
}

MessageStyle MessageStyle::FromNumber(int style) {
  MessageStyle s;
  s.number = style;
  s.buttons = style & 0x7;
  s.icon = style & 0x70;
  s.defaultButton = (style & 0x300) >> 8;
  return s;
}

std::span<const Answer> MessageStyle::Buttons() const {
  using A = Answer;
  static constexpr A kOk[] = {A::kOk};
  static constexpr A kOkCancel[] = {A::kOk, A::kCancel};
  static constexpr A kAbortRetryIgnore[] = {A::kAbort, A::kRetry, A::kIgnore};
  static constexpr A kYesNoCancel[] = {A::kYes, A::kNo, A::kCancel};
  static constexpr A kYesNo[] = {A::kYes, A::kNo};
  static constexpr A kRetryCancel[] = {A::kRetry, A::kCancel};
  static constexpr std::span<const A> kByCode[] = {kOk,          kOkCancel, kAbortRetryIgnore,
                                                   kYesNoCancel, kYesNo,    kRetryCancel};
  return buttons >= 0 && buttons < 6 ? kByCode[buttons] : std::span<const A>();
}

Ui::Ui() = default;
Ui::~Ui() = default;

void Ui::SetTranscript(const std::string& nativePath) {
  transcriptPath_ = nativePath;
  try {
    transcript_ = std::make_unique<Transcript>(nativePath);
  } catch (const Error& e) {
    transcriptOpenError_ = e;  // the run goes on; its end tells that the record is missing
  }
}

std::optional<Error> Ui::TranscriptFailure() const {
  if (transcriptOpenError_) return transcriptOpenError_;
  if (!transcript_ || !transcript_->WriteError()) return std::nullopt;
  return FileError(transcript_->WriteError(), Utf8ToCp1252(transcriptPath_));
}

void Ui::PrepareAnswers(std::vector<DialogRecord> answers) {
  prepared_.assign(answers.begin(), answers.end());
}

std::optional<std::string> Ui::TakePrepared(const char* kind, const std::string& title,
                                            const std::string& text) {
  if (prepared_.empty()) return std::nullopt;
  const DialogRecord& next = prepared_.front();
  if (next.kind != kind || next.title != title || next.text != text || !next.answer) {
    prepared_.clear();  // the run went another way than the one the answers were given for
    return std::nullopt;
  }
  std::optional<std::string> answer = next.answer;
  prepared_.pop_front();
  return answer;
}

std::size_t Ui::Record(const char* kind, const std::string& title, const std::string& text) {
  dialogs_.push_back({kind, title, text, std::nullopt, UtcNowText()});
  return dialogs_.size() - 1;
}

Answer Ui::MsgBox(const std::string& message, int style, const std::string& caption) {
  const std::string text = Displayed(message);
  const std::string title = ShowCodes(caption);
  const std::string shown = title.empty() ? std::string("Quenda") : title;
  lastMessage_ = text;
  const std::size_t index = Record("message", shown, text);
  const MessageStyle boxStyle = MessageStyle::FromNumber(style);
  std::optional<Answer> prepared;
  if (!boxStyle.OkOnly()) {
    if (const std::optional<std::string> name = TakePrepared("message", shown, text)) {
      for (const Answer button : boxStyle.Buttons()) {
        if (*name == AnswerName(button)) prepared = button;
      }
    }
  }
  const Answer answer = prepared ? *prepared : ShowMessage(text, boxStyle, shown);
  dialogs_[index].answer = AnswerName(answer);
  if (transcript_) transcript_->Message(shown, text, style, AnswerName(answer));
  return answer;
}

std::string Ui::InputBox(const std::string& question, const std::string& caption,
                         const std::string& defaultText) {
  const std::string prompt = Displayed(question);
  const std::string title = ShowCodes(caption);
  const std::string shown = title.empty() ? std::string("Quenda") : title;
  const std::size_t index = Record("input", shown, prompt);
  const std::optional<std::string> prepared = TakePrepared("input", shown, prompt);
  std::string answer = prepared ? *prepared : ShowInput(prompt, shown, defaultText);
  dialogs_[index].answer = answer;
  if (transcript_) transcript_->Input(shown, prompt, defaultText, answer);
  return answer;
}

std::optional<std::string> Ui::OpenFile(const FileDialogRequest& request) {
  const std::size_t index = Record("file", request.title, request.initialDir);
  auto answer = ShowOpenFile(request);
  dialogs_[index].answer = answer;
  if (transcript_) transcript_->File(request.title, answer);
  return answer;
}

}  // namespace quenda
