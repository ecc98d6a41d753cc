// The Ui without a window: log lines go to standard output, dialogs with their answers
// to standard error. OK-only boxes are confirmed at once; every other dialog takes the
// next answer of the answers file. A question without a fitting answer throws Unanswered,
// which the front end turns into an orderly end with status 3.
#pragma once

#include <cstdio>
#include <deque>
#include <string>

#include "ui/ui.h"

namespace quenda {

class HeadlessUi : public Ui {
 public:
  // `answersText`: UTF-8, one answer per line ("button Yes", "text abc", "file x.xml");
  // blank lines and lines starting with "#" are skipped.
  explicit HeadlessUi(const std::string& answersText = {}, std::FILE* out = stdout,
                      std::FILE* err = stderr);

  void SetBusy(bool) override {}
  void LogLineWritten(const std::string& line) override;
  void LogViewChanged() override {}

  std::size_t AnswersLeft() const { return answers_.size(); }

 protected:
  Answer ShowMessage(const std::string& text, const MessageStyle& style,
                     const std::string& title) override;
  std::string ShowInput(const std::string& prompt, const std::string& title,
                        const std::string& defaultText) override;
  std::optional<std::string> ShowOpenFile(const FileDialogRequest& request) override;

 private:
  // Takes the next answer of `kind` ("button", "text", "file"); throws Unanswered naming
  // the dialog's title and text when there is none or it is of another kind.
  std::string NextAnswer(const std::string& kind, const std::string& title,
                         const std::string& text);
  [[noreturn]] void Refuse(const std::string& title, const std::string& text,
                           const std::string& why);
  void Report(const std::string& what, const std::string& title, const std::string& text,
              const std::string& answer);

  std::deque<std::string> answers_;
  std::FILE* out_;
  std::FILE* err_;
};

}  // namespace quenda
