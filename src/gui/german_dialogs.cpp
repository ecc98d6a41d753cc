#include "gui/german_dialogs.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLibraryInfo>
#include <QLocale>

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
  dialog.setLabelText(QFileDialog::FileType, "Dateityp:");
}

namespace {

struct FallbackText {
  const char* context;
  const char* source;
  const char* german;  // UTF-8
};

constexpr FallbackText kFallbackTexts[] = {
    {"QFileSystemModel", "Name", "Name"},
    {"QFileSystemModel", "Size", "Größe"},
    {"QFileSystemModel", "Type", "Typ"},
    {"QFileSystemModel", "Date Modified", "Änderungsdatum"},
    {"QFileSystemModel", "Computer", "Computer"},
    {"QFileSystemModel", "My Computer", "Mein Computer"},
    {"QFileDialog", "Back", "Zurück"},
    {"QFileDialog", "Forward", "Vorwärts"},
    {"QFileDialog", "Parent Directory", "Übergeordnetes Verzeichnis"},
    {"QFileDialog", "Create New Folder", "Neuen Ordner erstellen"},
    {"QFileDialog", "List View", "Liste"},
    {"QFileDialog", "Detail View", "Details"},
    {"QFileDialog", "Sidebar", "Seitenleiste"},
    {"QFileDialog", "Recent Places", "Zuletzt besucht"},
    {"QFileDialog", "New Folder", "Neues Verzeichnis"},
    {"QFileDialog", "&New Folder", "&Neues Verzeichnis"},
    {"QFileDialog", "&Rename", "&Umbenennen"},
    {"QFileDialog", "&Delete", "&Löschen"},
    {"QFileDialog", "Show &hidden files", "&Versteckte Dateien anzeigen"},
};

}  // namespace

QString GermanFallbackTranslator::translate(const char* context, const char* source,
                                            const char* /*disambiguation*/, int /*n*/) const {
  for (const FallbackText& t : kFallbackTexts) {
    if (qstrcmp(context, t.context) == 0 && qstrcmp(source, t.source) == 0) {
      return QString::fromUtf8(t.german);
    }
  }
  return {};
}

bool InstallGermanTranslations(QCoreApplication& app) {
  QCoreApplication::installTranslator(new GermanFallbackTranslator(&app));
  auto* own = new QTranslator(&app);
  if (!own->load(QLocale(QLocale::German), "qtbase", "_",
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    return false;
  }
  QCoreApplication::installTranslator(own);  // searched first
  return true;
}

}  // namespace quenda
