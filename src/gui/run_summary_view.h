// The read-only view of what the run computed: the parameter table and the conservation
// slots of a RunSummary, side by side, values in a monospace font.
#pragma once

#include <QWidget>

class QTableWidget;

namespace quenda {

struct RunSummary;
struct SummaryTable;

class RunSummaryView : public QWidget {
 public:
  explicit RunSummaryView(QWidget* parent = nullptr);

  // Replaces both tables' rows by those of `summary`.
  void Show(const RunSummary& summary);

  QTableWidget* Parameters;
  QTableWidget* Slots;
};

}  // namespace quenda
