#include "gui_win32/window_fonts.h"

namespace quenda {
namespace {

// SystemParametersInfoForDpi has no ANSI form: the metrics are the Unicode structure.
LOGFONTW MessageFontAt(int dpi) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0,
                                 static_cast<UINT>(dpi))) {
    return metrics.lfMessageFont;
  }
  LOGFONTW font{};  // 9 pt Segoe UI, as current Windows sets it
  font.lfHeight = -MulDiv(9, dpi, 72);
  font.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(font.lfFaceName, L"Segoe UI", LF_FACESIZE);
  return font;
}

}  // namespace

int DpiOf(HWND window) {
  const UINT dpi = window != nullptr ? GetDpiForWindow(window) : GetDpiForSystem();
  return dpi != 0 ? static_cast<int>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

WindowFonts::WindowFonts(int dpi) : dpi_(dpi) {
  LOGFONTW font = MessageFontAt(dpi);
  text_ = CreateFontIndirectW(&font);
  font.lfWeight = FW_BOLD;
  font.lfHeight = font.lfHeight * 3 / 2;
  title_ = CreateFontIndirectW(&font);
  font = MessageFontAt(dpi);
  font.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
  lstrcpynW(font.lfFaceName, L"Consolas", LF_FACESIZE);
  fixed_ = CreateFontIndirectW(&font);
  if (fixed_ == nullptr) fixed_ = static_cast<HFONT>(GetStockObject(ANSI_FIXED_FONT));
  if (text_ == nullptr) text_ = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  if (title_ == nullptr) title_ = text_;
}

WindowFonts::~WindowFonts() {
  // Stock objects need no deleting; DeleteObject ignores them.
  if (title_ != text_) DeleteObject(title_);
  DeleteObject(fixed_);
  DeleteObject(text_);
}

Extent MeasureText(HWND window, HFONT font, const std::string& text, int wrapWidth) {
  HDC dc = GetDC(window);
  HGDIOBJ old = SelectObject(dc, font);
  RECT r{0, 0, wrapWidth, 0};
  UINT format = DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS;
  if (wrapWidth > 0) format |= DT_WORDBREAK | DT_EDITCONTROL;
  DrawTextA(dc, text.empty() ? " " : text.c_str(), -1, &r, format);
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  return {static_cast<int>(r.right - r.left), static_cast<int>(r.bottom - r.top)};
}

int LineHeight(HWND window, HFONT font) {
  HDC dc = GetDC(window);
  HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  return static_cast<int>(tm.tmHeight);
}

void SetControlFont(HWND control, HFONT font) {
  SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void Place(HWND control, const Box& box) {
  SetWindowPos(control, nullptr, box.x, box.y, box.width, box.height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace quenda
