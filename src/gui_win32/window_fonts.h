// The system's message font (Segoe UI 9 pt on current Windows) at a window's DPI, the bold
// title font and the fixed-pitch font derived from it, and text measured in them.
#pragma once

#include <windows.h>

#include <string>

#include "gui_win32/window_layout.h"

namespace quenda {

// The DPI of the monitor `window` is on (the system's DPI without a window).
int DpiOf(HWND window);

class WindowFonts {
 public:
  // The fonts at `dpi`; the fonts of the system stand in when they cannot be made.
  explicit WindowFonts(int dpi);
  ~WindowFonts();
  WindowFonts(const WindowFonts&) = delete;
  WindowFonts& operator=(const WindowFonts&) = delete;

  int Dpi() const { return dpi_; }
  HFONT Text() const { return text_; }
  HFONT Title() const { return title_; }
  // Fixed pitch at the message font's height (Consolas, or what the system maps it to),
  // for texts whose columns line up.
  HFONT Fixed() const { return fixed_; }

 private:
  int dpi_;
  HFONT text_ = nullptr;
  HFONT title_ = nullptr;
  HFONT fixed_ = nullptr;
};

// The size of `text` in `font` on `window`'s screen; wrapped at `wrapWidth` pixels when it
// is not 0 (a word longer than a line, a UNC path, is broken as an edit control breaks it).
Extent MeasureText(HWND window, HFONT font, const std::string& text, int wrapWidth = 0);

// One line of `font` in pixels.
int LineHeight(HWND window, HFONT font);

// Gives `control` the font and repaints it.
void SetControlFont(HWND control, HFONT font);

// Moves `control` to `box` (client coordinates of its parent).
void Place(HWND control, const Box& box);

}  // namespace quenda
