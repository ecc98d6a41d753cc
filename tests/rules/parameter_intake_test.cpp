#include "rules/parameter_intake.h"

#include <gtest/gtest.h>

#include "base/error.h"
#include "platform/atomic_file.h"
#include "platform/files.h"
#include "session/session.h"
#include "support/flow_site.h"
#include "table/record_set.h"

namespace quenda {
namespace {

using testing::ConfigHeader;
using testing::ConfigRow;
using testing::FieldPlaceholder;
using testing::SessionFixture;

// A job with the fields A = "x" and B = "y" and a customer table Config_012.csv.
class IntakeSite {
 public:
  explicit IntakeSite(const std::string& answers = {}) : f(answers) {
    f.dir.Write("job.xml", testing::FlowJob({{"A", "x"}, {"B", "y"}}));
    job = f.dir.File("job.xml");
    config = f.dir.File("Config_012.csv");
  }

  std::string Run(const std::string& rows, AtomicFile* reference = nullptr) {
    f.dir.Write("Config_012.csv", ConfigHeader() + rows);
    return ParameterIntake(f.S(), job, config, kSelectionMarkColumn, reference);
  }

  std::string Row(int row) {
    std::string out;
    for (int c = 0; c <= ParamTable::kValue; ++c) out += f.S().params.At(row, c) + "|";
    return out;
  }

  SessionFixture f;
  std::string job;
  std::string config;
};

TEST(ParameterIntake, StoresMarkedRowsTrimmedWithTheirValues) {
  IntakeSite t;
  const std::string rows = ConfigRow("P1", "*", "KV1=" + FieldPlaceholder("A")) +
                           ConfigRow("P2", " * ", "  none  ") + ConfigRow("NO1", "x", "KV1=z") +
                           ConfigRow("NO2", "**", "KV1=z") + ConfigRow("NO3", "", "KV1=z") +
                           ConfigRow("P3", "*", "ADDS=' a '", " * ");
  EXPECT_EQ(t.Run(rows), "3");
  EXPECT_EQ(t.f.S().params.RowCounter, 3);
  EXPECT_EQ(t.Row(0),
            "P1|desc P1|*|cnt|lab|1|fmt|dum|dab P1|KV1=" + FieldPlaceholder("A") + "|r1|r2||x|");
  EXPECT_EQ(t.Row(1), "P2|desc P2|*|cnt|lab|1|fmt|dum|dab P2|none|r1|r2|||");
  EXPECT_EQ(t.Row(2), "P3|desc P3|*|cnt|lab|1|fmt|dum|dab P3|ADDS=' a '|r1|r2|*| a |")
      << "the value is stored untrimmed";
  EXPECT_EQ(t.f.S().params.FindParameterValue(3, "NO1"), "");
}

TEST(ParameterIntake, NoMarkedRowGivesZero) {
  IntakeSite t;
  EXPECT_EQ(t.Run(ConfigRow("N", "x", "KV1=z")), "0");
  EXPECT_EQ(t.Run(""), "0");
}

TEST(ParameterIntake, LaterRulesSeeEarlierParameters) {
  IntakeSite t("button OK\n");
  t.f.dir.Write("list.txt", "x;found\r\n");
  const std::string rows = ConfigRow("KEY", "*", "KV1=" + FieldPlaceholder("A")) +
                           ConfigRow("VAL", "*", "GET={" + t.f.dir.File("list.txt") + ",KEY,1}");
  EXPECT_EQ(t.Run(rows), "2");
  EXPECT_EQ(t.f.S().params.At(1, ParamTable::kValue), "found");
}

TEST(ParameterIntake, AtMost301Rows) {
  IntakeSite t;
  std::string rows;
  for (int i = 0; i < 301; ++i) rows += ConfigRow("P" + std::to_string(i), "*", "none");
  EXPECT_EQ(t.Run(rows), "301");
  rows += ConfigRow("P301", "*", "none");
  try {
    t.Run(rows);
    FAIL() << "the 302nd row was stored";
  } catch (const Error& e) {
    EXPECT_EQ(e.Number(), kErrComposed);
    EXPECT_EQ(e.Description(), PlatformErrorText(kErrSubscript));
  }
}

TEST(ParameterIntake, FailuresNameTheirCause) {
  IntakeSite t;
  t.f.dir.Write("nofrom.xml", "<x/>");
  const std::string missing = t.f.dir.File("missing");
  struct Case {
    std::string jobFile, configFile, expected;
  } cases[] = {
      {t.job, missing, "Configuration file " + missing + " not found"},
      {missing, t.config, "Inputfile " + missing + " not found"},
      {t.f.dir.File("nofrom.xml"), t.config, "InputNode Envelope Name='FromFlow' not found"},
  };
  t.f.dir.Write("Config_012.csv", ConfigHeader());
  for (const auto& c : cases) {
    try {
      ParameterIntake(t.f.S(), c.jobFile, c.configFile, kSelectionMarkColumn);
      ADD_FAILURE() << "no error, expected " << c.expected;
    } catch (const Error& e) {
      EXPECT_EQ(e.Number(), kErrComposed);
      EXPECT_EQ(e.Description(), c.expected);
    }
  }
}

TEST(ParameterIntake, RuleErrorsAndMissingColumnsFailTheIntake) {
  IntakeSite t;
  try {
    t.Run(ConfigRow("P", "*", "CEXT=ab"));
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(e.Number(), kErrComposed);
    EXPECT_NE(e.Description().find("CEXT mit dem Argument >ab<"), std::string::npos)
        << e.Description();
  }
  t.f.dir.Write("Config_012.csv", "Field1_Name_XML;Description;Quenda;Rule\r\nP;d;*;none\r\n");
  try {
    ParameterIntake(t.f.S(), t.job, t.config, kSelectionMarkColumn);
    FAIL();
  } catch (const Error& e) {
    EXPECT_NE(e.Description().find(">CNT<"), std::string::npos) << e.Description();
  }
}

TEST(ParameterIntake, TestModeWritesTheReferenceLines) {
  IntakeSite t;
  t.f.S().job.RunMode = "T";
  t.f.S().job.ProgramTag = "quenda";
  const std::string longName(51, 'L');
  AtomicFile reference(t.f.S().files, t.f.dir.File("aktcfg_012.txt"));
  t.Run(ConfigRow("ABC", "*", "KV1=1") + ConfigRow(longName, "*", "KV1=2"), &reference);
  reference.Commit();
  EXPECT_EQ(t.f.dir.Read("aktcfg_012.txt"),
            "ABC" + std::string(47, ' ') + "1\r\n" + longName + " 2\r\n");
}

TEST(ParameterIntake, TestModeWithoutReferenceFileFails) {
  IntakeSite t;
  t.f.S().job.RunMode = "T";
  t.f.S().job.ProgramTag = "quenda";
  EXPECT_THROW(t.Run(ConfigRow("ABC", "*", "KV1=1")), Error);
}

TEST(ReferenceLine, NamePaddedToFifty) {
  const std::pair<std::string, std::string> cases[] = {
      {"ABC", "ABC" + std::string(47, ' ') + "v"},
      {std::string(50, 'n'), std::string(50, 'n') + "v"},
      {std::string(51, 'n'), std::string(51, 'n') + " v"},
      {"", std::string(50, ' ') + "v"},
  };
  for (const auto& [name, expected] : cases) {
    EXPECT_EQ(ReferenceLine(name, "v"), expected) << "name of " << name.size() << " characters";
  }
}

// The column layout is what lets a stored row be read by name: with it set, each column of
// the configuration table lands where FindParameterValue and the conservation slots look.
TEST(SetParamColumns, StoredRowsAreFoundByNameWithTheirColumns) {
  SessionFixture f;
  f.S().params.columns.fill(0);  // a layout that would pile every column onto column 0
  SetParamColumns(f.S());
  RecordSet records({"Field1_Name_XML", "Description", "Quenda", "CNT", "Label", "Array_Nr",
                     "Format", "Dummy", "Name_DAB", "Rule", "Required_for_CNT",
                     "Required_for_Quenda", "XML_Optional"});
  records.AddRecord(
      {"SWNR", "Beschreibung", "*", "", "KT_SWNR", "2", "STR", "-", "SW-Nr", "KV1=x", "", "", ""});
  StoreParameterRow(f.S(), "4711", records, 0, nullptr);
  EXPECT_EQ(f.S().params.FindParameterValue(1, "SWNR"), "4711");
  EXPECT_EQ(f.S().params.At(0, ParamTable::kLabel), "KT_SWNR");
  EXPECT_EQ(f.S().params.At(0, ParamTable::kArrayNr), "2");
  EXPECT_EQ(f.S().params.At(0, ParamTable::kNameDab), "SW-Nr");
  EXPECT_EQ(f.S().params.At(0, ParamTable::kRule), "KV1=x");
}

}  // namespace
}  // namespace quenda
