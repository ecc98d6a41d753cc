// Configuration selection: which job the run works on and which customer and control-unit
// configuration applies to it. Runs once while the main window loads; its results stay in
// the session (JobFilePath, RunMode, AktKunde, AktSg, AktBa, the Cfg values, ConfigFile,
// izeile) and the parameter table.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "base/error.h"

namespace quenda {

class RecordSet;
class Session;
struct SiteSettings;

// The global parameter table's columns that the selection reads.
inline constexpr std::array<const char*, 9> kGlobalTableColumns = {
    "Kunde",         "SG",          "Expression", "Index",       "ba",
    "Configuration", "ToolVersion", "Kolpatoren", "KundenGruppe"};

// The global table's columns whose values are formatted with the number pattern "000".
inline constexpr std::array<const char*, 5> kGlobalTable000Columns = {
    "ba", "Configuration", "ToolVersion", "Kolpatoren", "KundenGruppe"};

// Where the tables of a run are: the global table and the customer tables' path up to
// their number. Normal runs take them from `configFolder` ([System] ConfigPath), test
// mode from the tools share.
struct ConfigTablePaths {
  std::string globalTable;
  std::string configPrefix;
};
ConfigTablePaths ChooseConfigTables(const SiteSettings& site, const std::string& configFolder,
                                    bool testMode);

// The customer table of the global table's "Configuration" value `configuration` (as it
// stands in the table): prefix + the value trimmed and "000" formatted + ".csv".
std::string ConfigTablePath(const std::string& prefix, const std::string& configuration,
                            const std::string& decimalSeparator);

// The filter that narrows the global table to the rows of `customer` and `controlUnit`;
// the selection adds " And Expression <> ''" or " And Expression = ''".
std::string ConfigRowFilter(const std::string& customer, const std::string& controlUnit);

// A row's condition "table.field=value": the expression trimmed, cut at "=" (part 0 the
// reference, part 1 the expected value; text after a second "=" is ignored), the
// reference cut at ".".
struct ConfigCondition {
  std::string table;
  std::string field;
  std::string expected;
};

// The condition of the "Expression" text `expression`. For one without "=" or without
// "." before it `problem` receives Error 9 naming it, and the result is nullopt.
std::optional<ConfigCondition> ParseConfigCondition(const std::string& expression,
                                                    std::optional<Error>& problem);

// Title of the box that reports every stop and error of SelectConfiguration.
inline constexpr const char* kSelectionErrorTitle =
    "Fehler aufgetreten - Bearbeitung wird abgebrochen";

// Reads the command line, checks the job source (a job not from the flow system ends the
// run), finds the configuration folder in Config.ini ([System] ConfigPath, program
// folder), selects the row of the global parameter table for the job's customer and
// control unit and runs the parameter intake on its customer table. In test mode ("T")
// the tables come from the tools share, a reference file of the parameters is written
// and a last dialog may end the program (RunEnded). Any stop or error shows one box
// (kSelectionErrorTitle) and returns normally with what was set so far.
void SelectConfiguration(Session& session);

// Narrows `records` (the global parameter table) to the row for `customer` and
// `controlUnit`: the first row whose "Expression" table.field=value holds for the job
// wins, else the first row without expression. True when a row was selected; it is then
// the current record. Errors show a box titled "Fehler" and give false.
bool SelectConfigRow(Session& session, RecordSet& records, const std::string& customer,
                     const std::string& controlUnit, const std::string& jobFile);

// The value of `key` in `section` of the INI file `path` as the profile-string service
// returns it (at most 255 characters), or `fallback` when the file or key is missing.
std::string ReadIniValue(Session& session, const std::string& path, const std::string& section,
                         const std::string& key, const std::string& fallback);

}  // namespace quenda
