// What a dialog shows of a text from outside: a native box would end its text at a NUL and
// show undefined codes as boxes, so every front end gets such bytes by their codes, while
// the CR LF pairs of a box with several lines stay.
#include <gtest/gtest.h>

#include "support/fake_system.h"
#include "text/cp1252.h"
#include "ui/ui.h"

namespace quenda {
namespace {

using testing::SessionFixture;

TEST(MessageText, ControlCodesShownByTheirCodesCrLfKept) {
  const std::pair<std::string, std::string> cases[] = {
      {"Zeile 1\r\nZeile 2", "Zeile 1\r\nZeile 2"},
      {std::string("Wert >a\0b<", 10), "Wert >a{0}b<"},
      {"Wert >M\x81ller<", "Wert >M{129}ller<"},
      {"\r\r\n\n", "{13}\r\n{10}"},
      {"100 \x80 \x84x\x93\tTab", "100 \x80 \x84x\x93\tTab"},
  };
  for (const auto& [text, shown] : cases) {
    SessionFixture f;
    f.RecordDialogs();
    f.S().ui.MsgBox(text, 0, std::string("Titel\0x", 7));
    ASSERT_EQ(f.S().ui.Dialogs().size(), 1u);
    EXPECT_EQ(f.S().ui.Dialogs()[0].text, shown) << Cp1252ToUtf8(shown);
    EXPECT_EQ(f.S().ui.Dialogs()[0].title, "Titel{0}x");
  }
}

TEST(MessageText, InputPromptShownByItsCodes) {
  SessionFixture f("text 12\n");
  EXPECT_EQ(f.S().ui.InputBox("Wert\x9D\r\n?", "T\n"), "12");
  ASSERT_EQ(f.S().ui.Dialogs().size(), 1u);
  EXPECT_EQ(f.S().ui.Dialogs()[0].text, "Wert{157}\r\n?");
  EXPECT_EQ(f.S().ui.Dialogs()[0].title, "T{10}");
}

}  // namespace
}  // namespace quenda
