// The run-wide state of one program start: run environment, main state record, job
// values, site settings, run log, and the Ui and OS services. Every subsystem takes the
// session by reference; there are no mutable globals.
#pragma once

#include <array>
#include <filesystem>
#include <string>

#include "platform/files.h"
#include "platform/mapped_file.h"
#include "platform/site_settings.h"
#include "platform/system.h"
#include "session/param_table.h"
#include "session/run_log.h"
#include "session/run_record.h"
#include "session/spec_table.h"
#include "text/tokens.h"
#include "ui/ui.h"

namespace quenda {

// Values fixed at start-up.
struct RunEnvironment {
  std::string AppVersionText;
  std::string TempDir;  // ends in a separator
  std::string WindowsDir;
  std::string IniFilePath;
  std::string ProjectDriveRoot;
  std::array<std::string, 5> CommandFields;
  std::string CommandLineText;  // the program's command line as one text
  std::string ProgramDir;
  std::filesystem::file_time_type StartTime;  // when the start sequence began
  bool BatchMode() const { return !CommandFields[0].empty(); }
  // The text of the command fields: the command line between its first two double quotes.
  std::string CommandFieldsText() const {
    return CommandLineText.empty() ? CommandLineText : GetToken(CommandLineText, 1, "\"");
  }
  // The fields as the start sequence fills CommandFields from the command line: all empty
  // for an empty text, else its "|" fields 0 to 4. Known before the run log is open.
  std::array<std::string, 5> CommandLineFields() const {
    std::array<std::string, 5> fields;
    const std::string text = CommandFieldsText();
    for (std::size_t i = 0; i < fields.size() && !text.empty(); ++i) {
      fields[i] = GetToken(text, static_cast<int>(i), "|");
    }
    return fields;
  }
  // BatchMode as the run will have it once its start sequence has filled CommandFields.
  bool BatchRun() const { return !CommandLineFields()[0].empty(); }
};

// The fields of the main state record that carry behaviour.
struct MainState {
  std::string AktDirName;  // never assigned: the log copy goes to the current folder
  std::string LaufLogName;
  std::string LaufLogFile;
  std::string OspName;
  std::string DabFilePath;
  std::string DabNewName;
  std::string SgFileName;
  std::string ProjektDir;
  std::string DefPatVal;
  std::string TarvellAufruf;
  MappedFile ObjectStoreText;  // the loaded object store (the window's RichTextBox1)
  int izeile = 0;
  std::string AktKunde;           // the job's customer code, "000" formatted
  std::string AktSg;              // the job's control-unit designation
  std::string AktBa;              // "ba" of the selected configuration row
  std::string FinalMessage;       // the text of TerminateRun's final message or log line
  bool ErrorFileWritten = false;  // WriteErrorFile has written (or tried) the error file
};

// Values of the job and its configuration.
struct JobValues {
  std::string JobFilePath;
  std::string RunMode;
  std::string CfgConfiguration;
  std::string CfgToolVersion;
  std::string CfgKolpatoren;
  std::string CfgKundenGruppe;
  std::string RunBa;
  std::string RunKundenGruppe;
  std::string CustomerPlantIndex;
  std::string ProjectRecord50;
  std::string FlgTuningS;
  std::string ProgramTag;        // "quenda" once the configuration is being selected
  std::string ParamGlobalFile;   // the global parameter table
  std::string ConfigFilePrefix;  // the customer tables' path up to their number
  std::string ConfigFile;        // the selected customer configuration table

  // Not "000" as the configuration's Kolpatoren: the release prepares and runs the series
  // tools (customer folder, DAB file of the data version, conservation files).
  bool RunsSeriesTools() const { return CfgKolpatoren != "000"; }
  // Run ba "000" or "001": the integration DAB file is copied into the customer folder,
  // and the collection entry names the customer group; any other ba gets a new DAB file.
  bool CopiesIntegrationDab() const { return RunBa == "000" || RunBa == "001"; }
  // Customer group "021": the release takes the integration's files (.s19, .dcm and the
  // application's .hex) into the release folder, with no object store check, no
  // conservation files and no collection entry.
  bool ReleasesIntegrationFiles() const { return RunKundenGruppe == "021"; }
};

class Session {
 public:
  Session(Ui& ui, System& system, SiteSettings site)
      : ui(ui), system(system), site(std::move(site)), files(this->site.Drives), log(ui) {
    files.RecordIn(&record.files);
  }
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // Writes one run-log line (see RunLog).
  void WriteLogLine(const std::string& message) { log.WriteLogLine(message, env.BatchMode()); }

  Ui& ui;
  System& system;
  SiteSettings site;
  Files files;
  RunLog log;
  RunEnvironment env;
  MainState state;
  JobValues job;
  ParamTable params;
  SpecTable spec;
  RunRecord record;
};

}  // namespace quenda
