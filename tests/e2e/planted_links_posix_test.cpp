// The built program on the sample site, with the temporary folder and the release folder
// made sticky and writable by everybody, as /tmp is: another user's (uid 4242) links at the
// run log, the error file and Tarvell.Bat leave what they point to unchanged, and --report at
// a FIFO is refused. Run as root.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "support/run_binary.h"
#include "support/sample_site.h"

namespace fs = std::filesystem;

namespace quenda {
namespace {

using testing::SampleSite;

const std::string kVictim = "geheim\r\n";

// Makes `relative` a sticky folder everybody may write to.
void Share(const SampleSite& site, const std::string& relative) {
  ASSERT_EQ(chmod(site.Path(relative).c_str(), 01777), 0) << relative;
}

// Plants at `relative` a link owned by `owner` to the site file `target`.
void PlantLink(const SampleSite& site, const std::string& relative, const std::string& target,
               uid_t owner) {
  std::error_code ec;
  fs::remove(site.Path(relative), ec);
  ASSERT_EQ(symlink(site.Path(target).c_str(), site.Path(relative).c_str()), 0) << relative;
  ASSERT_EQ(lchown(site.Path(relative).c_str(), owner, owner), 0) << relative;
}

testing::RunResult RunWithReport(SampleSite& site, const std::string& report) {
  std::string answers;
  for (const std::string& a : SampleSite::SampleAnswers()) answers += a + "\n";
  site.Write("answers.txt", answers);
  return testing::RunQuenda({"--headless", "--program-dir", site.Path("site/program"), "--answers",
                             site.Path("answers.txt"), "--report", site.Path(report), "--",
                             SampleSite::SampleCommandLine()},
                            site.Path("run"));
}

TEST(PlantedLinksE2e, AnotherUsersLinksAndAFifoReportLeaveTheirTargetsUnchanged) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to plant as a second user (uid 4242)";
  SampleSite site;
  const std::string central = site.Read(testing::kTarvell);
  site.Write("victim.log", kVictim);
  site.Write("victim.err", kVictim);
  site.Write("central.bat", central);
  Share(site, "tmp");
  Share(site, "site/shares/u/Freigaben");
  PlantLink(site, "tmp/RizaZizi.log", "victim.log", 4242);
  PlantLink(site, "tmp/SG_4711.err", "victim.err", 4242);
  PlantLink(site, testing::kTarvell, "central.bat", 4242);
  ASSERT_EQ(mkfifo(site.Path("run/report.fifo").c_str(), 0666), 0);

  const testing::RunResult run = RunWithReport(site, "run/report.fifo");

  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_EQ(site.Read("victim.log"), kVictim);
  EXPECT_EQ(site.Read("victim.err"), kVictim);
  EXPECT_EQ(site.Read("central.bat"), central);
  struct stat report {};
  ASSERT_EQ(lstat(site.Path("run/report.fifo").c_str(), &report), 0);
  EXPECT_TRUE(S_ISFIFO(report.st_mode)) << "the FIFO stays a FIFO";
  EXPECT_NE(run.err.find(site.Path("run/report.fifo") + " ist keine gewöhnliche Datei"),
            std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find("SG_4711.err ist eine symbolische Verknüpfung eines anderen Benutzers"),
            std::string::npos)
      << run.err;
  // The run took a log of its own and said why; the release stopped at Tarvell.Bat.
  const std::string log = site.Read("run/RizaZizi.log");
  EXPECT_NE(log.find("RizaZizi.log ist eine symbolische Verkn\xFCpfung"), std::string::npos) << log;
  EXPECT_NE(log.find("Tarvell.Bat wurde nicht geschrieben und ist unver\xE4ndert: Zugriff "
                     "verweigert: U:\\Freigaben\\Tarvell.Bat ist eine symbolische Verkn\xFCpfung"),
            std::string::npos)
      << log;
}

}  // namespace
}  // namespace quenda
