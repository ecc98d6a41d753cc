// The main window on Qt 6 Widgets. It binds its widgets to the MainWindow model and owns
// nothing else; every way out of the program goes through Finish.
#pragma once

#include <QWidget>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace quenda {

class MainWindow;
class RunSummaryView;
class Session;

class QuendaWindow : public QWidget {
 public:
  QuendaWindow(Session& session, MainWindow& model);

  // Widgets from the model (after loading and after each command).
  void SyncFromModel();
  // The log list and action label from the model, repainted at once.
  void SyncLog();
  // The summary view from what the session has computed, repainted at once.
  void SyncSummary();
  // Runs a command of the model; a finished run ends the event loop with its status.
  void Run(const std::function<void()>& command);

  bool Finished() const { return finished_; }
  int ExitStatus() const { return exitStatus_; }

  // The controls, named as the model names them (the GUI test uses them).
  QLabel* Label8;
  QLabel* Label1;
  QLineEdit* Text1;
  QLabel* Label4;
  QLineEdit* BatDirectory;
  QCheckBox* BatchAuswahl;
  QPushButton* StartButton;
  QPushButton* EndeButton;
  QListWidget* ListOutput;
  QLabel* AktionText;
  RunSummaryView* Summary;  // read-only: parameters and conservation slots

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void Finish(int exitStatus);
  void BuildLayout();
  void BindControls();

  Session& session_;
  MainWindow& model_;
  bool finished_ = false;
  int exitStatus_ = 1;
};

}  // namespace quenda
