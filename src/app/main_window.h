// The main window as a model without any toolkit: the controls' texts and states, the
// run-log view, and the window's commands. Front ends bind their widgets to it.
#pragma once

#include <string>
#include <vector>

#include "session/run_log.h"

namespace quenda {

class Session;

// The captions of the window and of its fixed controls (CP1252), the same in every
// front end.
struct MainWindowCaptions {
  std::string Caption = "Quenda";
  std::string Label8 = "Quenda - Schnittstelle FLOW/SEU";
  std::string Label1 = "XML-Datei";
  std::string Label4 = "Directory f\xFCr Tarvell.bat";
  std::string BatchAuswahl = "Info f\xFCr Tarvell sammeln";
  std::string StartButton = "Start";
  std::string EndeButton = "Ende";
};

class MainWindow : public LogView {
 public:
  explicit MainWindow(Session& session);

  const MainWindowCaptions Captions;

  // Controls and their defaults.
  std::string Text1 = "Text1";
  std::string BatDirectory = "U:\\Freigaben";
  bool BatchAuswahl = false;
  std::vector<std::string> ListOutput;
  int ListIndex = -1;  // the selected entry of ListOutput
  std::string AktionText;

  bool Loaded() const { return loaded_; }

  // The list side of the run log. The first touch loads the window; the load sequence
  // has run to its end before the line is added.
  void AddLogLine(const std::string& line) override;

  // The load sequence; runs once: configuration selection, the run-wide copies of ba and
  // customer group, the parameter columns, and the transfer-file dialog when no job was
  // given. An error shows its number and description and ends the sequence early.
  void Load();

  // Start: the run sequence. Returns when only the command ended (the window stays).
  void StartPressed();
  // Ende: writes the receiver section of the INI file, then ends the run. Never returns.
  [[noreturn]] void EndePressed();
  // The user closed the window. Never returns.
  [[noreturn]] void CloseRequested();

 private:
  // The open-file dialog for the transfer file. False (after the box "Fehler bei
  // Dialogbox!") when it was cancelled or failed.
  bool AskForTransferFile();

  Session& s_;
  bool loaded_ = false;
};

}  // namespace quenda
