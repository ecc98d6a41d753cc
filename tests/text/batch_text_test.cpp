#include "text/batch_text.h"

#include <gtest/gtest.h>

#include "text/cp1252.h"

namespace quenda {
namespace {

struct BatchCase {
  std::string value;
  BatchFault fault;
  bool quoted;
  std::string written;  // the text between the quotes (or after "=")
};

TEST(BatchText, ValuesAreWrittenAsCmdReadsThemOrRefused) {
  const BatchCase cases[] = {
      {"plain", BatchFault::kNone, false, "plain"},
      {"", BatchFault::kNone, false, ""},
      {"T:\\Frei\\Rel 1.txt", BatchFault::kNone, false, "T:\\Frei\\Rel 1.txt"},
      {"a&echo INJ>pwned.txt", BatchFault::kNone, true, "a&echo INJ>pwned.txt"},
      {"a|b", BatchFault::kNone, true, "a|b"},
      {"<in", BatchFault::kNone, true, "<in"},
      {"x^y", BatchFault::kNone, true, "x^y"},
      {"(a)", BatchFault::kNone, true, "(a)"},
      {"100%PATH%", BatchFault::kNone, true, "100%%PATH%%"},
      {"%%", BatchFault::kNone, true, "%%%%"},
      {"!PATH!", BatchFault::kNone, false, "!PATH!"},
      {"a\tb", BatchFault::kNone, false, "a\tb"},
      {"Müller Grübming ßé"_cp, BatchFault::kNone, false, "Müller Grübming ßé"_cp},
      {"Rel\"&echo INJ>pwned.txt&\".txt", BatchFault::kQuote, true, ""},
      {"\"", BatchFault::kQuote, false, ""},
      {"a\r\nb", BatchFault::kLineBreak, false, ""},
      {"a\nb", BatchFault::kLineBreak, false, ""},
      {"a\rb", BatchFault::kLineBreak, false, ""},
      {std::string("a\0b", 3), BatchFault::kControl, false, ""},
      {"a\x1a", BatchFault::kControl, false, ""},
  };
  for (const BatchCase& c : cases) {
    EXPECT_EQ(FindBatchFault(c.value), c.fault) << Cp1252ToUtf8(c.value);
    EXPECT_EQ(NeedsBatchQuotes(c.value), c.quoted) << Cp1252ToUtf8(c.value);
    if (c.fault == BatchFault::kNone) {
      EXPECT_EQ(EscapeBatchPercent(c.value), c.written) << Cp1252ToUtf8(c.value);
    }
  }
}

TEST(BatchText, LineLengthCountsDoubledPercentsAndTheRestOfTheLine) {
  EXPECT_EQ(FindBatchFault(std::string(kMaxBatchLine, 'a')), BatchFault::kNone);
  EXPECT_EQ(FindBatchFault(std::string(kMaxBatchLine, 'a'), 1), BatchFault::kTooLong);
  EXPECT_EQ(FindBatchFault(std::string(kMaxBatchLine / 2 + 1, '%')), BatchFault::kTooLong);
  EXPECT_EQ(FindBatchFault(std::string(100, 'a'), kMaxBatchLine - 100), BatchFault::kNone);
}

// A value expanded into a command line outside quotes (the call line's %KolpVers%).
TEST(BatchText, CommandLineValuesHoldNothingCmdActsOn) {
  const std::tuple<std::string, bool, BatchFault> cases[] = {
      {"046", true, BatchFault::kNone},
      {"4.6b", true, BatchFault::kNone},
      {"", true, BatchFault::kNone},
      {"046&echo INJ>pwned.txt&rem", true, BatchFault::kCommand},
      {"a|b", false, BatchFault::kCommand},
      {"a<b", false, BatchFault::kCommand},
      {"a>b", false, BatchFault::kCommand},
      {"a^b", false, BatchFault::kCommand},
      {"(a", false, BatchFault::kCommand},
      {"a)", false, BatchFault::kCommand},
      {"50%Rabatt", false, BatchFault::kCommand},
      {"!x!", false, BatchFault::kCommand},
      {"a\"b", false, BatchFault::kQuote},
      {"a\nb", false, BatchFault::kLineBreak},
      {"a\x01", false, BatchFault::kControl},
      {"04 6", true, BatchFault::kCommand},
      {"04\t6", true, BatchFault::kCommand},
      {"04,6", true, BatchFault::kCommand},
      {"04;6", true, BatchFault::kCommand},
      {"04=6", true, BatchFault::kCommand},
      {"I:\\Series Tools,1;2=3", false, BatchFault::kNone},
  };
  for (const auto& [value, splitsWords, fault] : cases) {
    EXPECT_EQ(FindCommandLineFault(value, splitsWords), fault) << value;
  }
}

// SET prints its help for an argument holding "/?", quoted or not, and sets nothing; a
// value for another program's argument may hold it.
TEST(BatchText, SetValuesWithTheHelpSwitchAreRefused) {
  const std::tuple<std::string, BatchFault, BatchFault> cases[] = {
      {"/?", BatchFault::kHelp, BatchFault::kNone},
      {"07/?", BatchFault::kHelp, BatchFault::kNone},
      {"a /? b", BatchFault::kHelp, BatchFault::kNone},
      {"T:\\a&b/?", BatchFault::kHelp, BatchFault::kNone},
      {"/", BatchFault::kNone, BatchFault::kNone},
      {"?/", BatchFault::kNone, BatchFault::kNone},
      {"/ ?", BatchFault::kNone, BatchFault::kNone},
      {"T:\\Frei/x?", BatchFault::kNone, BatchFault::kNone},
      {"a\"/?", BatchFault::kQuote, BatchFault::kQuote},
  };
  for (const auto& [value, setFault, fault] : cases) {
    EXPECT_EQ(FindSetValueFault(value), setFault) << value;
    EXPECT_EQ(FindBatchFault(value), fault) << value;
  }
  EXPECT_EQ(RefusedBatchValueText("IndexECUM", "07/?", BatchFault::kHelp, "ParaSerie.bat"),
            "Der Wert für IndexECUM enthält \"/?\", bei dem SET seine Hilfe zeigt, statt die "
            "Variable zu setzen und kann nicht in ParaSerie.bat geschrieben werden: >07/?<"_cp);
}

TEST(BatchText, RefusalNamesTheVariableTheFileAndTheValue) {
  EXPECT_EQ(RefusedBatchValueText("FileBasis", "Rel\"x", BatchFault::kQuote, "ParaSerie.bat"),
            "Der Wert für FileBasis enthält ein Anführungszeichen und kann nicht in "
            "ParaSerie.bat geschrieben werden: >Rel\"x<"_cp);
  EXPECT_EQ(RefusedBatchValueText("pro_50", "a\r\nb\x1a", BatchFault::kLineBreak, "Tarvell.Bat"),
            "Der Wert für pro_50 enthält einen Zeilenumbruch und kann nicht in Tarvell.Bat "
            "geschrieben werden: >a{13}{10}b{26}<"_cp);
  const std::string shown =
      RefusedBatchValueText("X", std::string(9000, 'a'), BatchFault::kTooLong, "ParaSerie.bat");
  EXPECT_NE(shown.find("ist länger, als eine Zeile sein darf (8191 Zeichen)"_cp), std::string::npos)
      << shown;
  EXPECT_NE(shown.find(">" + std::string(200, 'a') + "...<"), std::string::npos) << shown;
}

}  // namespace
}  // namespace quenda
