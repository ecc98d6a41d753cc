// A list view in report mode that shows one table of the run summary: its headers as
// columns, its cells as rows, each column as wide as its widest text.
#pragma once

#include <windows.h>

namespace quenda {

struct SummaryTable;

// Creates the read-only list view as a child of `parent`; the window's layout places it.
HWND CreateSummaryList(HWND parent, int id);

// Sizes every column to its widest cell or header (again after the font has changed).
void FitColumns(HWND list);

// Replaces the columns and rows of `list` by those of `table`.
void ShowSummaryTable(HWND list, const SummaryTable& table);

}  // namespace quenda
