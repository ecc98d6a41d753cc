// The main window on Qt 6 Widgets. It binds its widgets to the MainWindow model and owns
// nothing else; every way out of the program goes through its driver. It opens within the
// room of its screen, divided by splitters, where the user last left it.
#pragma once

#include <QWidget>

#include "app/window_driver.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSplitter;

namespace quenda {

class RunSummaryView;

class QuendaWindow : public QWidget, public WindowView {
 public:
  // The (hidden) window bound to the driver's model; `driver` must outlive it.
  explicit QuendaWindow(WindowDriver& driver);

  void SyncFromModel() override;
  void SyncLog() override;
  void SyncSummary() override;
  // A finished run ends the event loop with its status.
  void RunFinished(int exitStatus) override;
  int ShowAndWait() override;

  // The controls, named as the model names them (the GUI test uses them).
  QLabel* Label8;
  QLabel* Label1;
  QLineEdit* Text1;
  QLabel* Label4;
  QLineEdit* BatDirectory;
  QCheckBox* BatchAuswahl;
  QPushButton* StartButton;
  QPushButton* EndeButton;
  QPushButton* VorschauButton;  // the plan of a Start, shown before it (Alt+V)
  QListWidget* ListOutput;
  QLabel* AktionText;
  RunSummaryView* Summary;  // read-only: parameters and conservation slots
  QSplitter* Split;         // between the run log and the summary

  // Keeps place, size, divisions and column widths for the next start (WindowSettings).
  void SaveLayout() const;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildLayout();
  void BindControls();
  // Runs the Vorschau and shows its plan.
  void ShowPreview();
  // The remembered place fitted into its screen, or the first place on this screen.
  void PlaceOnScreen();

  WindowDriver& driver_;
  MainWindow& model_;
};

}  // namespace quenda
