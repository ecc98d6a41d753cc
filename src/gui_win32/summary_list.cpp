#include "gui_win32/summary_list.h"

#include <commctrl.h>

#include <string>

#include "app/run_summary.h"
#include "gui_win32/window_fonts.h"

namespace quenda {
namespace {

constexpr int kHeaderPadding = 16;  // 1/96 inch: the header's margins around a caption

void ReplaceColumns(HWND list, const SummaryTable& table) {
  while (SendMessageA(list, LVM_DELETECOLUMN, 0, 0)) {
  }
  for (std::size_t c = 0; c < table.headers.size(); ++c) {
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT;
    column.pszText = const_cast<char*>(table.headers[c].c_str());
    SendMessageA(list, LVM_INSERTCOLUMNA, c, reinterpret_cast<LPARAM>(&column));
  }
}

void AddRow(HWND list, int row, const std::vector<std::string>& cells) {
  for (std::size_t c = 0; c < cells.size(); ++c) {
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = static_cast<int>(c);
    item.pszText = const_cast<char*>(cells[c].c_str());
    SendMessageA(list, c == 0 ? LVM_INSERTITEMA : LVM_SETITEMTEXTA, c == 0 ? 0 : row,
                 reinterpret_cast<LPARAM>(&item));
  }
}

}  // namespace

HWND CreateSummaryList(HWND parent, int id) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  HWND list = CreateWindowExA(
      WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
      WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, 0, 0, 0,
      0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr),
      nullptr);
  SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  return list;
}

void FitColumns(HWND list) {
  HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
  const auto columns = static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
  const int padding = ScaleToDpi(kHeaderPadding, DpiOf(list));
  for (int c = 0; c < columns; ++c) {
    // The widest cell, or the caption with the header's margins when it is wider.
    SendMessageA(list, LVM_SETCOLUMNWIDTH, c, LVSCW_AUTOSIZE);
    char caption[128] = "";
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT;
    column.pszText = caption;
    column.cchTextMax = sizeof caption;
    SendMessageA(list, LVM_GETCOLUMNA, c, reinterpret_cast<LPARAM>(&column));
    const auto captionWidth = static_cast<int>(
        SendMessageA(list, LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(caption)));
    const auto cells = static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, c, 0));
    if (captionWidth + padding > cells) {
      SendMessageA(list, LVM_SETCOLUMNWIDTH, c, captionWidth + padding);
    }
  }
}

void ShowSummaryTable(HWND list, const SummaryTable& table) {
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
  ReplaceColumns(list, table);
  for (std::size_t r = 0; r < table.rows.size(); ++r) {
    AddRow(list, static_cast<int>(r), table.rows[r]);
  }
  FitColumns(list);
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

}  // namespace quenda
