// The core's only way to the user: message boxes, input boxes, the open-file dialog,
// the busy pointer and the log view. Texts are CP1252. The non-virtual calls apply the
// shared rules (title "Quenda" for boxes without a title, the transcript) and hand the
// dialog to the front end. A text or title holding a byte no line may carry (NUL, C1
// codes CP1252 leaves undefined, a lone CR or LF: text/line_text.h) is shown, recorded and
// transcribed with that byte by its code ("{0}"); CR LF pairs of a text stay.
#pragma once

#include <deque>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/error.h"

namespace quenda {

// Answers of a message box, numbered as the platform numbers them.
enum class Answer { kOk = 1, kCancel = 2, kAbort = 3, kRetry = 4, kIgnore = 5, kYes = 6, kNo = 7 };
const char* AnswerName(Answer answer);

// A message-box style number taken apart: buttons (the code 0-5, see Buttons()), icon
// (16 stop, 32 question, 48 exclamation, 64 information), default button (+256 second,
// +512 third).
struct MessageStyle {
  int buttons = 0;
  int icon = 0;
  int defaultButton = 0;  // 0-based
  int number = 0;         // the whole number as given (native message boxes take it as is)
  static MessageStyle FromNumber(int style);
  bool OkOnly() const { return buttons == 0; }
  // The buttons of the style, left to right; empty for a button code beyond 5.
  std::span<const Answer> Buttons() const;
};

struct FileDialogRequest {
  std::string title;
  std::string initialDir;  // as the logic names it (a Windows path text)
  std::string filter;      // "Text (*.xml)|*.xml|All (*.*)|*.*|"
  int filterIndex = 1;
  bool hideReadOnly = true;
  std::string initialDirNative;  // the same folder on this machine; empty when unknown
};

class Transcript;

// A dialog as shown and answered: kind "message", "input" or "file"; the text is the
// box's text, the input's prompt or the file dialog's start folder; `at` is when it was
// shown (UTC). No answer: the dialog was left unanswered, or the file dialog cancelled.
struct DialogRecord {
  std::string kind;
  std::string title;
  std::string text;
  std::optional<std::string> answer;
  std::string at;
};

class Ui {
 public:
  Ui();
  virtual ~Ui();

  // Shows a box; an empty title becomes "Quenda". Returns the button pressed.
  Answer MsgBox(const std::string& text, int style = 0, const std::string& title = {});
  // Shows an input box; returns the typed text, or empty when cancelled.
  std::string InputBox(const std::string& prompt, const std::string& title = {},
                       const std::string& defaultText = {});
  // Shows the open-file dialog; nullopt when cancelled.
  std::optional<std::string> OpenFile(const FileDialogRequest& request);

  // Answers given before, for the next questions (message boxes with more than OK and input
  // boxes): each takes the first answer while it has the question's kind, title and text;
  // the first question that differs drops the rest and is asked as usual.
  void PrepareAnswers(std::vector<DialogRecord> answers);

  // The text of the last message box shown, empty before the first.
  const std::string& LastMessage() const { return lastMessage_; }

  // Every dialog so far, in order.
  const std::vector<DialogRecord>& Dialogs() const { return dialogs_; }

  // Writes one JSON line per dialog to `path` (UTF-8), appending. A file that cannot be
  // opened leaves the dialogs without a transcript; TranscriptFailure tells it.
  void SetTranscript(const std::string& nativePath);
  // Why the transcript asked for is not whole: the platform error naming its file (it
  // could not be opened, or a line could not be written or flushed); nullopt while it is
  // whole or none was asked for.
  std::optional<Error> TranscriptFailure() const;

  virtual void SetBusy(bool busy) = 0;
  // Every line written to the run log, in order (also in BatchMode).
  virtual void LogLineWritten(const std::string& line) = 0;
  // The window's log list or action label changed; repaint now.
  virtual void LogViewChanged() = 0;
  // The values the run computed changed (the object store set kinds and lengths); a
  // window refreshes what it shows of them. Nothing by default.
  virtual void RunSummaryChanged() {}

 protected:
  virtual Answer ShowMessage(const std::string& text, const MessageStyle& style,
                             const std::string& title) = 0;
  virtual std::string ShowInput(const std::string& prompt, const std::string& title,
                                const std::string& defaultText) = 0;
  virtual std::optional<std::string> ShowOpenFile(const FileDialogRequest& request) = 0;

 private:
  // Records a dialog about to be shown and returns its index; the answer is set once given.
  std::size_t Record(const char* kind, const std::string& title, const std::string& text);
  // The prepared answer of the question, taken; none (and none left) when it differs.
  std::optional<std::string> TakePrepared(const char* kind, const std::string& title,
                                          const std::string& text);

  std::unique_ptr<Transcript> transcript_;
  std::string transcriptPath_;  // native, as given
  std::optional<Error> transcriptOpenError_;
  std::string lastMessage_;
  std::vector<DialogRecord> dialogs_;
  std::deque<DialogRecord> prepared_;
};

}  // namespace quenda
