// One rule for every line file: a value holding a line break, a control character or a code
// CP1252 leaves undefined is refused by each writer before it writes the line, naming the
// parameter and the file; letters and signs of 80-9F (€, „) and tabs pass as they are.
#include "base/line_value.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/error.h"
#include "conservation/conservation_block.h"
#include "conservation/conservation_fixture.h"
#include "conservation/data_version_dab.h"
#include "platform/atomic_file.h"
#include "rules/parameter_intake.h"
#include "table/record_set.h"
#include "text/cp1252.h"
#include "text/line_text.h"

namespace quenda {
namespace {

using testing::ConservationFixture;

struct LineCase {
  const char* name;
  std::string value;
  int code;  // the refused code, -1 when the value passes
};

const LineCase kLineCases[] = {
    {"LineFeed", "Mueller\nHEX-Datei = x.hex", 10},
    {"Nul", std::string("Mu\0ller", 7), 0},
    {"Undefined81", "Mu\x81ller", 129},
    {"EuroAndTab", "100 \x80\t\x84", -1},
};

// `write` refuses a value that cannot stand in a line, naming the parameter, the code and
// the file and showing the value by its codes; it passes any other value.
template <typename Write>
void ExpectRefusal(Write write, const LineCase& c, const std::string& what, const std::string& file,
                   const std::string& value) {
  std::string refusal;
  try {
    write();
  } catch (const Error& e) {
    EXPECT_EQ(e.Number(), kErrComposed);
    refusal = e.Description();
  }
  const std::string expected = c.code < 0 ? "" : "Der Wert von " + what + " enth\xE4lt ";
  EXPECT_EQ(refusal.substr(0, expected.size()), expected) << c.name << Cp1252ToUtf8(refusal);
  if (c.code >= 0) {
    EXPECT_NE(refusal.find("(Code " + std::to_string(c.code) + ") und kann nicht in " + file +
                           " geschrieben werden: >" + ShowCodes(value) + "<"),
              std::string::npos)
        << c.name << ": " << Cp1252ToUtf8(refusal);
  }
}

class LineValues : public ::testing::TestWithParam<LineCase> {};

TEST_P(LineValues, DabLineOfTheDataVersion) {
  const LineCase& c = GetParam();
  ConservationFixture f;
  f.WriteShare("proj/kunde/PRJ_A_01.dab", "PRO = PRJ_A\r\n");
  Session& s = f.S();
  s.params.At(0, ParamTable::kName) = "DataVersion";
  s.params.At(0, ParamTable::kValue) = "02";
  s.params.At(1, ParamTable::kName) = "KundeName";
  s.params.At(1, ParamTable::kNameDab) = "KUNDE";
  s.params.At(1, ParamTable::kValue) = c.value;
  s.state.izeile = 2;
  ExpectRefusal([&] { AppendDabFile(s, "T:\\proj\\kunde\\PRJ_A_01.dab"); }, c, "KundeName",
                "T:\\proj\\kunde\\PRJ_A_02.dab", c.value);
  const std::string dab =
      f.ShareHas("proj/kunde/PRJ_A_02.dab") ? f.ReadShare("proj/kunde/PRJ_A_02.dab") : "";
  EXPECT_EQ(dab.find("\r\nKUNDE = " + c.value + "\r\n") != std::string::npos, c.code < 0) << c.name;
}

TEST_P(LineValues, ConservationBlocksAndTheirComment) {
  const LineCase& c = GetParam();
  ConservationFixture f;
  const std::string comment = "* Konserve f\xFCr KW_KUNDE mit Wert >" + c.value + "<";
  const std::tuple<std::string, std::string, std::string> blocks[] = {
      {"KTX", "", " TEXT    '" + c.value + "'"}, {"KWB", "STR", comment}, {"FKL", "STR", comment}};
  for (const auto& [kind, format, line] : blocks) {
    ConservationFile file{"T:\\k\\MX21K47_02s.kon", {}};
    ExpectRefusal([&] { WriteConservationBlock(f.S(), file, "KW_KUNDE", c.value, kind, format); },
                  c, "KW_KUNDE", file.path, c.value);
    EXPECT_EQ(std::find(file.lines.begin(), file.lines.end(), line) != file.lines.end(), c.code < 0)
        << c.name << " " << kind;
  }
  ConservationFile file{"T:\\k\\MX21K47_02s.kon", {}};
  const std::string label = "KT_" + c.value;
  ExpectRefusal([&] { WriteConservationBlock(f.S(), file, label, "x", "KTX", ""); }, c,
                ShowCodes(label), file.path, label);
}

TEST_P(LineValues, ReferenceConfigurationOfTestMode) {
  const LineCase& c = GetParam();
  ConservationFixture f;
  Session& s = f.S();
  s.job.RunMode = "T";
  s.job.ProgramTag = "quenda";
  s.job.CfgConfiguration = "012";
  s.site.ToolsShareRoot = "T:\\tools";
  std::filesystem::create_directories(f.dir.Path() / "share/tools/TOOLS/Quenda/Cfg_Ref");
  const std::string path = ReferenceFilePath(s);
  RecordSet records({kStoredParameterColumns.begin(), kStoredParameterColumns.end()});
  records.AddRecord({"KundeName", "", "*", "", "", "", "", "", "", "", "", "", ""});
  {
    AtomicFile reference(s.files, path);
    ExpectRefusal([&] { StoreParameterRow(s, c.value, records, 0, &reference); }, c, "KundeName",
                  path, c.value);
    reference.Commit();
  }
  EXPECT_EQ(f.ReadShare("tools/TOOLS/Quenda/Cfg_Ref/aktcfg_012.txt"),
            c.code >= 0 ? "" : ReferenceLine("KundeName", c.value) + "\r\n")
      << c.name;
}

TEST_P(LineValues, LogLineStaysOneLineWithTheCodesShown) {
  const LineCase& c = GetParam();
  ConservationFixture f;
  f.S().WriteLogLine("Kunde >" + c.value + "<");
  EXPECT_EQ(
      f.LogLines(),
      std::vector<std::string>{"Kunde >" + (c.code >= 0 ? ShowCodes(c.value) : c.value) + "<"})
      << c.name;
}

INSTANTIATE_TEST_SUITE_P(Table, LineValues, ::testing::ValuesIn(kLineCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quenda
