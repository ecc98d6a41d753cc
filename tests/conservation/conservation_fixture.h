// A session for the conservation tests: drive T: mapped to the folder "share" of the
// temporary folder, the run log and the dialog transcript kept in files the test reads.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/files.h"
#include "session/session.h"
#include "support/fake_system.h"
#include "ui/transcript.h"

namespace quenda::testing {

class ConservationFixture : public SessionFixture {
 public:
  explicit ConservationFixture(const std::string& answers = {})
      : SessionFixture(answers, "[Paths]\nT:=share\n") {
    std::filesystem::create_directories(dir.Path() / "share");
    S().env.TempDir = dir.File("tmp") + kSep;
    S().log.Open(S().files, dir.File("tmp/run.log"));
    ui->SetTranscript(dir.File("transcript.jsonl"));
  }

  // Writes `bytes` to the file `relative` below the mapped drive T:.
  void WriteShare(const std::string& relative, const std::string& bytes) {
    dir.Write("share/" + relative, bytes);
  }
  std::string ReadShare(const std::string& relative) { return dir.Read("share/" + relative); }
  bool ShareHas(const std::string& relative) {
    return std::filesystem::exists(dir.Path() / "share" / relative);
  }

  // The run-log lines so far (CP1252).
  std::vector<std::string> LogLines() { return SplitTextLines(dir.Read("tmp/run.log")); }
  // One JSON line per dialog shown (UTF-8).
  std::string Dialogs() { return dir.Read("transcript.jsonl"); }
  // True when a dialog with `text` (CP1252) was shown.
  bool Showed(const std::string& text) {
    const std::string json = JsonString(text);
    return Dialogs().find(json.substr(1, json.size() - 2)) != std::string::npos;
  }
  // The message of the error file that ErrorEnd writes (CP1252), empty when none.
  std::string ErrorFileText() {
    const std::string text = dir.Read("tmp/SG_.err");
    return text.size() >= 2 ? text.substr(0, text.size() - 2) : text;
  }
};

}  // namespace quenda::testing
