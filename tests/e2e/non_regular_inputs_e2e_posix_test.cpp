// The built program on the sample site with a FIFO in place of an input: each run ends at
// once with a German message naming the file, and --check-config says what the run says.
// The FIFO has no writer, so a program that opened it for reading would wait for ever.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "support/sample_site.h"
#include "text/cp1252.h"

namespace quenda {
namespace {

using testing::kConfig012;
using testing::RunQuenda;
using testing::SampleSite;

const std::string kWerke = "site/shares/tools/TOOLS/Quenda/Listen/Werke.csv";
const std::string kOsp = std::string(testing::kProject) + "makeout/Damos/MX21K47_01.osp";
const std::string kNotRegular = " ist keine gewöhnliche Datei";  // UTF-8

void MakeFifo(SampleSite& s, const std::string& relative) {
  if (s.Has(relative)) s.Remove(relative);
  ASSERT_EQ(::mkfifo(s.Path(relative).c_str(), 0600), 0) << relative;
}

// What a run showed and logged, UTF-8, with the transcript's JSON escapes of "\" undone.
std::string Seen(const SampleSite& s) {
  std::string dialogs = s.Has("run/dialogs.jsonl") ? s.Read("run/dialogs.jsonl") : "";
  for (std::size_t at = 0; (at = dialogs.find("\\\\", at)) != std::string::npos; ++at) {
    dialogs.erase(at, 1);
  }
  return dialogs + Cp1252ToUtf8(s.Has("run/RizaZizi.log") ? s.Read("run/RizaZizi.log") : "");
}

TEST(NonRegularInputsE2e, ARunEndsNamingTheFifo) {
  const struct {
    const char* name;
    std::string file;
    std::vector<std::string> answers;
    std::string named;  // the path the message names
  } cases[] = {
      {"list file",
       kWerke,
       {"text V2", "button Yes"},
       "\\\\quenda-fs\\tools\\TOOLS\\Quenda\\Listen\\Werke.csv"},
      {"object store",
       kOsp,
       {"text V2", "button Yes", "button OK", "text GRB", "button OK"},
       "t:\\edc21\\mx21k47\\makeout\\damos\\mx21k47_01.osp"},
      {"customer table",
       kConfig012,
       {},
       "\\\\quenda-fs\\tools\\TOOLS\\Kolpator\\Data\\Config_012.csv"},
  };
  for (const auto& c : cases) {
    SampleSite s;
    MakeFifo(s, c.file);
    const testing::RunResult r = s.Run(c.answers);
    EXPECT_EQ(r.status, 1) << c.name << "\n" << r.err;
    EXPECT_NE(Seen(s).find(c.named + kNotRegular), std::string::npos) << c.name << "\n" << Seen(s);
  }
}

TEST(NonRegularInputsE2e, CheckConfigNamesTheFifoListFileAsTheRunDoes) {
  SampleSite s;
  MakeFifo(s, kWerke);
  const testing::RunResult r =
      RunQuenda({"--check-config", "--program-dir", s.Path("site/program")}, s.Path("run"));
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_NE(r.out.find("\\\\quenda-fs\\tools\\TOOLS\\Quenda\\Listen\\Werke.csv" + kNotRegular),
            std::string::npos)
      << r.out;
  EXPECT_EQ(r.out.find("gibt es nicht"), std::string::npos) << r.out;
}

}  // namespace
}  // namespace quenda
