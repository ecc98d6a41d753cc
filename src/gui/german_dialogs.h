// German texts for the buttons and labels of Qt's standard dialogs, whatever the machine's
// locale: the texts a German Windows shows in its own boxes, with their mnemonics.
#pragma once

#include <QMessageBox>
#include <QString>
#include <QTranslator>

class QCoreApplication;
class QFileDialog;
class QInputDialog;

namespace quenda {

// The German text of a standard button ("&Ja", "&Nein", "Abbrechen", "OK", ...); empty
// for a button that the system's boxes do not use.
QString GermanButtonText(QMessageBox::StandardButton button);

// Sets the German text of every standard button in `box`.
void UseGermanButtons(QMessageBox& box);
// "OK" and "Abbrechen".
void UseGermanButtons(QInputDialog& dialog);
// "Ö&ffnen", "Abbrechen" and the German labels of the Qt file dialog's own fields (a label
// without a field to jump to carries no mnemonic).
void UseGermanLabels(QFileDialog& dialog);

// German texts of the Qt file dialog (buttons, columns, places) for a machine without Qt's
// own German translations.
class GermanFallbackTranslator : public QTranslator {
 public:
  using QTranslator::QTranslator;
  bool isEmpty() const override { return false; }
  // The German text of `source` in `context`; empty for a text this table does not hold.
  QString translate(const char* context, const char* source, const char* disambiguation,
                    int n) const override;
};

// Makes every Qt text of `app` German: Qt's own translations (qtbase_de from Qt's
// translations folder) where they are installed, GermanFallbackTranslator below them.
// Returns false when Qt's own were not found.
bool InstallGermanTranslations(QCoreApplication& app);

}  // namespace quenda
