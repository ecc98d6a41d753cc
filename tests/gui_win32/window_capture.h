// A screenshot of one window as the screen shows it, written as a 24-bit BMP file.
#pragma once

#include <windows.h>

#include <string>

namespace quenda {

struct CaptureResult {
  bool ok = false;
  int colours = 0;  // distinct colours seen (counted up to 64)
};

// Copies the window's screen area into `bmpPath` (native path, folder created).
CaptureResult CaptureWindow(HWND window, const std::string& bmpPath);

}  // namespace quenda
