#include "gui/quenda_window.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "app/main_window.h"
#include "app/startup.h"
#include "gui/dialog_answerer.h"
#include "gui/qt_ui.h"
#include "platform/site_settings.h"
#include "session/session.h"
#include "support/fake_system.h"

namespace quenda {
namespace {

// A window on a session in a temporary folder, with the Qt Ui.
class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fixture.S();  // folders exist
    session = std::make_unique<Session>(
        ui, fixture.system, LoadSiteSettings("", fixture.dir.Path().string(), fixture.system));
    session->state.AktDirName = fixture.dir.File("cwd") + "/";
    model = std::make_unique<MainWindow>(*session);
    window = std::make_unique<QuendaWindow>(*session, *model);
    ui.SetLogViewListener([this] { window->SyncLog(); });
  }

  testing::SessionFixture fixture;
  testing::DialogAnswerer answers{{}};  // confirms the boxes that have only an OK button
  QtUi ui;
  std::unique_ptr<Session> session;
  std::unique_ptr<MainWindow> model;
  std::unique_ptr<QuendaWindow> window;
};

TEST_F(WindowTest, ControlsCarryTheirCaptionsAndDefaults) {
  EXPECT_EQ(window->windowTitle(), "Quenda");
  EXPECT_EQ(window->Label8->text(), "Quenda - Schnittstelle FLOW/SEU");
  EXPECT_EQ(window->Label1->text(), "XML-Datei");
  EXPECT_EQ(window->Text1->text(), "Text1");
  EXPECT_EQ(window->Label4->text(), QString::fromUtf8("Directory für Tarvell.bat"));
  EXPECT_EQ(window->BatDirectory->text(), "U:\\Freigaben");
  EXPECT_EQ(window->BatchAuswahl->text(), QString::fromUtf8("Info für Tarvell sammeln"));
  EXPECT_FALSE(window->BatchAuswahl->isChecked());
  EXPECT_EQ(window->StartButton->text(), "Start");
  EXPECT_EQ(window->EndeButton->text(), "Ende");
}

TEST_F(WindowTest, StartUpShowsLogLinesAndEditsReachTheModel) {
  window->Run([this] { Main(*session, *model); });
  ASSERT_FALSE(window->Finished());
  window->show();
  ASSERT_EQ(window->ListOutput->count(), 3);
  EXPECT_TRUE(window->ListOutput->item(0)->text().startsWith("DAM-S-QUENDA-STARTED V"));
  EXPECT_EQ(window->ListOutput->currentRow(), 2);
  EXPECT_TRUE(window->AktionText->text().startsWith("Windows-Directory = "));
  window->BatDirectory->setText("X:\\Sammeln");
  emit window->BatDirectory->textEdited(window->BatDirectory->text());
  window->BatchAuswahl->setChecked(true);
  EXPECT_EQ(model->BatDirectory, "X:\\Sammeln");
  EXPECT_TRUE(model->BatchAuswahl);
  QDir().mkpath(QUENDA_ARTIFACTS);
  EXPECT_TRUE(window->grab().save(QString(QUENDA_ARTIFACTS) + "/main-window-started.png"));
}

TEST_F(WindowTest, ActionTextAndLogLinesAreShownAsTheyAre) {
  window->Run([this] { Main(*session, *model); });
  session->WriteLogLine("Wert <b>x</b> & y");
  EXPECT_EQ(window->AktionText->textFormat(), Qt::PlainText);
  EXPECT_EQ(window->AktionText->text(), "Wert <b>x</b> & y");
  EXPECT_EQ(window->ListOutput->item(window->ListOutput->count() - 1)->text(), "Wert <b>x</b> & y");
}

TEST_F(WindowTest, EnterInATextBoxStartsNothing) {
  window->Run([this] { Main(*session, *model); });
  window->show();
  const int lines = window->ListOutput->count();
  const std::size_t dialogs = answers.Seen().size();  // the load's own boxes
  for (QLineEdit* box : {window->Text1, window->BatDirectory}) {
    box->setFocus();
    for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
      QKeyEvent key(type, Qt::Key_Return, Qt::NoModifier, "\r");
      QApplication::sendEvent(box, &key);
    }
    QApplication::processEvents();
    EXPECT_EQ(window->ListOutput->count(), lines)
        << (box == window->Text1 ? "Text1" : "BatDirectory");
    EXPECT_FALSE(window->Finished());
  }
  EXPECT_EQ(answers.Seen().size(), dialogs) << answers.Seen().back();
}

TEST_F(WindowTest, EndeButtonEndsTheRunThroughItsBox) {
  window->Run([this] { Main(*session, *model); });
  window->EndeButton->click();
  EXPECT_TRUE(window->Finished());
  EXPECT_EQ(window->ExitStatus(), 1);
  ASSERT_FALSE(answers.Seen().empty());
  EXPECT_EQ(answers.Seen().back(), "Abbruch: Bearbeitung wurde abgebrochen");
}

TEST_F(WindowTest, ClosingTheWindowEndsTheRun) {
  window->Run([this] { Main(*session, *model); });
  window->show();
  window->close();
  EXPECT_TRUE(window->Finished());
  ASSERT_FALSE(answers.Seen().empty());
  EXPECT_EQ(answers.Seen().back(), "Abbruch: Abbruch durch den Benutzer!");
}

}  // namespace
}  // namespace quenda
