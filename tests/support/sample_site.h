// The sample site of examples/site copied into a temporary folder, to be varied per test
// case and run by the built program (or by a front end inside the test).
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "support/fake_system.h"
#include "support/run_binary.h"
#include "ui/headless_ui.h"

namespace quenda::testing {

class SampleSite {
 public:
  // Copies examples/site to site/ and creates tmp/, win/, home/ and the working folder run/.
  SampleSite();

  // The sample job's command line (examples/site/command-line.txt).
  static std::string SampleCommandLine();
  // The sample site's dialog answers, in the order the sample job asks them.
  static std::vector<std::string> SampleAnswers();

  // Replaces the first `from` in the file `relative` (bytes, CP1252) by `to`; fails the
  // test when `from` is not there.
  void Edit(const std::string& relative, const std::string& from, const std::string& to);
  void Write(const std::string& relative, const std::string& bytes) { dir.Write(relative, bytes); }
  std::string Read(const std::string& relative) const { return dir.Read(relative); }
  bool Has(const std::string& relative) const;
  void Remove(const std::string& relative) const;
  std::string Path(const std::string& relative) const { return dir.File(relative); }

  // Runs the program headless in run/ with `answers` and the command line `commandLine`; the
  // dialogs go to run/dialogs.jsonl.
  RunResult Run(const std::vector<std::string>& answers,
                const std::string& commandLine = SampleCommandLine());

  // Every file below site/: site-relative path ("site/...") -> bytes.
  std::map<std::string, std::string> SiteFiles() const;

  // The run log in run/ with the temporary folder written as "@ROOT@" ("/" after it on
  // every system) and the version as "@VERSION@", so it compares with an expected file.
  std::string PortableLog() const;

  TempDir dir;
};

// A session on the sample site of `site` in this process, as headless mode makes it: its
// program folder, the sample command line, the dialogs answered from `answers`, the output
// of the Ui discarded, the log copy going to run/. Nothing has run yet.
class SampleSession {
 public:
  explicit SampleSession(SampleSite& site,
                         const std::vector<std::string>& answers = SampleSite::SampleAnswers());
  ~SampleSession();
  SampleSession(const SampleSession&) = delete;
  SampleSession& operator=(const SampleSession&) = delete;

  Session& S() { return *session_; }

 private:
  FakeSystem system_;
  std::FILE* devnull_;
  std::unique_ptr<HeadlessUi> ui_;
  std::unique_ptr<Session> session_;
};

// True when the job file of `s` loads and has its ToFlow envelope.
bool LoadsAsJob(const SampleSite& s);

using SiteSnapshot = std::map<std::string, std::string>;

// Checks the files of `s` after a run that ended at any instant (killed, crashed): every
// file is as `before` the run or as `after` a complete one, the job file a well-formed job,
// the collection batch its old lines with the new entry whole or absent; the temporary
// files of an interrupted replace (".<name>.tmp...") are passed over. `at` names the case.
void ExpectOldOrComplete(const SampleSite& s, const SiteSnapshot& before, const SiteSnapshot& after,
                         const std::string& at);

// The temporary files of a replace left below `root` (".<name>.tmp<digits>"), as paths.
std::vector<std::string> LeftoverTemporaryFiles(const std::filesystem::path& root);

// Site paths of the sample project.
inline const char* const kProject = "site/shares/projekte/EDC21/MX21K47/";
inline const char* const kCustomerFolder = "site/shares/projekte/EDC21/MX21K47/0281020471/";
inline const char* const kTarvell = "site/shares/u/Freigaben/Tarvell.Bat";
inline const char* const kGlobalTable =
    "site/shares/tools/TOOLS/Kolpator/Data/Parameter_Global.csv";
inline const char* const kConfig012 = "site/shares/tools/TOOLS/Kolpator/Data/Config_012.csv";
inline const char* const kJob = "site/shares/projekte/003/Flow/Transfer/Job_4711.xml";

// The bytes of examples/qualify/expected/`name`, the outputs the reference cases expect.
std::string ExpectedE2e(const std::string& name);

}  // namespace quenda::testing
