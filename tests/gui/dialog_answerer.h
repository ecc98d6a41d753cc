// Answers the modal dialogs of a GUI test as a user would: clicks a message box's button,
// types into an input box, picks or cancels a file. Polls for the active modal widget.
#pragma once

#include <QObject>
#include <QTimer>
#include <deque>
#include <string>
#include <vector>

namespace quenda::testing {

class DialogAnswerer {
 public:
  // Answers as in a headless answers file: "button Yes", "text abc", "file PATH"; boxes
  // with one button are confirmed without an answer.
  explicit DialogAnswerer(std::vector<std::string> answers);

  // Titles and texts of the dialogs seen, in order (UTF-8).
  const std::vector<std::string>& Seen() const { return seen_; }
  std::size_t AnswersLeft() const { return answers_.size(); }

 private:
  void Poll();

  std::deque<std::string> answers_;
  std::vector<std::string> seen_;
  QTimer timer_;
};

}  // namespace quenda::testing
