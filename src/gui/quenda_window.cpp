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
#include <QScreen>
#include <QSplitter>
#include <QThread>
#include <QVBoxLayout>

#include "app/main_window.h"
#include "app/run_summary.h"
#include "gui/plan_dialog.h"
#include "gui/qt_text.h"
#include "gui/run_summary_view.h"
#include "gui/window_layout.h"
#include "session/session.h"

namespace quenda {
namespace {

constexpr QSize kPreferredSize(1200, 780);

// A caption of the model with a mnemonic on its first letter ("&" in it doubled).
QString WithMnemonic(const std::string& caption) { return "&" + ToQt(caption).replace("&", "&&"); }

// The run log (the list above its latest line) over the summary; the summary gets the
// larger share of new room.
QSplitter* LogOverSummary(QWidget* list, QWidget* latest, QWidget* summary) {
  auto* log = new QWidget;
  auto* logLayout = new QVBoxLayout(log);
  logLayout->setContentsMargins(0, 0, 0, 0);
  logLayout->addWidget(list, 1);
  logLayout->addWidget(latest);
  auto* split = new QSplitter(Qt::Vertical);
  split->addWidget(log);
  split->addWidget(summary);
  split->setStretchFactor(0, 1);
  split->setStretchFactor(1, 3);
  split->setChildrenCollapsible(false);
  return split;
}

}  // namespace

QuendaWindow::QuendaWindow(WindowDriver& driver) : driver_(driver), model_(driver.model()) {
  setWindowTitle(ToQt(model_.Captions.Caption));
  BuildLayout();
  BindControls();
  SyncFromModel();
  PlaceOnScreen();
}

void QuendaWindow::BuildLayout() {
  const MainWindowCaptions& captions = model_.Captions;
  Label8 = new QLabel(ToQt(captions.Label8));
  QFont titleFont = Label8->font();
  titleFont.setBold(true);
  titleFont.setPointSize(titleFont.pointSize() + 4);
  Label8->setFont(titleFont);
  Label1 = new QLabel(WithMnemonic(captions.Label1));
  Text1 = new QLineEdit;
  Label1->setBuddy(Text1);
  Label4 = new QLabel(WithMnemonic(captions.Label4));
  BatDirectory = new QLineEdit;
  Label4->setBuddy(BatDirectory);
  BatchAuswahl = new QCheckBox(WithMnemonic(captions.BatchAuswahl));
  StartButton = new QPushButton(WithMnemonic(captions.StartButton));
  EndeButton = new QPushButton(WithMnemonic(captions.EndeButton));
  VorschauButton = new QPushButton("&Vorschau");
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
  buttons->addWidget(VorschauButton);
  buttons->addWidget(StartButton);
  buttons->addWidget(EndeButton);
  Split = LogOverSummary(ListOutput, AktionText, Summary);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Label8);
  layout->addLayout(fields);
  layout->addLayout(buttons);
  layout->addWidget(Split, 1);
  // No default button: outside a dialog it would change only the look, and Enter in a text
  // box starts nothing. Start runs when pressed, or by Space when it has the focus.
}

void QuendaWindow::PlaceOnScreen() {
  const WindowSettings settings;
  const QRect saved = settings.value("window/geometry").toRect();
  const QScreen* there = saved.isValid() ? QGuiApplication::screenAt(saved.center()) : nullptr;
  const QRect available = (there != nullptr ? there : screen())->availableGeometry();
  setGeometry(saved.isValid() ? FitIntoScreen(saved, available)
                              : FirstGeometry(kPreferredSize, available));
  Split->restoreState(settings.value("window/split").toByteArray());
  Summary->RestoreLayout(settings);
}

void QuendaWindow::SaveLayout() const {
  WindowSettings settings;
  settings.setValue("window/geometry", geometry());
  settings.setValue("window/split", Split->saveState());
  Summary->SaveLayout(settings);
}

void QuendaWindow::BindControls() {
  connect(Text1, &QLineEdit::textEdited, this,
          [this](const QString& t) { model_.Text1 = FromQt(t); });
  connect(BatDirectory, &QLineEdit::textEdited, this,
          [this](const QString& t) { model_.BatDirectory = FromQt(t); });
  connect(BatchAuswahl, &QCheckBox::toggled, this, [this](bool on) { model_.BatchAuswahl = on; });
  connect(StartButton, &QPushButton::clicked, this, [this] { driver_.Start(); });
  connect(EndeButton, &QPushButton::clicked, this, [this] { driver_.Ende(); });
  connect(VorschauButton, &QPushButton::clicked, this, [this] { ShowPreview(); });
}

void QuendaWindow::ShowPreview() {
  const QString plan = QString::fromStdString(driver_.Preview());
  PlanDialog dialog(plan, this);
  dialog.exec();
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
  if (isVisible()) SaveLayout();
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
