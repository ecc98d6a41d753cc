#include "app/config_check_command.h"

#include "app/options.h"
#include "app/program.h"
#include "app/startup.h"
#include "base/error.h"
#include "check/config_check.h"
#include "check/sarif_log.h"
#include "platform/files.h"
#include "platform/native_path.h"
#include "platform/profile_string.h"
#include "text/cp1252.h"
#include "text/tokens.h"

namespace quenda {
namespace {

void Print(std::FILE* f, const std::string& cp1252Line) {
  std::fprintf(f, "%s\n", Cp1252ToUtf8(cp1252Line).c_str());
}

// The file URI of a table: its native place through the drive map, or the path text
// itself where no mapping reaches it.
std::string TableFileUri(const Files& files, const std::string& table) {
  std::filesystem::path native;
  try {
    native = std::filesystem::absolute(files.Native(table));
  } catch (const Error&) {
    native = NativePath(table);
  }
  const std::u8string generic = native.generic_u8string();
  return FileUri(std::string(generic.begin(), generic.end()));
}

void PrintFindings(const Options& options, const Files& files, const Findings& findings,
                   std::FILE* out) {
  if (options.checkFormat == CheckFormat::kSarif) {
    const auto uriOf = [&files](const std::string& table) { return TableFileUri(files, table); };
    std::fputs(SarifLog(findings, AppVersionText(), uriOf).c_str(), out);
    return;
  }
  for (const Finding& f : findings.All()) Print(out, FormatFinding(f));
  Print(out, FindingSummary(findings));
}

}  // namespace

int RunConfigCheck(const Options& options, System& system, std::FILE* out, std::FILE* err) {
  ProgramSetup setup;
  try {
    setup = PrepareProgram(options, system);
  } catch (const Error& e) {  // Config.ini is no regular file
    Print(err, "Quenda: " + e.Description());
    return kExitBadOption;
  }
  const std::string ini = ConfigIniPath(setup.programDir);
  if (!setup.configIni) {
    Print(err, "Quenda: " + ini + " kann nicht gelesen werden");
    return kExitBadOption;
  }
  const Files files(setup.site.Drives);
  const std::string folder = ReadProfileString(files, ini, "System", "ConfigPath", "");
  if (IsBlank(folder)) {
    Print(err, "Quenda: " + ini + ": Config-Ini konnten nicht ausgelesen werden! ([System] " +
                   "ConfigPath fehlt)");
    return kExitBadOption;
  }
  Findings findings;
  try {
    findings = CheckConfiguration(files, setup.site, folder);
  } catch (const Error& e) {  // a fault the check itself does not describe
    Print(err, "Quenda: Fehler " + std::to_string(e.Number()) + ": " + e.Description());
    return kExitAborted;
  }
  PrintFindings(options, files, findings, out);
  return findings.ErrorCount() > 0 ? kExitAborted : kExitSuccess;
}

}  // namespace quenda
