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
#include "gui/qt_text.h"
#include "gui/run_summary_view.h"
#include "session/session.h"

namespace quenda {

QuendaWindow::QuendaWindow(WindowDriver& driver) : driver_(driver), model_(driver.model()) {
  setWindowTitle(ToQt(model_.Captions.Caption));
  BuildLayout();
  BindControls();
  SyncFromModel();
}

void QuendaWindow::BuildLayout() {
  const MainWindowCaptions& captions = model_.Captions;
  Label8 = new QLabel(ToQt(captions.Label8));
  QFont titleFont = Label8->font();
  titleFont.setBold(true);
  titleFont.setPointSize(titleFont.pointSize() + 4);
  Label8->setFont(titleFont);
  Label1 = new QLabel(ToQt(captions.Label1));
  Text1 = new QLineEdit;
  Label4 = new QLabel(ToQt(captions.Label4));
  BatDirectory = new QLineEdit;
  BatchAuswahl = new QCheckBox(ToQt(captions.BatchAuswahl));
  StartButton = new QPushButton(ToQt(captions.StartButton));
  EndeButton = new QPushButton(ToQt(captions.EndeButton));
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
  connect(StartButton, &QPushButton::clicked, this, [this] { driver_.Start(); });
  connect(EndeButton, &QPushButton::clicked, this, [this] { driver_.Ende(); });
}

void QuendaWindow::SyncFromModel() {
  Text1->setText(ToQt(model_.Text1));
  BatDirectory->setText(ToQt(model_.BatDirectory));
  BatchAuswahl->setChecked(model_.BatchAuswahl);
  SyncLog();
  SyncSummary();
}

void QuendaWindow::SyncSummary() {
  Summary->Show(BuildRunSummary(driver_.session()));
  Summary->repaint();
}

void QuendaWindow::SyncLog() {
  for (const std::string& line :
       driver_.NewLogLines(static_cast<std::size_t>(ListOutput->count()))) {
    ListOutput->addItem(ToQt(line));
  }
  ListOutput->setCurrentRow(model_.ListIndex);
  AktionText->setText(ToQt(model_.AktionText));
  ListOutput->repaint();
  AktionText->repaint();
}

void QuendaWindow::RunFinished(int exitStatus) {
  // Outside the event loop (a run that ended while loading) Qt would keep the quit request
  // and let every later modal dialog of the process return at once.
  if (QThread::currentThread()->loopLevel() > 0) QApplication::exit(exitStatus);
}

int QuendaWindow::ShowAndWait() {
  show();
  return QApplication::exec();
}

void QuendaWindow::closeEvent(QCloseEvent* event) {
  if (driver_.Finished()) {
    event->accept();
    return;
  }
  event->ignore();
  driver_.Close();
}

}  // namespace quenda
