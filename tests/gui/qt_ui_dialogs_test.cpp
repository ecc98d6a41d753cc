// The Qt window's dialogs speak German whatever the machine's locale, take the default
// button and icon from the style number, and show their texts as plain text.
#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>
#include <functional>
#include <map>

#include "gui/german_dialogs.h"
#include "gui/qt_ui.h"

// Failed assertions show Qt texts as text.
inline void PrintTo(const QString& text, std::ostream* os) { *os << text.toStdString(); }

namespace quenda {
namespace {

// Runs `inspect` on the first modal dialog that shows while `open` runs, then rejects it.
void WithDialog(const std::function<void()>& open, const std::function<void(QWidget&)>& inspect) {
  bool seen = false;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || seen) return;
    seen = true;
    inspect(*modal);
    if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
  });
  timer.start(10);
  open();
  EXPECT_TRUE(seen) << "no dialog showed";
}

using B = QMessageBox;

struct BoxCase {
  int style;
  std::map<B::StandardButton, QString> buttons;
  B::StandardButton defaultButton;
  B::Icon icon;
};

TEST(QtUiDialogs, MessageBoxesShowGermanButtonsTheDefaultAndTheIcon) {
  const BoxCase cases[] = {
      {0, {{B::Ok, "OK"}}, B::Ok, B::NoIcon},
      {1 + 16, {{B::Ok, "OK"}, {B::Cancel, "Abbrechen"}}, B::Ok, B::Critical},
      {1 + 256, {{B::Ok, "OK"}, {B::Cancel, "Abbrechen"}}, B::Cancel, B::NoIcon},
      {2 + 48 + 512,
       {{B::Abort, "&Abbrechen"}, {B::Retry, "&Wiederholen"}, {B::Ignore, "&Ignorieren"}},
       B::Ignore,
       B::Warning},
      {3 + 32, {{B::Yes, "&Ja"}, {B::No, "&Nein"}, {B::Cancel, "Abbrechen"}}, B::Yes, B::Question},
      {3 + 32 + 256,
       {{B::Yes, "&Ja"}, {B::No, "&Nein"}, {B::Cancel, "Abbrechen"}},
       B::No,
       B::Question},
      {4 + 64 + 256, {{B::Yes, "&Ja"}, {B::No, "&Nein"}}, B::No, B::Information},
      {5 + 48, {{B::Retry, "&Wiederholen"}, {B::Cancel, "Abbrechen"}}, B::Retry, B::Warning},
  };
  QtUi ui;
  for (const BoxCase& c : cases) {
    WithDialog([&] { ui.MsgBox("Frage", c.style, "Titel"); },
               [&](QWidget& w) {
                 auto* box = qobject_cast<QMessageBox*>(&w);
                 ASSERT_NE(box, nullptr) << "style " << c.style;
                 EXPECT_EQ(box->buttons().size(), static_cast<qsizetype>(c.buttons.size()))
                     << "style " << c.style;
                 for (const auto& [button, text] : c.buttons) {
                   ASSERT_NE(box->button(button), nullptr) << "style " << c.style;
                   EXPECT_EQ(box->button(button)->text(), text) << "style " << c.style;
                 }
                 EXPECT_EQ(box->defaultButton(), box->button(c.defaultButton))
                     << "style " << c.style;
                 EXPECT_EQ(box->icon(), c.icon) << "style " << c.style;
               });
  }
}

TEST(QtUiDialogs, YesNoCancelBoxIsCapturedAsScreenshot) {
  QtUi ui;
  const std::string text =
      "Ja = anh\xE4ngen der aktuellen Bearbeitung\r\nNein = l\xF6schen der vorhandenen Info";
  WithDialog([&] { ui.MsgBox(text, 3 + 32 + 256, "Tarvell.bat"); },
             [](QWidget& w) {
               w.adjustSize();
               QDir().mkpath(QUENDA_ARTIFACTS);
               EXPECT_TRUE(w.grab().save(QString(QUENDA_ARTIFACTS) + "/message-box.png"));
             });
}

TEST(QtUiDialogs, MessageTextIsShownAsPlainText) {
  QtUi ui;
  WithDialog([&] { ui.MsgBox("Wert <b>x</b> & y", 0, "Titel"); },
             [](QWidget& w) {
               auto* box = qobject_cast<QMessageBox*>(&w);
               ASSERT_NE(box, nullptr);
               EXPECT_EQ(box->textFormat(), Qt::PlainText);
               EXPECT_EQ(box->text(), "Wert <b>x</b> & y");
             });
}

TEST(QtUiDialogs, InputBoxShowsGermanButtonsAndAPlainPrompt) {
  QtUi ui;
  WithDialog([&] { ui.InputBox("Taste <Abbrechen>", "Testmodus", "V1"); },
             [](QWidget& w) {
               auto* input = qobject_cast<QInputDialog*>(&w);
               ASSERT_NE(input, nullptr);
               EXPECT_EQ(input->okButtonText(), "OK");
               EXPECT_EQ(input->cancelButtonText(), "Abbrechen");
               auto* box = input->findChild<QDialogButtonBox*>();
               ASSERT_NE(box, nullptr);
               EXPECT_EQ(box->button(QDialogButtonBox::Ok)->text(), "OK");
               EXPECT_EQ(box->button(QDialogButtonBox::Cancel)->text(), "Abbrechen");
               EXPECT_TRUE(box->button(QDialogButtonBox::Ok)->isDefault()) << "Enter confirms";
               bool promptShown = false;
               for (QLabel* label : input->findChildren<QLabel*>()) {
                 if (label->text() != "Taste <Abbrechen>") continue;
                 promptShown = true;
                 EXPECT_EQ(label->textFormat(), Qt::PlainText);
               }
               EXPECT_TRUE(promptShown) << "the prompt is not shown as given";
             });
}

TEST(QtUiDialogs, FileDialogShowsGermanLabels) {
  QtUi ui;
  FileDialogRequest request;
  request.title = "Auswahl Transferdatei";
  request.filter = "Transferdatei (*.xml)|*.xml|Alle Dateien (*.*)|*.*|";
  WithDialog(
      [&] { EXPECT_FALSE(ui.OpenFile(request).has_value()); },
      [](QWidget& w) {
        auto* files = qobject_cast<QFileDialog*>(&w);
        ASSERT_NE(files, nullptr);
        EXPECT_EQ(files->labelText(QFileDialog::Accept), QString::fromUtf8("Ö&ffnen"));
        EXPECT_EQ(files->labelText(QFileDialog::Reject), "Abbrechen");
        EXPECT_EQ(files->labelText(QFileDialog::FileName), "Datei&name:");
        EXPECT_EQ(files->labelText(QFileDialog::FileType), "Dateityp:");
        for (QLabel* label : files->findChildren<QLabel*>()) {
          if (label->text().contains('&')) {
            EXPECT_NE(label->buddy(), nullptr) << "a literal & in " << label->text().toStdString();
          }
        }
        QTreeView* details = files->findChild<QTreeView*>();
        ASSERT_NE(details, nullptr);
        const QAbstractItemModel* model = details->model();
        EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), QString::fromUtf8("Größe"));
        EXPECT_EQ(model->headerData(3, Qt::Horizontal).toString(),
                  QString::fromUtf8("Änderungsdatum"));
      });
}

TEST(QtUiDialogs, GermanFallbackTextsWhereQtHasNone) {
  GermanFallbackTranslator fallback;
  EXPECT_EQ(fallback.translate("QFileSystemModel", "Size", nullptr, -1),
            QString::fromUtf8("Größe"));
  EXPECT_EQ(fallback.translate("QFileDialog", "Back", nullptr, -1), QString::fromUtf8("Zurück"));
  EXPECT_EQ(fallback.translate("QFileDialog", "Unknown text", nullptr, -1), "");
  EXPECT_EQ(fallback.translate("QFileSystemModel", "Back", nullptr, -1), "") << "other context";
}

}  // namespace
}  // namespace quenda
