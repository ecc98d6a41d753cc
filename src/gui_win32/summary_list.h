// A list view in report mode that shows one table of the run summary: its headers as
// columns, its cells as rows, in a fixed-pitch font.
#pragma once

#include <windows.h>

namespace quenda {

struct SummaryTable;

// Creates the read-only list view as a child of `parent` at `r` (left, top, width, height).
HWND CreateSummaryList(HWND parent, RECT r, int id);

// Replaces the columns and rows of `list` by those of `table`.
void ShowSummaryTable(HWND list, const SummaryTable& table);

}  // namespace quenda
