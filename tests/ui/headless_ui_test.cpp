#include "ui/headless_ui.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "base/error.h"
#include "support/fake_system.h"
#include "ui/transcript.h"

namespace quenda {
namespace {

FileDialogRequest Request(const std::string& title, const std::string& dir = {}) {
  FileDialogRequest r;
  r.title = title;
  r.initialDir = dir;
  return r;
}

class HeadlessUiTest : public ::testing::Test {
 protected:
  HeadlessUi Make(const std::string& answers) { return HeadlessUi(answers, out_, err_); }
  ~HeadlessUiTest() override {
    std::fclose(out_);
    std::fclose(err_);
  }
  std::FILE* out_ = std::tmpfile();
  std::FILE* err_ = std::tmpfile();
};

TEST_F(HeadlessUiTest, AnswersAreTakenInOrderSkippingCommentsAndBlanks) {
  HeadlessUi ui = Make("# Antworten\n\nbutton Yes\r\ntext Kennziffer 7\nfile T:\\x.xml\ntext\n");
  EXPECT_EQ(ui.MsgBox("Weiter?", 3, "Frage"), Answer::kYes);
  EXPECT_EQ(ui.InputBox("Patch", "Patch", "alt"), "Kennziffer 7");
  EXPECT_EQ(ui.OpenFile(Request("Auswahl", "T:\\")), "T:\\x.xml");
  EXPECT_EQ(ui.InputBox("leer?"), "");
  EXPECT_EQ(ui.AnswersLeft(), 0u);
}

TEST_F(HeadlessUiTest, OkOnlyBoxesNeedNoAnswer) {
  HeadlessUi ui = Make("");
  EXPECT_EQ(ui.MsgBox("Info", 64, "Hinweis"), Answer::kOk);
  EXPECT_EQ(ui.MsgBox("Stop", 272, ""), Answer::kOk);
}

TEST_F(HeadlessUiTest, MissingOrWrongAnswerThrowsUnansweredNamingTheDialog) {
  struct Case {
    const char* what;
    std::string answers;
    int style;
  } cases[] = {
      {"no answer left", "", 4},
      {"text for a box", "text Ja", 4},
      {"button the box does not have", "button Cancel", 4},
      {"unknown button", "button Vielleicht", 3},
  };
  for (const auto& c : cases) {
    HeadlessUi ui = Make(c.answers);
    try {
      ui.MsgBox("Weiter?\r\nJa oder Nein", c.style, "Frage");
      ADD_FAILURE() << c.what << ": the question must not be answered";
    } catch (const Unanswered& question) {
      EXPECT_EQ(question.Text().rfind(
                    "Keine Antwort f\xFCr Dialog \"Frage\": Weiter?  Ja oder Nein (", 0),
                0u)
          << c.what << ": " << question.Text();
    }
  }
}

TEST_F(HeadlessUiTest, AStyleTakesExactlyItsButtons) {
  const struct {
    int style;
    std::vector<Answer> buttons;
  } cases[] = {
      {1, {Answer::kOk, Answer::kCancel}},
      {2 + 16, {Answer::kAbort, Answer::kRetry, Answer::kIgnore}},
      {3 + 32 + 256, {Answer::kYes, Answer::kNo, Answer::kCancel}},
      {4 + 512, {Answer::kYes, Answer::kNo}},
      {5, {Answer::kRetry, Answer::kCancel}},
      {6, {}},
  };
  const Answer all[] = {Answer::kOk,     Answer::kCancel, Answer::kAbort, Answer::kRetry,
                        Answer::kIgnore, Answer::kYes,    Answer::kNo};
  for (const auto& c : cases) {
    const MessageStyle style = MessageStyle::FromNumber(c.style);
    EXPECT_EQ(std::vector<Answer>(style.Buttons().begin(), style.Buttons().end()), c.buttons)
        << "style " << c.style;
    for (Answer answer : all) {
      const bool offered = std::ranges::find(c.buttons, answer) != c.buttons.end();
      HeadlessUi ui = Make(std::string("button ") + AnswerName(answer));
      try {
        EXPECT_EQ(ui.MsgBox("Weiter?", c.style, "Frage"), answer) << "style " << c.style;
        EXPECT_TRUE(offered) << "style " << c.style << " took " << AnswerName(answer);
      } catch (const Unanswered&) {
        EXPECT_FALSE(offered) << "style " << c.style << " refused " << AnswerName(answer);
      }
    }
  }
}

TEST_F(HeadlessUiTest, FileDialogCanBeCancelled) {
  HeadlessUi ui = Make("button Cancel\n");
  EXPECT_EQ(ui.OpenFile(Request("Auswahl")), std::nullopt);
}

TEST(Transcript, JsonEscapesAndConvertsToUtf8) {
  EXPECT_EQ(JsonString("a\"b\\c\r\nd\te"), "\"a\\\"b\\\\c\\r\\nd\\te\"");
  EXPECT_EQ(JsonString("f\xFCr \x80"), "\"f\xC3\xBCr \xE2\x82\xAC\"");
  EXPECT_EQ(JsonString(std::string("\x01", 1)), "\"\\u0001\"");
}

TEST(Transcript, EveryDialogKindIsOneLine) {
  testing::SessionFixture f("text abc\nbutton Cancel\n");
  f.RecordDialogs();
  f.S().ui.MsgBox("Hallo", 0, "");
  f.S().ui.InputBox("Prompt", "Titel", "vor");
  f.S().ui.OpenFile(Request("Auswahl Transferdatei"));
  EXPECT_EQ(f.Transcript(),
            "{\"kind\":\"message\",\"title\":\"Quenda\",\"text\":\"Hallo\",\"style\":0,"
            "\"answer\":\"OK\"}\n"
            "{\"kind\":\"input\",\"title\":\"Titel\",\"prompt\":\"Prompt\",\"default\":\"vor\","
            "\"answer\":\"abc\"}\n"
            "{\"kind\":\"file\",\"title\":\"Auswahl Transferdatei\",\"answer\":null}\n");
}

}  // namespace
}  // namespace quenda
