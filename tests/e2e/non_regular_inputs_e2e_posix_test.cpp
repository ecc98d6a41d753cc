// The built program on the sample site with a FIFO in place of the list file: the run ends
// at once naming the file, and --check-config says what the run says. The FIFO has no
// writer, so a program that opened it for reading would wait for ever.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "support/sample_site.h"

namespace quenda {
namespace {

TEST(NonRegularInputsE2e, RunAndCheckConfigNameTheFifoListFile) {
  testing::SampleSite s;
  const std::string werke = "site/shares/tools/TOOLS/Quenda/Listen/Werke.csv";
  const std::string named =
      "\\\\quenda-fs\\tools\\TOOLS\\Quenda\\Listen\\Werke.csv ist keine gewöhnliche Datei";
  s.Remove(werke);
  ASSERT_EQ(::mkfifo(s.Path(werke).c_str(), 0600), 0);

  const testing::RunResult check = testing::RunQuenda(
      {"--check-config", "--program-dir", s.Path("site/program")}, s.Path("run"));
  EXPECT_EQ(check.status, 1) << check.err;
  EXPECT_NE(check.out.find(named), std::string::npos) << check.out;
  EXPECT_EQ(check.out.find("gibt es nicht"), std::string::npos) << check.out;

  const testing::RunResult run = s.Run({"text V2", "button Yes"});
  EXPECT_EQ(run.status, 1) << run.err;
  std::string shown = s.Read("run/dialogs.jsonl");  // "\" written as "\\" in JSON
  for (std::size_t at = 0; (at = shown.find("\\\\", at)) != std::string::npos; ++at) {
    shown.erase(at, 1);
  }
  EXPECT_NE(shown.find(named), std::string::npos) << shown;
}

}  // namespace
}  // namespace quenda
