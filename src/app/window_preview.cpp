// The Vorschau of a window: a plan made beside the window's own run (see WindowDriver).
#include <vector>

#include "app/command_runner.h"
#include "app/plan_command.h"
#include "app/startup.h"
#include "app/window_driver.h"
#include "base/error.h"
#include "platform/file_overlay.h"
#include "platform/utc_time.h"
#include "session/session.h"
#include "ui/window_ui.h"

namespace quenda {
namespace {

// The Ui of the preview's session: a question the window's run has answered already (while
// loading) takes that answer again; every other question goes to the window and is kept
// with its answer. Boxes that only tell something are not shown, and the log stays the
// session's.
class PreviewUi : public Ui {
 public:
  PreviewUi(Ui& window, const std::vector<DialogRecord>& answered)
      : window_(window), answered_(answered) {}
  void SetBusy(bool busy) override { window_.SetBusy(busy); }
  void LogLineWritten(const std::string&) override {}
  void LogViewChanged() override {}

  std::vector<DialogRecord> questions;

 protected:
  Answer ShowMessage(const std::string& text, const MessageStyle& style,
                     const std::string& title) override {
    if (style.OkOnly()) return Answer::kOk;
    if (const std::optional<std::string> given = Answered("message", title, text)) {
      for (const Answer button : style.Buttons()) {
        if (*given == AnswerName(button)) return button;
      }
    }
    const Answer answer = window_.MsgBox(text, style.number, title);
    questions.push_back({"message", title, text, AnswerName(answer), {}});
    return answer;
  }
  std::string ShowInput(const std::string& prompt, const std::string& title,
                        const std::string& defaultText) override {
    if (std::optional<std::string> given = Answered("input", title, prompt)) return *given;
    std::string answer = window_.InputBox(prompt, title, defaultText);
    questions.push_back({"input", title, prompt, answer, {}});
    return answer;
  }
  std::optional<std::string> ShowOpenFile(const FileDialogRequest& request) override {
    return window_.OpenFile(request);
  }

 private:
  // The answer of the first dialog answered already with this kind, title and text, taken.
  std::optional<std::string> Answered(const char* kind, const std::string& title,
                                      const std::string& text) {
    for (auto it = answered_.begin(); it != answered_.end(); ++it) {
      if (it->kind != kind || it->title != title || it->text != text || !it->answer) continue;
      std::optional<std::string> answer = it->answer;
      answered_.erase(it);
      return answer;
    }
    return std::nullopt;
  }

  Ui& window_;
  std::vector<DialogRecord> answered_;
};

}  // namespace

std::string WindowDriver::Preview() {
  ui_.PrepareAnswers({});  // the answers of an earlier preview are not this one's
  PreviewUi ui(ui_, ui_.Dialogs());
  Session plan(ui, session_.system, session_.site);
  plan.env.ProgramDir = session_.env.ProgramDir;
  plan.env.CommandLineText = session_.env.CommandLineText;
  plan.state.AktDirName = session_.state.AktDirName;
  plan.record.Want();
  for (const InputFile& input : session_.record.Inputs()) {
    if (!input.sha256.empty()) {
      plan.record.NoteInput(input.path, input.role.c_str(), FileDigest{input.bytes, input.sha256});
    }
  }
  FileOverlay overlay;
  plan.files.PlanIn(&overlay);
  MainWindow window(plan);
  const std::optional<int> ended = RunCommand(plan, [&] {
    Main(plan);
    window.Text1 = model_.Text1;
    window.BatDirectory = model_.BatDirectory;
    window.BatchAuswahl = model_.BatchAuswahl;
    window.StartPressed();
    window.EndePressed();
  });
  ui_.SetBusy(false);
  ui_.PrepareAnswers(ui.questions);
  return PlanText(PlanJson(plan, overlay, ended.value_or(kExitAborted), UtcNowText()));
}

}  // namespace quenda
