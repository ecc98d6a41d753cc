#include "gui/german_dialogs.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QInputDialog>

namespace quenda {

QString GermanButtonText(QMessageBox::StandardButton button) {
  switch (button) {
    case QMessageBox::Ok:
      return "OK";
    case QMessageBox::Cancel:
      return "Abbrechen";
    case QMessageBox::Abort:
      return "&Abbrechen";
    case QMessageBox::Retry:
      return "&Wiederholen";
    case QMessageBox::Ignore:
      return "&Ignorieren";
    case QMessageBox::Yes:
      return "&Ja";
    case QMessageBox::No:
      return "&Nein";
    default:
      return {};
  }
}

void UseGermanButtons(QMessageBox& box) {
  for (QAbstractButton* button : box.buttons()) {
    const QString text = GermanButtonText(box.standardButton(button));
    if (!text.isEmpty()) button->setText(text);
  }
}

void UseGermanButtons(QInputDialog& dialog) {
  dialog.setOkButtonText("OK");
  dialog.setCancelButtonText("Abbrechen");
}

void UseGermanLabels(QFileDialog& dialog) {
  dialog.setLabelText(QFileDialog::Accept, QString::fromUtf8("Ö&ffnen"));
  dialog.setLabelText(QFileDialog::Reject, "Abbrechen");
  dialog.setLabelText(QFileDialog::LookIn, "Suchen in:");
  dialog.setLabelText(QFileDialog::FileName, "Datei&name:");
  dialog.setLabelText(QFileDialog::FileType, "Datei&typ:");
}

}  // namespace quenda
