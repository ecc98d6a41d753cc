#include "gui/run_summary_view.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/run_summary.h"
#include "gui/summary_table.h"

namespace quenda {
namespace {

constexpr int kWidestColumn = 150;  // pixels; the tooltip and a wider column show the rest

QGroupBox* Framed(const char* title, QTableWidget* table) {
  auto* box = new QGroupBox(title);  // its mnemonic moves the focus into the table
  auto* layout = new QVBoxLayout(box);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(table);
  return box;
}

QString WidthsKey(const QTableWidget& table) { return "tables/" + table.objectName(); }

void SaveWidths(const QTableWidget& table, QSettings& settings) {
  QVariantList widths;
  for (int c = 0; c < table.columnCount(); ++c) widths << table.columnWidth(c);
  settings.setValue(WidthsKey(table), widths);
}

// True when `settings` held a width for every column of `table`.
bool RestoreWidths(QTableWidget& table, const QSettings& settings) {
  const QVariantList widths = settings.value(WidthsKey(table)).toList();
  if (widths.size() != table.columnCount()) return false;
  for (int c = 0; c < table.columnCount(); ++c) table.setColumnWidth(c, widths[c].toInt());
  return true;
}

void SizeOnce(QTableWidget& table, bool& sized) {
  if (sized || table.rowCount() == 0) return;
  FitSummaryColumns(table, kWidestColumn);
  sized = true;
}

}  // namespace

RunSummaryView::RunSummaryView(QWidget* parent) : QWidget(parent) {
  Filter = new QLineEdit;
  Filter->setClearButtonEnabled(true);
  Filter->setPlaceholderText("Text in einer Zelle der beiden Tabellen");
  auto* filterLabel = new QLabel("&Filter:");
  filterLabel->setBuddy(Filter);
  Parameters = NewSummaryTable();
  Parameters->setObjectName("Parameter");
  Slots = NewSummaryTable();
  Slots->setObjectName("Konservierung");
  Split = new QSplitter(Qt::Horizontal);
  Split->addWidget(Framed("&Parameter", Parameters));
  Split->addWidget(Framed("&Konservierung", Slots));
  Split->setChildrenCollapsible(false);
  auto* filterRow = new QHBoxLayout;
  filterRow->addWidget(filterLabel);
  filterRow->addWidget(Filter, 1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addLayout(filterRow);
  layout->addWidget(Split, 1);
  connect(Filter, &QLineEdit::textChanged, this, [this] { ApplyFilter(); });
  Show(RunSummary{});
}

void RunSummaryView::Show(const RunSummary& summary) {
  FillSummaryTable(*Parameters, ParameterTable(summary));
  FillSummaryTable(*Slots, SlotTable(summary));
  SizeOnce(*Parameters, parametersSized_);
  SizeOnce(*Slots, slotsSized_);
  ApplyFilter();
}

void RunSummaryView::ApplyFilter() {
  FilterSummaryRows(*Parameters, Filter->text());
  FilterSummaryRows(*Slots, Filter->text());
}

void RunSummaryView::RestoreLayout(const QSettings& settings) {
  Split->restoreState(settings.value("tables/split").toByteArray());
  parametersSized_ = parametersSized_ || RestoreWidths(*Parameters, settings);
  slotsSized_ = slotsSized_ || RestoreWidths(*Slots, settings);
}

void RunSummaryView::SaveLayout(QSettings& settings) const {
  settings.setValue("tables/split", Split->saveState());
  if (parametersSized_) SaveWidths(*Parameters, settings);
  if (slotsSized_) SaveWidths(*Slots, settings);
}

}  // namespace quenda
