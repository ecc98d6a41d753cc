#include "gui_win32/window_capture.h"

#include <filesystem>
#include <fstream>
#include <set>
#include <vector>

namespace quenda {
namespace {

std::vector<unsigned char> ScreenPixels(const RECT& r, BITMAPINFOHEADER& header) {
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  SelectObject(memory, old);
  header = BITMAPINFOHEADER{};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  const int stride = (width * 3 + 3) & ~3;
  std::vector<unsigned char> pixels(static_cast<std::size_t>(stride) * height);
  GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(),
            reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

int CountColours(const std::vector<unsigned char>& pixels) {
  std::set<unsigned> seen;
  for (std::size_t i = 0; i + 2 < pixels.size() && seen.size() < 64; i += 3) {
    seen.insert(pixels[i] | pixels[i + 1] << 8 | pixels[i + 2] << 16);
  }
  return static_cast<int>(seen.size());
}

}  // namespace

CaptureResult CaptureWindow(HWND window, const std::string& bmpPath) {
  RECT r;
  if (!GetWindowRect(window, &r) || r.right <= r.left || r.bottom <= r.top) return {};
  BITMAPINFOHEADER header;
  const std::vector<unsigned char> pixels = ScreenPixels(r, header);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  std::filesystem::create_directories(std::filesystem::path(bmpPath).parent_path());
  std::ofstream out(bmpPath, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&header), sizeof header);
  out.write(reinterpret_cast<const char*>(pixels.data()),
            static_cast<std::streamsize>(pixels.size()));
  return CaptureResult{static_cast<bool>(out), CountColours(pixels)};
}

}  // namespace quenda
