#include "gui/quenda_window.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSet>

#include "app/main_window.h"
#include "app/window_driver.h"
#include "gui/dialog_answerer.h"
#include "gui/qt_text.h"
#include "gui/qt_ui.h"
#include "gui/window_layout.h"
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
  EXPECT_EQ(window->Label1->text(), "&" + ToQt(model.Captions.Label1));
  EXPECT_EQ(window->Text1->text(), ToQt(model.Text1));
  EXPECT_EQ(window->Label4->text(), "&" + ToQt(model.Captions.Label4));
  EXPECT_EQ(window->Label4->text(), QString::fromUtf8("&Directory für Tarvell.bat"))
      << "the CP1252 caption reaches Qt with its umlaut";
  EXPECT_EQ(window->BatDirectory->text(), ToQt(model.BatDirectory));
  EXPECT_EQ(window->BatchAuswahl->text(), "&" + ToQt(model.Captions.BatchAuswahl));
  EXPECT_FALSE(window->BatchAuswahl->isChecked());
  EXPECT_EQ(window->StartButton->text(), "&" + ToQt(model.Captions.StartButton));
  EXPECT_EQ(window->EndeButton->text(), "&" + ToQt(model.Captions.EndeButton));
  EXPECT_EQ(window->VorschauButton->text(), "&Vorschau");
}

// Alt and the underlined letter reach every control, each letter once.
TEST_F(WindowTest, MnemonicsReachEveryControl) {
  EXPECT_EQ(window->Label1->buddy(), window->Text1);
  EXPECT_EQ(window->Label4->buddy(), window->BatDirectory);
  QStringList texts = {window->BatchAuswahl->text(), window->StartButton->text(),
                       window->EndeButton->text(), window->VorschauButton->text()};
  for (QLabel* label : window->findChildren<QLabel*>()) {
    if (!label->text().contains('&')) continue;
    EXPECT_NE(label->buddy(), nullptr) << label->text().toStdString();
    texts << label->text();
  }
  for (QGroupBox* box : window->findChildren<QGroupBox*>()) texts << box->title();
  EXPECT_EQ(texts.size(), 9) << texts.join(", ").toStdString();
  QSet<QChar> letters;
  for (const QString& text : texts) {
    const qsizetype at = text.indexOf('&');
    ASSERT_GE(at, 0) << text.toStdString();
    EXPECT_FALSE(letters.contains(text[at + 1].toLower())) << "twice: " << text.toStdString();
    letters.insert(text[at + 1].toLower());
  }
}

// The offscreen screen is 800 x 600: the first window and one remembered larger than the
// screen both lie inside the room it offers, frame included.
TEST_F(WindowTest, TheWindowFitsItsScreen) {
  const QRect room = window->screen()->availableGeometry().adjusted(kFrameSide, kFrameTop,
                                                                    -kFrameSide, -kFrameSide);
  EXPECT_TRUE(room.contains(window->geometry()))
      << window->geometry().width() << "x" << window->geometry().height();
  EXPECT_LE(window->minimumSizeHint().height(), room.height());
  EXPECT_LE(window->minimumSizeHint().width(), room.width());
  window->setGeometry(-300, -200, 2400, 1500);
  window->SaveLayout();
  QuendaWindow next(*driver);
  EXPECT_TRUE(room.contains(next.geometry())) << next.geometry().x() << "," << next.geometry().y();
  window->setGeometry(room.adjusted(10, 10, -10, -10));
  window->SaveLayout();
  QuendaWindow again(*driver);
  EXPECT_EQ(again.geometry(), room.adjusted(10, 10, -10, -10)) << "kept where it was left";
  WindowSettings().clear();
}

TEST(WindowLayout, AWindowIsFittedIntoTheRoomOfItsScreen) {
  const QRect screen(0, 0, 1066, 666);  // 1600 x 1000 at 150 %
  const QRect room = screen.adjusted(kFrameSide, kFrameTop, -kFrameSide, -kFrameSide);
  struct Case {
    QRect wanted;
    QRect fitted;
  } cases[] = {
      {QRect(100, 100, 600, 400), QRect(100, 100, 600, 400)},
      {room, room},
      {room.adjusted(0, 0, 1, 1), room},
      {QRect(-50, -50, 600, 400), QRect(room.topLeft(), QSize(600, 400))},
      {QRect(900, 500, 600, 400), QRect(room.right() + 1 - 600, room.bottom() + 1 - 400, 600, 400)},
      {QRect(0, 0, 1800, 1170), room},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FitIntoScreen(c.wanted, screen), c.fitted)
        << c.wanted.x() << "," << c.wanted.y() << " " << c.wanted.width() << "x"
        << c.wanted.height();
  }
  const QRect first = FirstGeometry(QSize(1200, 780), screen);
  EXPECT_EQ(first.size(), room.size());
  EXPECT_TRUE(room.contains(first));
  const QRect small = FirstGeometry(QSize(600, 400), screen);
  EXPECT_EQ(small.center(), screen.center());
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
