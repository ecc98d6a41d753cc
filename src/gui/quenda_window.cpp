#include "gui/quenda_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>

#include "app/main_window.h"
#include "app/run_summary.h"
#include "app/window_driver.h"
#include "base/error.h"
#include "gui/qt_text.h"
#include "gui/run_summary_view.h"
#include "session/session.h"
#include "session/termination.h"

namespace quenda {

QuendaWindow::QuendaWindow(Session& session, MainWindow& model) : session_(session), model_(model) {
  setWindowTitle("Quenda");
  BuildLayout();
  BindControls();
  SyncFromModel();
}

void QuendaWindow::BuildLayout() {
  Label8 = new QLabel("Quenda - Schnittstelle FLOW/SEU");
  QFont titleFont = Label8->font();
  titleFont.setBold(true);
  titleFont.setPointSize(titleFont.pointSize() + 4);
  Label8->setFont(titleFont);
  Label1 = new QLabel("XML-Datei");
  Text1 = new QLineEdit;
  Label4 = new QLabel(QString::fromUtf8("Directory für Tarvell.bat"));
  BatDirectory = new QLineEdit;
  BatchAuswahl = new QCheckBox(QString::fromUtf8("Info für Tarvell sammeln"));
  StartButton = new QPushButton("Start");
  EndeButton = new QPushButton("Ende");
  ListOutput = new QListWidget;
  AktionText = new QLabel;
  AktionText->setTextFormat(Qt::PlainText);
  AktionText->setFrameShape(QFrame::StyledPanel);
  AktionText->setMinimumHeight(AktionText->sizeHint().height() + 6);
  Summary = new RunSummaryView;

  auto* fields = new QGridLayout;
  fields->addWidget(Label1, 0, 0);
  fields->addWidget(Text1, 0, 1);
  fields->addWidget(Label4, 1, 0);
  fields->addWidget(BatDirectory, 1, 1);
  fields->addWidget(BatchAuswahl, 2, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(StartButton);
  buttons->addWidget(EndeButton);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Label8);
  layout->addLayout(fields);
  layout->addLayout(buttons);
  layout->addWidget(ListOutput, 1);
  layout->addWidget(AktionText);
  layout->addWidget(Summary, 3);
  StartButton->setDefault(true);
  resize(1200, 780);
}

void QuendaWindow::BindControls() {
  connect(Text1, &QLineEdit::textEdited, this,
          [this](const QString& t) { model_.Text1 = FromQt(t); });
  connect(BatDirectory, &QLineEdit::textEdited, this,
          [this](const QString& t) { model_.BatDirectory = FromQt(t); });
  connect(BatchAuswahl, &QCheckBox::toggled, this, [this](bool on) { model_.BatchAuswahl = on; });
  connect(StartButton, &QPushButton::clicked, this,
          [this] { Run([this] { model_.StartPressed(); }); });
  connect(EndeButton, &QPushButton::clicked, this,
          [this] { Run([this] { model_.EndePressed(); }); });
}

void QuendaWindow::SyncFromModel() {
  Text1->setText(ToQt(model_.Text1));
  BatDirectory->setText(ToQt(model_.BatDirectory));
  BatchAuswahl->setChecked(model_.BatchAuswahl);
  SyncLog();
  SyncSummary();
}

void QuendaWindow::SyncSummary() {
  Summary->Show(BuildRunSummary(session_));
  Summary->repaint();
}

void QuendaWindow::SyncLog() {
  for (int i = ListOutput->count(); i < static_cast<int>(model_.ListOutput.size()); ++i) {
    ListOutput->addItem(ToQt(model_.ListOutput[static_cast<std::size_t>(i)]));
  }
  ListOutput->setCurrentRow(model_.ListIndex);
  AktionText->setText(ToQt(model_.AktionText));
  ListOutput->repaint();
  AktionText->repaint();
}

void QuendaWindow::Run(const std::function<void()>& command) {
  if (const auto exitStatus = RunWindowCommand(session_, command)) {
    Finish(*exitStatus);
    return;
  }
  session_.ui.SetBusy(false);
  SyncFromModel();
}

void QuendaWindow::Finish(int exitStatus) {
  finished_ = true;
  exitStatus_ = exitStatus;
  session_.ui.SetBusy(false);
  // Outside the event loop (a run that ended while loading) Qt would keep the quit request
  // and let every later modal dialog of the process return at once.
  if (QThread::currentThread()->loopLevel() > 0) QApplication::exit(exitStatus);
}

void QuendaWindow::closeEvent(QCloseEvent* event) {
  if (finished_) {
    event->accept();
    return;
  }
  event->ignore();
  Run([this] { model_.CloseRequested(); });
}

}  // namespace quenda
