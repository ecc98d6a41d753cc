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
#include "app/window_driver.h"
#include "gui/dialog_answerer.h"
#include "gui/qt_text.h"
#include "gui/qt_ui.h"
#include "session/session.h"
#include "support/fake_system.h"

namespace quenda {
namespace {

// A window on a session in a temporary folder, with the Qt Ui.
class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    session = fixture.SessionFor(ui);
    driver = std::make_unique<WindowDriver>(*session, ui);
    window = std::make_unique<QuendaWindow>(*driver);
    driver->Attach(*window);
  }

  testing::SessionFixture fixture;
  testing::DialogAnswerer answers{{}};  // confirms the boxes that have only an OK button
  QtUi ui;
  std::unique_ptr<Session> session;
  std::unique_ptr<WindowDriver> driver;
  std::unique_ptr<QuendaWindow> window;
};

TEST_F(WindowTest, ControlsCarryTheirCaptionsAndDefaults) {
  const MainWindow& model = driver->model();
  EXPECT_EQ(window->windowTitle(), ToQt(model.Captions.Caption));
  EXPECT_EQ(window->Label8->text(), ToQt(model.Captions.Label8));
  EXPECT_EQ(window->Label1->text(), ToQt(model.Captions.Label1));
  EXPECT_EQ(window->Text1->text(), ToQt(model.Text1));
  EXPECT_EQ(window->Label4->text(), ToQt(model.Captions.Label4));
  EXPECT_EQ(window->Label4->text(), QString::fromUtf8("Directory für Tarvell.bat"))
      << "the CP1252 caption reaches Qt with its umlaut";
  EXPECT_EQ(window->BatDirectory->text(), ToQt(model.BatDirectory));
  EXPECT_EQ(window->BatchAuswahl->text(), ToQt(model.Captions.BatchAuswahl));
  EXPECT_FALSE(window->BatchAuswahl->isChecked());
  EXPECT_EQ(window->StartButton->text(), ToQt(model.Captions.StartButton));
  EXPECT_EQ(window->EndeButton->text(), ToQt(model.Captions.EndeButton));
}

TEST_F(WindowTest, StartUpShowsLogLinesAndEditsReachTheModel) {
  driver->Load();
  ASSERT_FALSE(driver->Finished());
  window->show();
  ASSERT_EQ(window->ListOutput->count(), 3);
  EXPECT_TRUE(window->ListOutput->item(0)->text().startsWith("DAM-S-QUENDA-STARTED V"));
  EXPECT_EQ(window->ListOutput->currentRow(), 2);
  EXPECT_TRUE(window->AktionText->text().startsWith("Windows-Directory = "));
  window->BatDirectory->setText("X:\\Sammeln");
  emit window->BatDirectory->textEdited(window->BatDirectory->text());
  window->BatchAuswahl->setChecked(true);
  EXPECT_EQ(driver->model().BatDirectory, "X:\\Sammeln");
  EXPECT_TRUE(driver->model().BatchAuswahl);
  QDir().mkpath(QUENDA_ARTIFACTS);
  EXPECT_TRUE(window->grab().save(QString(QUENDA_ARTIFACTS) + "/main-window-started.png"));
}

TEST_F(WindowTest, ActionTextAndLogLinesAreShownAsTheyAre) {
  driver->Load();
  session->WriteLogLine("Wert <b>x</b> & y");
  EXPECT_EQ(window->AktionText->textFormat(), Qt::PlainText);
  EXPECT_EQ(window->AktionText->text(), "Wert <b>x</b> & y");
  EXPECT_EQ(window->ListOutput->item(window->ListOutput->count() - 1)->text(), "Wert <b>x</b> & y");
}

TEST_F(WindowTest, EnterInATextBoxStartsNothing) {
  driver->Load();
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
    EXPECT_FALSE(driver->Finished());
  }
  EXPECT_EQ(answers.Seen().size(), dialogs) << answers.Seen().back();
}

TEST_F(WindowTest, EndeButtonEndsTheRunThroughItsBox) {
  driver->Load();
  window->EndeButton->click();
  EXPECT_TRUE(driver->Finished());
  EXPECT_EQ(driver->ExitStatus(), 1);
  ASSERT_FALSE(answers.Seen().empty());
  EXPECT_EQ(answers.Seen().back(), "Abbruch: Bearbeitung wurde abgebrochen");
}

TEST_F(WindowTest, ClosingTheWindowEndsTheRun) {
  driver->Load();
  window->show();
  window->close();
  EXPECT_TRUE(driver->Finished());
  ASSERT_FALSE(answers.Seen().empty());
  EXPECT_EQ(answers.Seen().back(), "Abbruch: Abbruch durch den Benutzer!");
}

}  // namespace
}  // namespace quenda
