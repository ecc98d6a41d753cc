#include "audit/batch_audit.h"

#include <gtest/gtest.h>

namespace quenda::audit {
namespace {

struct VariableCase {
  std::string bytes, name, value;
};

TEST(BatchVariables, ReadAsCmdReadsTheSetLines) {
  const VariableCase cases[] = {
      {"SET A=x\r\n", "A", "x"},
      {"SET A=x \r\n", "A", "x "},
      {"SET A=\r\n", "A", ""},
      {"SET \"A=x y\" rest\r\n", "A", "x y"},
      {"SET \"A=a&b\"\r\n", "A", "a&b"},
      {"SET A=100%%\r\n", "A", "100%"},
      {"SET A=1\r\nSET B=%A%2\r\n", "B", "12"},
      {"set a=1\r\nSET B=%A%\r\n", "B", "1"},
      {"SET B=%UNBEKANNT%x\r\n", "B", "x"},
      {"SET A=a^&b\r\n", "A", "a&b"},
      {"SET A=a&echo b\r\n", "A", "a"},
      {"SET A=\"x&y\"\r\n", "A", "\"x&y\""},
      {"SET A=%%KolpVers%%\r\n", "A", "%KolpVers%"},
      {"SET A=1\nSET A=2", "A", "2"},
  };
  for (const VariableCase& c : cases) {
    const auto vars = BatchVariables(c.bytes);
    const auto it = vars.find(c.name);
    ASSERT_NE(it, vars.end()) << c.bytes;
    EXPECT_EQ(it->second, c.value) << c.bytes;
  }
}

TEST(BatchVariables, LinesThatSetNothing) {
  for (const std::string bytes : {"echo SET A=1\r\n", "SET =1\r\n", "SETA=1\r\n", "SET A\r\n"}) {
    EXPECT_TRUE(BatchVariables(bytes).empty()) << bytes;
  }
}

TEST(ExpandBatchLine, PercentSignsAsCmdExpandsThem) {
  const std::map<std::string, std::string> vars = {{"KOLPVERS", "046"}};
  const std::pair<std::string, std::string> cases[] = {
      {"call X\\%KolpVers%\\T.bat %1 ", "call X\\046\\T.bat %1 "},
      {"%kolpvers%", "046"},
      {"100%%", "100%"},
      {"%%KolpVers%%", "%KolpVers%"},
      {"%NIX%a", "a"},
      {"50% x", "50 x"},
  };
  for (const auto& [line, expanded] : cases)
    EXPECT_EQ(ExpandBatchLine(line, vars), expanded) << line;
}

ReleaseReport Report(const std::string& ba) {
  ReleaseReport r;
  r.ba = ba;
  r.customerGroup = "003";
  return r;
}

TEST(AuditCollectionBatch, EntryOnceAndWhole) {
  const std::string dab = "T:\\K\\P_02.dab";
  const std::string entry = "Tarvell.exe \"T:\\K\\P_02.dab||12|003|PRJ\"\r\n";
  const struct {
    std::string bytes;
    int findings;
  } cases[] = {
      {entry, 0},
      {"Tarvell.exe \"T:\\K\\P_01.dab||1|003|PRJ\"\r\n" + entry, 0},
      {entry + entry, 1},
      {"", 1},
      {"Tarvell.exe \"T:\\K\\P_02.dab||12|003|PRJ\r\n", 1},
      {"Tarvell.exe \"T:\\K\\P_02.dab||12||PRJ|\"\r\n", 1},
  };
  for (const auto& c : cases) {
    AuditLog log;
    AuditCollectionBatch(Report("001"), "U:\\Tarvell.Bat", c.bytes, dab, log);
    EXPECT_EQ(log.FindingCount(), c.findings) << c.bytes;
  }
}

}  // namespace
}  // namespace quenda::audit
