// The dialog of the Vorschau: the plan of a Start for a person to read and search, with a
// button that copies it whole.
#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;
class QPlainTextEdit;

namespace quenda {

class PlanDialog : public QDialog {
 public:
  // `planText`: the plan as PlanText tells it.
  PlanDialog(const QString& planText, QWidget* parent);

  // Selects the next place of the search field's text after the cursor, from the top again
  // at the end; false when the text is nowhere.
  bool FindNext();

 private:
  QPlainTextEdit* text_;
  QLineEdit* search_;
};

}  // namespace quenda
