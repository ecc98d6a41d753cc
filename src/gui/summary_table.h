// One table of the run summary on a QTableWidget: read-only cells with their full text as
// tooltip, empty values marked, copy of the selected cells as tab-separated text (Ctrl+C
// and the context menu), rows hidden by a filter, Tab moving on to the next control.
#pragma once

#include <QString>

class QTableWidget;

namespace quenda {

struct SummaryTable;

// A new, empty table set up as above; the caller owns it (or gives it a parent).
QTableWidget* NewSummaryTable();

// Replaces the headers and rows of `table` by those of `content`; column widths stay.
void FillSummaryTable(QTableWidget& table, const SummaryTable& content);

// Sizes the columns to their contents, none but the last wider than `widest` pixels.
void FitSummaryColumns(QTableWidget& table, int widest);

// Hides the rows of which no cell contains `filter` (ignoring letter case); an empty
// filter shows every row.
void FilterSummaryRows(QTableWidget& table, const QString& filter);

// The selected cells of the shown rows as tab-separated text: one line (ended by "\n") per
// row holding a selected cell, one field per column holding one (empty where that row's
// cell is not selected). A field with a tab, a line end or a double quote is put in double
// quotes, its quotes doubled. Empty without a selection.
QString SelectedCellsAsTsv(const QTableWidget& table);

// Puts SelectedCellsAsTsv of `table` on the clipboard.
void CopySelectedCells(const QTableWidget& table);

// The text that marks a value as empty in the tables (the value between ">" and "<").
QString EmptyValueText();

}  // namespace quenda
