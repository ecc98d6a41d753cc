// The built program on the sample site with sticky folders writable by everybody (as /tmp):
// another user's links at the run log and Tarvell.Bat leave their targets unchanged, and
// --report at a FIFO is refused.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "support/sample_site.h"

namespace quenda {
namespace {

TEST(PlantedLinksE2e, AnotherUsersLinksAndAFifoReportLeaveTheirTargetsUnchanged) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to plant as a second user (uid 4242)";
  testing::SampleSite site;
  const std::string central = site.Read(testing::kTarvell);
  site.Write("victim.log", "geheim\r\n");
  site.Write("central.bat", central);
  for (const char* shared : {"tmp", "site/shares/u/Freigaben"}) {
    ASSERT_EQ(chmod(site.Path(shared).c_str(), 01777), 0) << shared;
  }
  site.Remove(testing::kTarvell);
  for (const auto& [name, target] :
       {std::pair<std::string, std::string>{"tmp/RizaZizi.log", "victim.log"},
        {testing::kTarvell, "central.bat"}}) {
    ASSERT_EQ(symlink(site.Path(target).c_str(), site.Path(name).c_str()), 0) << name;
    ASSERT_EQ(lchown(site.Path(name).c_str(), 4242, 4242), 0) << name;
  }

  ASSERT_EQ(mkfifo(site.Path("run/report.fifo").c_str(), 0666), 0);
  std::string answers;
  for (const std::string& a : testing::SampleSite::SampleAnswers()) answers += a + "\n";
  site.Write("answers.txt", answers);
  const testing::RunResult run =
      testing::RunQuenda({"--headless", "--program-dir", site.Path("site/program"), "--answers",
                          site.Path("answers.txt"), "--report", site.Path("run/report.fifo"), "--",
                          testing::SampleSite::SampleCommandLine()},
                         site.Path("run"));

  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_EQ(site.Read("victim.log"), "geheim\r\n");
  EXPECT_EQ(site.Read("central.bat"), central);
  EXPECT_NE(run.err.find(site.Path("run/report.fifo") + " ist keine gewöhnliche Datei"),
            std::string::npos)
      << run.err;
  EXPECT_NE(site.Read("run/RizaZizi.log")
                .find("Tarvell.Bat wurde nicht geschrieben und ist unver\xE4ndert: Zugriff "
                      "verweigert: U:\\Freigaben\\Tarvell.Bat ist eine symbolische Verkn\xFCpfung"),
            std::string::npos);
}

}  // namespace
}  // namespace quenda
