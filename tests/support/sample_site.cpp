#include "support/sample_site.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "app/options.h"
#include "app/program.h"
#include "app/startup.h"
#include "base/error.h"
#include "platform/files.h"
#include "xml/dom_wrapper.h"

namespace fs = std::filesystem;

namespace quenda::testing {
namespace {

std::string ReadExamples(const std::string& relative) {
  std::ifstream in(std::string(QUENDA_EXAMPLES) + "/site/" + relative, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
    text.replace(at, from.size(), to);
    at += to.size();
  }
}

}  // namespace

SampleSite::SampleSite() {
  fs::copy(fs::path(QUENDA_EXAMPLES) / "site", dir.Path() / "site", fs::copy_options::recursive);
  for (const char* d : {"tmp", "win", "home", "run"}) fs::create_directories(dir.Path() / d);
}

std::string SampleSite::SampleCommandLine() {
  return SplitTextLines(ReadExamples("command-line.txt")).at(0);
}

std::vector<std::string> SampleSite::SampleAnswers() {
  std::vector<std::string> answers;
  for (const std::string& line : SplitTextLines(ReadExamples("answers.txt"))) {
    if (!line.empty() && line[0] != '#') answers.push_back(line);
  }
  return answers;
}

void SampleSite::Edit(const std::string& relative, const std::string& from, const std::string& to) {
  std::string text = Read(relative);
  const std::size_t at = text.find(from);
  ASSERT_NE(at, std::string::npos) << relative << " does not hold >" << from << "<";
  text.replace(at, from.size(), to);
  Write(relative, text);
}

bool SampleSite::Has(const std::string& relative) const {
  return fs::exists(dir.Path() / relative);
}

void SampleSite::Remove(const std::string& relative) const {
  fs::remove_all(dir.Path() / relative);
}

RunResult SampleSite::Run(const std::vector<std::string>& answers, const std::string& commandLine) {
  std::string text;
  for (const std::string& a : answers) text += a + "\n";
  Write("answers.txt", text);
  return RunQuenda(
      {"--headless", "--program-dir", Path("site/program"), "--answers", Path("answers.txt"),
       "--transcript", Path("run/dialogs.jsonl"), "--", commandLine},
      Path("run"));
}

std::map<std::string, std::string> SampleSite::SiteFiles() const {
  std::map<std::string, std::string> files;
  for (const auto& e : std::filesystem::recursive_directory_iterator(dir.Path())) {
    if (!e.is_regular_file()) continue;
    const std::string relative = std::filesystem::relative(e.path(), dir.Path()).generic_string();
    if (relative.rfind("site/", 0) == 0) files[relative] = Read(relative);
  }
  return files;
}

SampleSession::SampleSession(SampleSite& site, const std::vector<std::string>& answers)
    : devnull_(std::fopen(kNullDevice, "w")) {
  std::string text;
  for (const std::string& a : answers) text += a + "\n";
  ui_ = std::make_unique<HeadlessUi>(text, devnull_, devnull_);
  Options options;
  options.programDir = site.Path("site/program");
  ProgramSetup setup = PrepareProgram(options, system_);
  session_ = std::make_unique<Session>(*ui_, system_, std::move(setup.site));
  session_->env.ProgramDir = setup.programDir;
  session_->env.CommandLineText = SampleSite::SampleCommandLine();
  session_->state.AktDirName = site.Path("run") + "/";
}

SampleSession::~SampleSession() {
  session_.reset();
  ui_.reset();
  if (devnull_ != nullptr) std::fclose(devnull_);
}

namespace {

bool IsTemporaryOfAReplace(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return path.compare(slash + 1, 1, ".") == 0 && path.find(".tmp", slash) != std::string::npos;
}

}  // namespace

bool LoadsAsJob(const SampleSite& s) {
  SessionFixture f;
  DOMWrapper doc(f.S().ui, f.S().files, f.S().site.FlowDataNamespaceUri);
  try {
    doc.Load(s.Path(kJob));
    return doc.PosNodeByName("Envelope", "ToFlow");
  } catch (const Error&) {
    return false;
  }
}

void ExpectOldOrComplete(const SampleSite& s, const SiteSnapshot& before, const SiteSnapshot& after,
                         const std::string& at) {
  const std::string& oldEntries = before.at(kTarvell);
  const std::string newEntry = after.at(kTarvell).substr(oldEntries.size());
  for (const auto& [path, bytes] : s.SiteFiles()) {
    if (IsTemporaryOfAReplace(path)) continue;
    if (path == kTarvell) {
      EXPECT_TRUE(bytes == oldEntries || bytes == oldEntries + newEntry) << at << ": " << bytes;
    } else if (path == kJob) {
      EXPECT_TRUE(LoadsAsJob(s)) << at << ": the job file is a whole job";
    } else {
      const auto old = before.find(path);
      const auto complete = after.find(path);
      EXPECT_TRUE((old != before.end() && old->second == bytes) ||
                  (complete != after.end() && complete->second == bytes))
          << at << ": " << path << " is old or whole";
    }
  }
}

std::string SampleSite::PortableLog() const {
  std::string log = Read("run/RizaZizi.log");
  ReplaceAll(log, dir.Path().string(), "@ROOT@");
#ifdef _WIN32
  // The site's own folders are written with "\" here; the expected log has "/".
  for (std::size_t at = log.find("@ROOT@"); at != std::string::npos; at = log.find("@ROOT@", at)) {
    for (at += 6; at < log.size() && log[at] != '\r'; ++at) {
      if (log[at] == '\\') log[at] = '/';
    }
  }
#endif
  ReplaceAll(log, "V" + AppVersionText() + "\r\n", "V@VERSION@\r\n");
  return log;
}

std::string ExpectedE2e(const std::string& name) {
  std::ifstream in(std::string(QUENDA_EXAMPLES) + "/qualify/expected/" + name, std::ios::binary);
  EXPECT_TRUE(in.good()) << "missing expected file examples/qualify/expected/" << name;
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

std::vector<std::string> LeftoverTemporaryFiles(const std::filesystem::path& root) {
  static const std::regex temporary(R"(^\..+\.tmp[0-9]+$)");
  std::vector<std::string> found;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    if (std::regex_match(entry.path().filename().string(), temporary)) {
      found.push_back(entry.path().string());
    }
  }
  return found;
}

}  // namespace quenda::testing
