#include "gui/run_summary_view.h"

#include <QFontDatabase>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QStringList>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/run_summary.h"
#include "gui/qt_text.h"

namespace quenda {
namespace {

constexpr int kWidestColumn = 150;  // pixels; a wider text can be read by widening the column

QTableWidget* NewTable() {
  auto* table = new QTableWidget;
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  table->verticalHeader()->setVisible(false);
  table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 4);
  table->setWordWrap(false);
  table->horizontalHeader()->setStretchLastSection(true);
  return table;
}

QGroupBox* Framed(const char* title, QTableWidget* table) {
  auto* box = new QGroupBox(title);
  auto* layout = new QVBoxLayout(box);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(table);
  return box;
}

void Fill(QTableWidget& table, const SummaryTable& content) {
  QStringList headers;
  for (const std::string& h : content.headers) headers << ToQt(h);
  table.setColumnCount(headers.size());
  table.setHorizontalHeaderLabels(headers);
  table.setRowCount(static_cast<int>(content.rows.size()));
  for (int r = 0; r < table.rowCount(); ++r) {
    const auto& cells = content.rows[static_cast<std::size_t>(r)];
    for (int c = 0; c < static_cast<int>(cells.size()); ++c) {
      table.setItem(r, c, new QTableWidgetItem(ToQt(cells[static_cast<std::size_t>(c)])));
    }
  }
  table.resizeColumnsToContents();
  // A long rule or expression must not push the value out of sight.
  for (int c = 0; c + 1 < table.columnCount(); ++c) {
    table.setColumnWidth(c, std::min(table.columnWidth(c), kWidestColumn));
  }
}

}  // namespace

RunSummaryView::RunSummaryView(QWidget* parent) : QWidget(parent) {
  Parameters = NewTable();
  Slots = NewTable();
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(Framed("Parameter", Parameters), 1);
  layout->addWidget(Framed("Konservierung", Slots), 1);
  Show(RunSummary{});
}

void RunSummaryView::Show(const RunSummary& summary) {
  Fill(*Parameters, ParameterTable(summary));
  Fill(*Slots, SlotTable(summary));
}

}  // namespace quenda
