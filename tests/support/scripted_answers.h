// A front end's Ui whose questions take the next of a list of answers, as in a headless
// answers file ("button Yes", "text V2"); boxes with OK alone are confirmed without one.
// Counts the questions it was asked.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "ui/ui.h"

namespace quenda::testing {

template <class FrontEndUi>
class ScriptedAnswers : public FrontEndUi {
 public:
  explicit ScriptedAnswers(const std::vector<std::string>& answers)
      : answers(answers.begin(), answers.end()) {}
  std::deque<std::string> answers;
  int asked = 0;

 protected:
  Answer ShowMessage(const std::string&, const MessageStyle& style, const std::string&) override {
    if (style.OkOnly()) return Answer::kOk;
    const std::string word = Next().substr(7);  // after "button "
    for (const Answer a : style.Buttons()) {
      if (word == AnswerName(a)) return a;
    }
    return Answer::kCancel;
  }
  std::string ShowInput(const std::string&, const std::string&, const std::string&) override {
    return Next().substr(5);  // after "text "
  }

 private:
  std::string Next() {
    ++asked;
    if (answers.empty()) return "button none";
    std::string next = answers.front();
    answers.pop_front();
    return next;
  }
};

}  // namespace quenda::testing
