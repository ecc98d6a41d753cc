// German texts for the buttons and labels of Qt's standard dialogs, whatever the machine's
// locale: the texts a German Windows shows in its own boxes, with their mnemonics.
#pragma once

#include <QMessageBox>
#include <QString>

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
// "Ö&ffnen", "Abbrechen" and the German labels of the Qt file dialog's own fields.
void UseGermanLabels(QFileDialog& dialog);

}  // namespace quenda
