#include "platform/command_line.h"

#include <gtest/gtest.h>

namespace quenda {
namespace {

TEST(CommandLineTail, KeepsTheTextAfterProgramAndOptionsAsTyped) {
  struct Case {
    std::string line;
    std::size_t skip;
    std::string tail;
  };
  const Case cases[] = {
      {"quenda.exe T:\\003\\Flow\\Transfer\\job.xml,7,P", 0,
       "T:\\003\\Flow\\Transfer\\job.xml,7,P"},
      {"\"C:\\Program Files\\Quenda\\quenda.exe\" \"x|42|0\"", 0, "\"x|42|0\""},
      {"quenda.exe   \"eins  zwei|drei\"  ", 0, "\"eins  zwei|drei\"  "},
      {"quenda.exe --headless -- \"x|42|0\"", 2, "\"x|42|0\""},
      {"q.exe --program-dir \"C:\\a b\" --answers a.txt -- a,7,P", 5, "a,7,P"},
      {"q.exe --program-dir \"C:\\a b\\\\\" -- x", 3, "x"},
      {"q.exe --transcript \"a\\\"b c\" -- x", 3, "x"},
      {"q.exe --headless", 1, ""},
      {"q.exe", 0, ""},
      {"q.exe --headless", 4, ""},
      {"\"C:\\x y\\q.exe\"", 0, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CommandLineTail(c.line, c.skip), c.tail) << c.line << " skipping " << c.skip;
  }
}

TEST(ProgramCommandText, WordsAfterTheOptionsFormTheText) {
#ifdef _WIN32
  GTEST_SKIP() << "on Windows the text comes from the process's own command line";
#endif
  EXPECT_EQ(ProgramCommandText(2, {"\"eins", "zwei|drei\""}), "\"eins zwei|drei\"");
  EXPECT_EQ(ProgramCommandText(0, {"Pr\xC3\xBC"
                                   "fung"}),
            "Pr\xFC"
            "fung")
      << "UTF-8 to CP1252";
  EXPECT_EQ(ProgramCommandText(0, {}), "");
}

}  // namespace
}  // namespace quenda
