#include "table/cls_lib.h"

#include <gtest/gtest.h>

#include "base/error.h"
#include "platform/files.h"
#include "support/fake_system.h"

namespace quenda {
namespace {

using testing::TempDir;

std::string Dump(RecordSet& rs) {
  std::string out;
  for (const auto& name : rs.ColumnNames()) out += "[" + name + "]";
  for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
    out += "\n";
    for (int i = 0; i < rs.ColumnCount(); ++i) out += "<" + rs.Value(i) + ">";
  }
  return out;
}

TEST(GetTextStreamAsRecordSet, ReadsFiles) {
  struct Case {
    std::string content;
    std::string delimiter;
    bool header;
    std::string expected;
  } cases[] = {
      {"A;B\r\n1;2\r\n", ";", true, "[A][B]\n<1><2>"},
      {"A;B", ";", true, "[A][B]"},  // header only: no records
      {" A ;B\r\n 1 ; 2 \r\n", ";", true, "[ A ][B]\n< 1 >< 2 >"},
      {"a;b\r\nc;d\r\ne;f\r\n", ";", false, "[FIELD_1][FIELD_2]\n<a><b>\n<c><d>\n<e><f>"},
      {"A;B;C\n1\n\n;;x\n", ";", true, "[A][B][C]\n<1><><>\n<><><>\n<><><x>"},
      {"A;B\r\nx;y\r\n", "", true, "[A;B]\n<x;y>"},  // empty delimiter: whole lines
      {"A||B\r\n1||2\r\n1|2\r\n", "||", true, "[A][B]\n<1><2>\n<1|2><>"},
  };
  for (const auto& c : cases) {
    TempDir dir;
    dir.Write("t.csv", c.content);
    Files files;
    RecordSet rs = clsLib(files).GetTextStreamAsRecordSet(dir.File("t.csv"), c.delimiter, c.header);
    EXPECT_EQ(Dump(rs), c.expected)
        << "content >" << c.content << "< delimiter >" << c.delimiter << "<";
  }
}

TEST(GetTextStreamAsRecordSet, LastRecordIsCurrentAfterReading) {
  TempDir dir;
  dir.Write("t.csv", "A\r\n1\r\n2\r\n");
  Files files;
  RecordSet rs = clsLib(files).GetTextStreamAsRecordSet(dir.File("t.csv"), ";", true);
  EXPECT_EQ(rs.Value("A"), "2");
}

TEST(GetTextStreamAsRecordSet, Failures) {
  TempDir dir;
  dir.Write("empty.csv", "");
  dir.Write("wide.csv", "A;B\r\n1;2\r\n1;2;3\r\n");
  Files files;
  const clsLib lib(files);
  struct Case {
    std::string file;
    std::string expected;
  } cases[] = {
      {dir.File("missing.csv"), "File not found : " + dir.File("missing.csv")},
      {dir.File("empty.csv"), "File empty : " + dir.File("empty.csv")},
      {dir.File("wide.csv"),
       "GetTextStreamAsRecordSet : 3265 Zeile 3: 3 Felder, aber nur 2 "
       "Spalten (" +
           dir.File("wide.csv") + ")"},
  };
  for (const auto& c : cases) {
    try {
      lib.GetTextStreamAsRecordSet(c.file, ";", true);
      ADD_FAILURE() << "no error for " << c.file;
    } catch (const Error& e) {
      EXPECT_EQ(e.Number(), kErrComposed) << c.file;
      EXPECT_EQ(e.Source(), "GetTextStreamAsRecordSet") << c.file;
      EXPECT_EQ(e.Description(), c.expected) << c.file;
    }
  }
}

// The check reads through the same reader: each line that does not fit is reported with
// its line and left out, the other records keep their lines.
TEST(ReadTextTable, ReportsEveryLineThatDoesNotFitAndKeepsTheOthers) {
  TempDir dir;
  dir.Write("wide.csv", "A;B\r\n1;2\r\n1;2;3\r\n\r\n4;5;6;7\r\n8\r\n");
  Files files;
  std::vector<TextTableProblem> problems;
  std::optional<RecordSet> rs =
      clsLib(files).ReadTextTable(dir.File("wide.csv"), ";", true, problems);
  ASSERT_TRUE(rs.has_value());
  ASSERT_EQ(problems.size(), 2u);
  EXPECT_EQ(problems[0].line, 3);
  EXPECT_EQ(problems[0].error.Description(), "3 Felder, aber nur 2 Spalten");
  EXPECT_EQ(problems[1].line, 5);
  std::vector<int> lines;
  for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) lines.push_back(rs->CurrentLine());
  EXPECT_EQ(lines, (std::vector<int>{2, 4, 6}));
}

TEST(ReadTextTable, MissingAndEmptyFilesGiveNoRecordSet) {
  TempDir dir;
  dir.Write("empty.csv", "");
  Files files;
  for (const std::string name : {"missing.csv", "empty.csv"}) {
    std::vector<TextTableProblem> problems;
    EXPECT_FALSE(clsLib(files).ReadTextTable(dir.File(name), ";", true, problems)) << name;
    ASSERT_EQ(problems.size(), 1u) << name;
    EXPECT_EQ(problems[0].line, 1) << name;
    EXPECT_EQ(problems[0].error.Number(), kErrComposed) << name;
  }
}

}  // namespace
}  // namespace quenda
