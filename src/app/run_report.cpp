#include "app/run_report.h"

#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <system_error>

#include "app/options.h"
#include "app/run_summary.h"
#include "app/startup.h"
#include "base/error.h"
#include "platform/atomic_file.h"
#include "platform/files.h"
#include "platform/native_path.h"
#include "platform/sha256.h"
#include "platform/utc_time.h"
#include "session/session.h"
#include "text/cp1252.h"

namespace quenda {
namespace {

using Json = nlohmann::ordered_json;

std::string U(const std::string& cp1252) { return Cp1252ToUtf8(cp1252); }

Json Configuration(const Session& s) {
  return {{"customer", U(s.state.AktKunde)},
          {"controlUnit", U(s.state.AktSg)},
          {"configuration", U(s.job.CfgConfiguration)},
          {"ba", U(s.state.AktBa)},
          {"customerGroup", U(s.job.RunKundenGruppe)},
          {"toolVersion", U(s.job.CfgToolVersion)},
          {"kolpatoren", U(s.job.CfgKolpatoren)},
          {"testMode", s.job.RunMode == "T"}};
}

Json Run(const Session& s) {
  return {{"startedAt", s.record.StartedAt()},       {"endedAt", UtcNowText()},
          {"user", U(s.system.LogonUserName())},     {"computer", U(s.system.ComputerName())},
          {"programDir", U(s.env.ProgramDir)},       {"configPath", U(s.record.configPath)},
          {"commandLine", U(s.env.CommandLineText)}, {"currentDir", U(s.system.CurrentDir())}};
}

std::string Reason(const Session& s, int exitStatus) {
  switch (exitStatus) {
    case kExitSuccess:
      return "success";
    case kExitUnanswered:
      return "unanswered";
    case kExitStopped:
      return "stopped";
    default:
      return s.record.reason.empty() ? "aborted" : s.record.reason;
  }
}

Json Sha256Field(const std::string& sha256) { return sha256.empty() ? Json() : Json(sha256); }

Json Inputs(const Session& s) {
  Json list = Json::array();
  for (const InputFile& input : s.record.Inputs()) {
    list.push_back({{"path", U(input.path)},
                    {"role", input.role},
                    {"bytes", input.bytes},
                    {"sha256", Sha256Field(input.sha256)}});
  }
  return list;
}

Json Parameters(const Session& s, const RunSummary& summary) {
  Json list = Json::array();
  for (const ParameterSummary& p : summary.parameters) {
    list.push_back({{"name", U(p.name)},
                    {"rule", U(p.rule)},
                    {"value", U(p.value)},
                    {"table", U(s.params.SourceTable)},
                    {"line", s.params.SourceLines[static_cast<std::size_t>(p.row)]}});
  }
  return list;
}

Json Dialogs(const Session& s) {
  Json list = Json::array();
  for (const DialogRecord& d : s.ui.Dialogs()) {
    list.push_back({{"kind", d.kind},
                    {"title", U(d.title)},
                    {"text", U(d.text)},
                    {"answer", d.answer ? Json(U(*d.answer)) : Json()},
                    {"at", d.at}});
  }
  return list;
}

Json Slots(const RunSummary& summary) {
  Json list = Json::array();
  for (const SlotSummary& s : summary.specSlots) {
    list.push_back({{"slot", s.slot},
                    {"label", U(s.label)},
                    {"kind", U(s.kind)},
                    {"format", U(s.format)},
                    {"length", U(s.length)},
                    {"dummy", U(s.dummy)},
                    {"value", U(s.value)}});
  }
  return list;
}

// Each file as the run wrote it; a file whose bytes the run did not see whole as it wrote
// them (the run log it still holds, a copy whose source changed meanwhile) is read now.
Json WrittenFilesJson(const Session& s) {
  Json list = Json::array();
  for (const WrittenFile& file : s.record.files.Written()) {
    const std::filesystem::path native = s.files.Native(file.path);
    std::error_code ec;
    const auto size = std::filesystem::file_size(native, ec);
    if (ec) continue;  // moved away or removed by another program
    std::optional<FileDigest> digest = file.digest ? file.digest : DigestFile(native);
    if (!digest) digest = FileDigest{size, {}};  // there, but not readable
    list.push_back({{"path", U(file.path)},
                    {"bytes", digest->bytes},
                    {"sha256", Sha256Field(digest->sha256)}});
  }
  return list;
}

// The plan the run applied, each of its files with the SHA-256 planned and the one written.
Json AppliedPlanJson(const AppliedPlan& plan) {
  Json files = Json::array();
  for (const PlannedOutcome& file : plan.outcomes) {
    files.push_back({{"path", file.path},
                     {"planned", Sha256Field(file.planned)},
                     {"written", Sha256Field(file.written)},
                     {"asPlanned", file.AsPlanned()}});
  }
  return {{"file", plan.file},
          {"createdAt", plan.createdAt},
          {"sha256", plan.sha256},
          {"files", files}};
}

}  // namespace

std::string RunReportJson(const Session& s, int exitStatus) {
  const RunSummary summary = BuildRunSummary(s);
  const std::string& message =
      s.state.FinalMessage.empty() ? s.log.LastLine() : s.state.FinalMessage;
  Json report = {{"schemaVersion", kRunReportSchema},
                 {"quenda", {{"version", AppVersionText()}}},
                 {"run", Run(s)},
                 {"reason", Reason(s, exitStatus)},
                 {"exitStatus", exitStatus},
                 {"message", U(message)},
                 {"job", U(s.job.JobFilePath)},
                 {"configuration", Configuration(s)},
                 {"inputs", Inputs(s)},
                 {"parameters", Parameters(s, summary)},
                 {"slots", Slots(summary)},
                 {"files", WrittenFilesJson(s)},
                 {"dialogs", Dialogs(s)}};
  if (s.record.plan) report["plan"] = AppliedPlanJson(*s.record.plan);
  return report.dump(2) + "\n";
}

bool WriteRunReport(const Session& s, int exitStatus, const std::string& nativePath,
                    std::optional<Error>* failure) {
  const std::filesystem::path target = std::filesystem::path(nativePath);
  const std::string text = RunReportJson(s, exitStatus);
  try {
    // A Files of its own: the report is no file of the run and no write point of it.
    const Files files;
    AtomicFile file(files, TextFromNative(nativePath), target);
    file.Write(text);
    file.Commit();
    return true;
  } catch (const Error& e) {
    if (failure != nullptr) *failure = e;
    return false;
  }
}

namespace {

// Standard error tells a record that was asked for and is not whole, naming its file.
void TellRecordNotWritten(std::FILE* err, const std::string& what, const std::string& path,
                          const Error& failure) {
  std::fprintf(err, "%s\n",
               Cp1252ToUtf8("Quenda: " + what + " " + path +
                            " wurde nicht geschrieben: " + failure.Description())
                   .c_str());
}

}  // namespace

int FinishRequestedRecords(const Session& s, const Options& options, int exitStatus, std::FILE* err,
                           bool namePath) {
  bool missing = false;
  if (const std::optional<Error> failure = s.ui.TranscriptFailure()) {
    TellRecordNotWritten(err, "Das Dialogprotokoll", TextFromNative(options.transcriptFile),
                         *failure);
    missing = true;
  }
  if (!options.reportFile.empty()) {
    std::optional<Error> failure;
    if (!WriteRunReport(s, exitStatus, options.reportFile, &failure)) {
      TellRecordNotWritten(err, "Der Bericht", TextFromNative(options.reportFile), *failure);
      missing = true;
    } else if (namePath) {
      std::fprintf(err, "%s\n", options.reportFile.c_str());  // the last line, for the caller
    }
  }
  std::fflush(err);
  return missing && exitStatus == kExitSuccess ? kExitRecordNotWritten : exitStatus;
}

}  // namespace quenda
