#include "config/config_selection.h"

#include <optional>

#include "base/error.h"
#include "config/job_source.h"
#include "platform/atomic_file.h"
#include "platform/input_file.h"
#include "platform/profile_string.h"
#include "platform/site_settings.h"
#include "rules/parameter_intake.h"
#include "session/session.h"
#include "session/termination.h"
#include "table/cls_lib.h"
#include "text/cp1252.h"
#include "text/regional_number.h"
#include "text/tokens.h"

namespace quenda {
namespace {

// A stop of the selection with its text (shown with error number 0).
struct Stop {
  std::string text;
};

std::string Format000(const Session& s, const std::string& value) {
  return FormatNumber000(value, s.site.DecimalSeparator);
}

std::string CfgValue(const Session& s, const RecordSet& row, const char* column) {
  return Format000(s, Trim(row.Value(column)));
}

void ChooseTables(Session& s, const std::string& folder) {
  const ConfigTablePaths paths = ChooseConfigTables(s.site, folder, s.job.RunMode == "T");
  s.job.ParamGlobalFile = paths.globalTable;
  s.job.ConfigFilePrefix = paths.configPrefix;
}

void ReadSelectedRow(Session& s, const RecordSet& row) {
  (void)row.Value("SG");  // read but not kept: the column must exist
  s.state.AktBa = CfgValue(s, row, "ba");
  s.job.CfgConfiguration = CfgValue(s, row, "Configuration");
  s.job.CfgToolVersion = CfgValue(s, row, "ToolVersion");
  s.job.CfgKolpatoren = CfgValue(s, row, "Kolpatoren");
  s.job.CfgKundenGruppe = CfgValue(s, row, "KundenGruppe");
}

std::string TestModeGreeting() {
  return "Hallo Ivo,\r\nan dieser Stelle bitte die Taste\r\n<Abbrechen> betätigen.\r\n\r\n"
         "Danke für den Aufruf\r\n\r\nDein\r\nQuendale\r\n"_cp;
}

// Commits what the reference file holds while the intake's own failure ends it: a file that a
// failed write left incomplete stays uncommitted, and a failing commit gives way to that failure.
void CommitAfterFailure(AtomicFile& reference) {
  if (!reference.Whole()) return;
  try {
    reference.Commit();
  } catch (const Error&) {
  }
}

// Runs the intake; in test mode with the reference file and the closing dialog.
void RunIntake(Session& s) {
  const bool testMode = s.job.RunMode == "T";
  std::optional<AtomicFile> reference;
  if (testMode) {
    reference.emplace(s.files, ReferenceFilePath(s));
  }
  std::string rows;
  try {
    rows = ParameterIntake(s, s.job.JobFilePath, s.job.ConfigFile, kSelectionMarkColumn,
                           reference ? &*reference : nullptr);
  } catch (...) {
    // The reference file shows the rows up to the failure, not an older run's.
    if (reference) CommitAfterFailure(*reference);
    throw;
  }
  s.state.izeile = std::stoi(rows);
  if (!testMode) return;
  reference->Commit();
  if (s.ui.MsgBox(TestModeGreeting(), 1, "Abbruch für Herr Kranich"_cp) == Answer::kCancel) {
    throw RunEnded(kExitAborted);  // at once: no termination routine, no log line
  }
}

void SelectSteps(Session& s) {
  ParseCommandLine(s);
  s.env.CommandFields[0] = s.job.JobFilePath;
  s.job.ProgramTag = "quenda";
  if (!IsJobFromFlow(s, s.job.JobFilePath)) {
    TerminateRun(s, "Der Job stammt nicht aus FLOW5 oder ToolTest", EndStyle::Box(48), "Abbruch");
  }
  const std::string folder =
      ReadIniValue(s, ConfigIniPath(s.env.ProgramDir), "System", "ConfigPath", "");
  if (IsBlank(folder)) throw Stop{"Config-Ini konnten nicht ausgelesen werden!"};
  s.record.configPath = folder;
  ChooseTables(s, folder);
  s.record.AwaitInput(s.job.ParamGlobalFile, input_role::kGlobalTable);
  RecordSet global = clsLib(s.files).GetTextStreamAsRecordSet(s.job.ParamGlobalFile, ";", true);
  ReadJobIdentity(s, s.job.JobFilePath, s.state.AktKunde, s.state.AktSg);
  if (IsBlank(s.state.AktKunde))
    throw Stop{"Keine Kunden-Informationen in der XML-Datei vorhanden"};
  if (IsBlank(s.state.AktSg)) {
    throw Stop{"Keine Steuergeräte-Informationen in der XML-Datei vorhanden"_cp};
  }
  if (!SelectConfigRow(s, global, s.state.AktKunde, s.state.AktSg, s.job.JobFilePath)) {
    throw Stop{"Fehler, keine Info über Kunde und SG in globaler Konfiguration"_cp};
  }
  ReadSelectedRow(s, global);
  s.job.ConfigFile =
      ConfigTablePath(s.job.ConfigFilePrefix, s.job.CfgConfiguration, s.site.DecimalSeparator);
  if (IsNonRegularFile(s.files, s.job.ConfigFile)) {
    throw Stop{NotRegularFileError(s.job.ConfigFile).Description()};
  }
  if (!s.files.FileExists(s.job.ConfigFile)) {
    throw Stop{"Keine Configuration " + s.job.ConfigFile + " vorhanden!"};
  }
  SetParamColumns(s);
  RunIntake(s);
}

// True when the row's "Expression" (table.field=value) holds for the job.
bool ConditionHolds(Session& s, const RecordSet& row, const std::string& jobFile) {
  std::optional<Error> problem;
  const std::optional<ConfigCondition> condition =
      ParseConfigCondition(row.Value("Expression"), problem);
  if (!condition) throw *problem;
  const std::string value = ReadExpressionField(s, jobFile, condition->field, condition->table);
  return UpperCase(Trim(value)) == UpperCase(Trim(condition->expected));
}

}  // namespace

ConfigTablePaths ChooseConfigTables(const SiteSettings& site, const std::string& configFolder,
                                    bool testMode) {
  const std::string base =
      testMode ? site.ToolsShareRoot + "\\TOOLS\\Kolpator\\Data" : configFolder;
  return {base + "\\Parameter_Global.csv", base + "\\Config_"};
}

std::string ConfigTablePath(const std::string& prefix, const std::string& configuration,
                            const std::string& decimalSeparator) {
  // The value is "000" formatted when read from the row and once more for the path.
  const std::string number = FormatNumber000(Trim(configuration), decimalSeparator);
  return prefix + FormatNumber000(number, decimalSeparator) + ".csv";
}

std::string ConfigRowFilter(const std::string& customer, const std::string& controlUnit) {
  return "Kunde = " + QuoteFilterLiteral(customer) + " And SG = " + QuoteFilterLiteral(controlUnit);
}

std::optional<ConfigCondition> ParseConfigCondition(const std::string& text,
                                                    std::optional<Error>& problem) {
  const std::string expression = Trim(text);
  const std::string reference = GetToken(expression, 0, "=");
  if (expression.find('=') == std::string::npos || reference.find('.') == std::string::npos) {
    problem = PlatformError(kErrSubscript,
                            "Expression >" + expression + "< hat nicht die Form Tabelle.Feld=Wert");
    return std::nullopt;
  }
  return ConfigCondition{GetToken(reference, 0, "."), GetToken(reference, 1, "."),
                         GetToken(expression, 1, "=")};
}

void SelectConfiguration(Session& s) {
  try {
    SelectSteps(s);
  } catch (const Stop& stop) {
    s.ui.MsgBox(stop.text + " 0 ", 0, kSelectionErrorTitle);
  } catch (const Error& e) {
    s.ui.MsgBox(" " + std::to_string(e.Number()) + " " + e.Description(), 0, kSelectionErrorTitle);
  }
}

bool SelectConfigRow(Session& s, RecordSet& records, const std::string& customer,
                     const std::string& controlUnit, const std::string& jobFile) {
  try {
    const std::string rowFilter = ConfigRowFilter(customer, controlUnit);
    records.Filter(rowFilter + " And Expression <> ''");
    for (records.MoveFirst(); !records.Eof(); records.MoveNext()) {
      if (!ConditionHolds(s, records, jobFile)) continue;
      records.Filter("Index = " + Trim(records.Value("Index")));
      return true;
    }
    records.Filter("");
    records.Filter(rowFilter + " And Expression = ''");
    return records.RecordCount() > 0;
  } catch (const Error& e) {
    s.ui.MsgBox(std::to_string(e.Number()) + " " + e.Description(), 0, "Fehler");
    return false;
  }
}

std::string ReadIniValue(Session& s, const std::string& path, const std::string& section,
                         const std::string& key, const std::string& fallback) {
  return ReadProfileString(s.files, path, section, key, fallback);
}

}  // namespace quenda
