#include "gui/summary_table.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QHeaderView>
#include <QTableWidget>
#include <QTextDocument>
#include <algorithm>
#include <set>

#include "app/run_summary.h"
#include "gui/qt_text.h"

namespace quenda {
namespace {

const QColor kEmptyBackground(255, 236, 179);

constexpr int kLongToolTip = 80;  // characters; a longer tooltip wraps within the screen

// Plain text where Qt shows it as such; otherwise escaped rich text, so that a value such
// as "<b>x</b>" shows as it is. Only rich text wraps, so a long text is made rich too.
QString ToolTipOf(const QString& text) {
  if (text == EmptyValueText()) return "Der Wert ist leer.";
  const bool longText = text.size() > kLongToolTip;
  if (!longText && !Qt::mightBeRichText(text)) return text;
  return QString("<p style='white-space:") + (longText ? "pre-wrap" : "pre") + "'>" +
         text.toHtmlEscaped() + "</p>";
}

QTableWidgetItem* NewCell(const QString& text) {
  auto* item = new QTableWidgetItem(text);
  item->setToolTip(ToolTipOf(text));
  if (text == EmptyValueText()) {
    item->setBackground(kEmptyBackground);
    QFont font = item->font();
    font.setItalic(true);
    item->setFont(font);
  }
  return item;
}

QString TsvField(QString text) {
  if (!text.contains('\t') && !text.contains('\n') && !text.contains('\r') && !text.contains('"'))
    return text;
  return '"' + text.replace('"', "\"\"") + '"';
}

}  // namespace

QString EmptyValueText() { return ToQt(ShownValue("")); }

QTableWidget* NewSummaryTable() {
  auto* table = new QTableWidget;
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionBehavior(QAbstractItemView::SelectItems);
  table->setSelectionMode(QAbstractItemView::ExtendedSelection);
  table->setTabKeyNavigation(false);  // Tab leaves the table, the arrow keys move in it
  table->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  table->verticalHeader()->setVisible(false);
  table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 4);
  table->setWordWrap(false);
  table->horizontalHeader()->setStretchLastSection(true);
  auto* copy = new QAction("&Kopieren", table);
  copy->setShortcut(QKeySequence::Copy);
  copy->setShortcutContext(Qt::WidgetShortcut);
  QObject::connect(copy, &QAction::triggered, table, [table] { CopySelectedCells(*table); });
  table->addAction(copy);
  table->setContextMenuPolicy(Qt::ActionsContextMenu);
  return table;
}

void FillSummaryTable(QTableWidget& table, const SummaryTable& content) {
  QStringList headers;
  for (const std::string& h : content.headers) headers << ToQt(h);
  table.setColumnCount(static_cast<int>(headers.size()));
  table.setHorizontalHeaderLabels(headers);
  table.setRowCount(static_cast<int>(content.rows.size()));
  for (int r = 0; r < table.rowCount(); ++r) {
    const auto& cells = content.rows[static_cast<std::size_t>(r)];
    for (int c = 0; c < static_cast<int>(cells.size()); ++c) {
      table.setItem(r, c, NewCell(ToQt(cells[static_cast<std::size_t>(c)])));
    }
  }
}

void FitSummaryColumns(QTableWidget& table, int widest) {
  table.resizeColumnsToContents();
  for (int c = 0; c + 1 < table.columnCount(); ++c) {
    table.setColumnWidth(c, std::min(table.columnWidth(c), widest));
  }
}

void FilterSummaryRows(QTableWidget& table, const QString& filter) {
  for (int r = 0; r < table.rowCount(); ++r) {
    bool match = filter.isEmpty();
    for (int c = 0; c < table.columnCount() && !match; ++c) {
      const QTableWidgetItem* item = table.item(r, c);
      match = item != nullptr && item->text().contains(filter, Qt::CaseInsensitive);
    }
    table.setRowHidden(r, !match);
  }
}

QString SelectedCellsAsTsv(const QTableWidget& table) {
  std::set<int> rows;
  std::set<int> columns;
  for (const QTableWidgetItem* item : table.selectedItems()) {
    if (table.isRowHidden(item->row())) continue;
    rows.insert(item->row());
    columns.insert(item->column());
  }
  QString text;
  for (int r : rows) {
    QStringList fields;
    for (int c : columns) {
      const QTableWidgetItem* item = table.item(r, c);
      fields << (item != nullptr && item->isSelected() ? TsvField(item->text()) : QString());
    }
    text += fields.join('\t') + '\n';
  }
  return text;
}

void CopySelectedCells(const QTableWidget& table) {
  QApplication::clipboard()->setText(SelectedCellsAsTsv(table));
}

}  // namespace quenda
