// Configuration selection: which job the run works on and which customer and control-unit
// configuration applies to it. Runs once while the main window loads; its results stay in
// the session (JobFilePath, RunMode, AktKunde, AktSg, AktBa, the Cfg values, ConfigFile,
// izeile) and the parameter table.
#pragma once

#include <string>

namespace quenda {

class RecordSet;
class Session;

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
