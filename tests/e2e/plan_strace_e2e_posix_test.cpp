// Under strace, a plan of the sample job opens no file for writing but the plan, the run log
// (its file in the temporary folder, its copy in the working folder) and the trace of the
// command line, and creates, renames or removes nothing else.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <regex>

#include "support/sample_site.h"

namespace quenda {
namespace {

using testing::SampleSite;

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

TEST(PlanStraceE2e, APlanWritesOnlyThePlanTheLogAndTheTrace) {
  if (std::system("strace -o /dev/null true >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "strace cannot trace here";
  }
  SampleSite site;
  std::string answers;
  for (const std::string& a : SampleSite::SampleAnswers()) answers += a + "\n";
  site.Write("answers.txt", answers);
  const std::string trace = site.Path("trace.txt");
  // The leak check of an instrumented build cannot run under a tracer; the trace is the point.
  const std::string command = "cd " + Quoted(site.Path("run")) +
                              " && ASAN_OPTIONS=detect_leaks=0 strace -f -e trace=%file,%desc -o " +
                              Quoted(trace) + " " + Quoted(QUENDA_BINARY) + " --plan " +
                              Quoted(site.Path("run/p.json")) + " --headless --program-dir " +
                              Quoted(site.Path("site/program")) + " --answers " +
                              Quoted(site.Path("answers.txt")) + " -- " +
                              Quoted(SampleSite::SampleCommandLine()) + " >/dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  // A path opened for writing or creating, renamed, removed or made a folder.
  const std::regex written(
      R"re((?:open(?:at)?\(.*"([^"]+)".*(?:O_WRONLY|O_RDWR|O_CREAT))|(?:(?:rename(?:at2?)?|unlink(?:at)?|mkdir(?:at)?)\(.*?"([^"]+)"))re");
  const std::regex allowed(
      R"(/run/(\.?p\.json[.tmp0-9]*|\.?RizaZizi\.log[.tmp0-9]*)$|/tmp/RizaZizi\.log$|/home/\.?xx\.txt[.tmp0-9]*$|^\.?RizaZizi\.log[.tmp0-9]*$)");
  std::ifstream lines(trace);
  std::vector<std::string> refused;
  std::size_t seen = 0;
  for (std::string line; std::getline(lines, line);) {
    std::smatch m;
    if (!std::regex_search(line, m, written) || line.find("= -1") != std::string::npos) continue;
    const std::string path = m[1].matched ? m[1].str() : m[2].str();
    ++seen;
    if (path.rfind("/dev/", 0) == 0 || std::regex_search(path, allowed)) continue;
    refused.push_back(line);
  }
  EXPECT_GT(seen, 0u) << "no write traced at all: the pattern misses them";
  EXPECT_EQ(refused, std::vector<std::string>{});
}

}  // namespace
}  // namespace quenda
