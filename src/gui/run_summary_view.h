// The read-only view of what the run computed: the parameter table and the conservation
// slots of a RunSummary side by side (divided by a splitter), values in a monospace font,
// with a filter field over both tables. Column widths and the division are kept per user.
#pragma once

#include <QWidget>

class QLineEdit;
class QSettings;
class QSplitter;
class QTableWidget;

namespace quenda {

struct RunSummary;

class RunSummaryView : public QWidget {
 public:
  explicit RunSummaryView(QWidget* parent = nullptr);

  // Replaces both tables' rows by those of `summary`; the filter stays applied.
  void Show(const RunSummary& summary);

  // The division and the column widths from `settings` (where they fit), or into it.
  void RestoreLayout(const QSettings& settings);
  void SaveLayout(QSettings& settings) const;

  QLineEdit* Filter;
  QTableWidget* Parameters;
  QTableWidget* Slots;
  QSplitter* Split;

 private:
  void ApplyFilter();

  bool parametersSized_ = false;  // widths set: by the user's settings or once from contents
  bool slotsSized_ = false;
};

}  // namespace quenda
