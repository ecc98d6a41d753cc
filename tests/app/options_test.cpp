#include "app/options.h"

#include <gtest/gtest.h>

namespace quenda {
namespace {

// How many arguments the options take decides where the program's command line starts
// (on Windows it is cut from the process's command line after that many words).
TEST(ParseOptions, CountsTheWordsTheOptionsTake) {
  struct Case {
    std::vector<std::string> args;
    std::size_t optionWords;
    std::vector<std::string> words;
  };
  const Case cases[] = {
      {{}, 0, {}},
      {{"T:\\job.xml,7,P"}, 0, {"T:\\job.xml,7,P"}},
      {{"--headless", "\"x|42|0\""}, 1, {"\"x|42|0\""}},
      {{"--headless", "--", "--headless"}, 2, {"--headless"}},
      {{"--program-dir", "C:\\a b", "--answers", "a.txt", "--", "a", "b"}, 5, {"a", "b"}},
      {{"--transcript", "t.jsonl", "-x"}, 2, {"-x"}},
  };
  for (const Case& c : cases) {
    std::string error;
    const auto options = ParseOptions(c.args, error);
    ASSERT_TRUE(options.has_value()) << error;
    const std::string first = c.args.empty() ? "" : c.args[0];
    EXPECT_EQ(options->optionWords, c.optionWords) << "first argument " << first;
    EXPECT_EQ(options->words, c.words) << "first argument " << first;
  }
}

TEST(ParseOptions, CheckConfigTakesOnlyTheProgramFolder) {
  std::string error;
  const auto ok = ParseOptions({"--check-config", "--program-dir", "p"}, error);
  ASSERT_TRUE(ok.has_value()) << error;
  EXPECT_TRUE(ok->checkConfig);
  EXPECT_EQ(ok->programDir, "p");
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--check-config", "--headless"},
        std::vector<std::string>{"--check-config", "job.xml"},
        std::vector<std::string>{"--answers", "a.txt", "--check-config"},
        std::vector<std::string>{"--check-config", "--report", "r.json"}}) {
    error.clear();
    EXPECT_FALSE(ParseOptions(args, error).has_value()) << args.back();
    EXPECT_NE(error.find("--check-config"), std::string::npos) << error;
  }
}

TEST(ParseOptions, FormatGoesOnlyWithCheckConfig) {
  struct Case {
    std::vector<std::string> args;
    std::optional<CheckFormat> format;  // nullopt: refused
  };
  const Case cases[] = {
      {{"--check-config"}, CheckFormat::kText},
      {{"--check-config", "--format", "text"}, CheckFormat::kText},
      {{"--format", "sarif", "--check-config", "--program-dir", "p"}, CheckFormat::kSarif},
      {{"--check-config", "--format", "SARIF"}, std::nullopt},
      {{"--check-config", "--format", "json"}, std::nullopt},
      {{"--check-config", "--format"}, std::nullopt},
      {{"--format", "sarif"}, std::nullopt},
      {{"--format", "text", "--headless"}, std::nullopt},
  };
  for (const Case& c : cases) {
    std::string error;
    const auto options = ParseOptions(c.args, error);
    std::string shown;
    for (const std::string& a : c.args) shown += a + " ";
    ASSERT_EQ(options.has_value(), c.format.has_value()) << shown << error;
    if (options) {
      EXPECT_EQ(options->checkFormat, *c.format) << shown;
    } else {
      EXPECT_NE(error.find("--format"), std::string::npos) << shown << error;
    }
  }
}

TEST(ParseOptions, VerifyTakesTheProgramFolderAndInputs) {
  std::string error;
  const auto ok = ParseOptions({"--verify", "r.json", "--program-dir", "p", "--inputs"}, error);
  ASSERT_TRUE(ok.has_value()) << error;
  EXPECT_EQ(ok->verifyReport, "r.json");
  EXPECT_EQ(ok->programDir, "p");
  EXPECT_TRUE(ok->verifyInputs);
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--verify", "r.json", "--headless"},
        std::vector<std::string>{"--verify", "r.json", "job.xml"},
        std::vector<std::string>{"--verify", "r.json", "--report", "x.json"},
        std::vector<std::string>{"--inputs"}, std::vector<std::string>{"--verify"}}) {
    error.clear();
    EXPECT_FALSE(ParseOptions(args, error).has_value()) << args.back();
    EXPECT_NE(error.find("--verify"), std::string::npos) << error;
  }
}

TEST(ParseOptions, PlanAndApplyTakeOnlyWhatTheyUse) {
  std::string error;
  const auto plan =
      ParseOptions({"--plan", "p.json", "--headless", "--answers", "a", "job"}, error);
  ASSERT_TRUE(plan.has_value()) << error;
  EXPECT_EQ(plan->planFile, "p.json");
  EXPECT_EQ(plan->words, std::vector<std::string>{"job"});
  const auto apply = ParseOptions({"--apply", "p.json", "--report", "r.json"}, error);
  ASSERT_TRUE(apply.has_value()) << error;
  EXPECT_EQ(apply->applyPlan, "p.json");
  const std::pair<std::vector<std::string>, const char*> refused[] = {
      {{"--plan", "p.json", "--report", "r.json"}, "--plan"},
      {{"--plan", "p.json", "--apply", "q.json"}, "--plan"},
      {{"--plan", "p.json", "--check-config"}, "--plan"},
      {{"--apply", "p.json", "job.xml"}, "--apply"},
      {{"--apply", "p.json", "--answers", "a"}, "--apply"},
      {{"--apply", "p.json", "--program-dir", "d"}, "--apply"},
      {{"--apply"}, "--apply"},
  };
  for (const auto& [args, named] : refused) {
    error.clear();
    EXPECT_FALSE(ParseOptions(args, error).has_value()) << testing::PrintToString(args);
    EXPECT_NE(error.find(named), std::string::npos) << error;
  }
}

TEST(ParseOptions, QualifyNeedsOutAndTakesOnlyKit) {
  std::string error;
  const auto qualify = ParseOptions({"--qualify", "--out", "q", "--kit", "k"}, error);
  ASSERT_TRUE(qualify.has_value()) << error;
  EXPECT_TRUE(qualify->qualify);
  EXPECT_EQ(qualify->qualifyOut, "q");
  EXPECT_EQ(qualify->qualifyKit, "k");
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"--qualify"},
           {"--qualify", "--out", "q", "--headless"},
           {"--qualify", "--out", "q", "--program-dir", "d"},
           {"--qualify", "--out", "q", "job.xml"},
           {"--out", "q"},
           {"--kit", "k", "--headless"},
       }) {
    error.clear();
    EXPECT_FALSE(ParseOptions(args, error).has_value()) << testing::PrintToString(args);
    EXPECT_NE(error.find("--qualify"), std::string::npos) << error;
  }
}

}  // namespace
}  // namespace quenda
