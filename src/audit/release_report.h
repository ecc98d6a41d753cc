// The release report (schema 2) as the release check reads it: the fields that say what the
// run was to write. Read with a parser of its own, not with the code that writes the report.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quenda::audit {

struct ReportParameter {
  std::string name, value, table;  // CP1252; `table` a Windows path text
  std::string rule;
  int line = 0;  // the row's line in `table`, the header is line 1
};

struct ReportSlot {
  int slot = 0;
  std::string label, kind, format, length, dummy, value;  // CP1252
};

struct ReportFile {
  std::string path;  // CP1252, as the run names it
  std::string role;  // inputs only
};

struct ReleaseReport {
  std::string programDir, currentDir, job;  // CP1252
  std::string commandLine, reason;
  int exitStatus = -1;
  std::string customerGroup, toolVersion, ba, kolpatoren;
  bool testMode = false;
  std::vector<ReportParameter> parameters;
  std::vector<ReportSlot> slots;
  std::vector<ReportFile> inputs, files;

  // The value of the first parameter named `name`; nullopt when there is none.
  std::optional<std::string> Parameter(const std::string& name) const;
  // The slot whose label is `label`; nullptr when none has it.
  const ReportSlot* SlotOf(const std::string& label) const;
  // The first input of `role`; nullptr when the run read none.
  const ReportFile* InputOf(const std::string& role) const;
};

// Reads the report from its UTF-8 JSON text. Returns nullopt and sets `why` (German,
// UTF-8) when the text is no JSON object, is not of schemaVersion 2 or lacks a field the
// check needs, naming that field.
std::optional<ReleaseReport> ParseReleaseReport(const std::string& json, std::string& why);

}  // namespace quenda::audit
