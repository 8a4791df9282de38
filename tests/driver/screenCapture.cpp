// Screenshots through GDI: the screen is copied into a top-down 32-bit DIB
// and repacked as RGB.
#include "testDriver.h"

namespace driver {
namespace {

bool readBitmap(HDC screen, HBITMAP bitmap, LONG width, LONG height, RgbImage *image) {
  BITMAPINFO format = {};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = width;
  format.bmiHeader.biHeight = -height;  // negative: rows from the top
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  format.bmiHeader.biCompression = BI_RGB;
  std::vector<uint8_t> bgrx(size_t(width) * height * 4);
  if (GetDIBits(screen, bitmap, 0, height, bgrx.data(), &format, DIB_RGB_COLORS) != height) return false;

  image->width = width;
  image->height = height;
  image->pixels.resize(size_t(width) * height * 3);
  for (size_t from = 0, to = 0; from < bgrx.size(); from += 4, to += 3) {
    image->pixels[to] = bgrx[from + 2];
    image->pixels[to + 1] = bgrx[from + 1];
    image->pixels[to + 2] = bgrx[from];
  }
  return true;
}

bool captureArea(const RECT &area, RgbImage *image) {
  const LONG width = area.right - area.left, height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return false;
  HDC screen = GetDC(nullptr);
  if (!screen) return false;
  bool captured = false;
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  if (memory && bitmap) {
    HGDIOBJ previous = SelectObject(memory, bitmap);
    const bool copied = BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY) != 0;
    SelectObject(memory, previous);  // GetDIBits needs the bitmap deselected
    captured = copied && readBitmap(screen, bitmap, width, height, image);
  }
  if (bitmap) DeleteObject(bitmap);
  if (memory) DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return captured;
}

RECT virtualScreen() {
  RECT screen;
  screen.left = GetSystemMetrics(SM_XVIRTUALSCREEN);
  screen.top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  screen.right = screen.left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
  screen.bottom = screen.top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
  return screen;
}

}  // namespace

bool captureScreen(RgbImage *image) { return captureArea(virtualScreen(), image); }

bool captureWindow(HWND window, RgbImage *image) {
  RECT bounds, visible;
  const RECT screen = virtualScreen();
  if (!GetWindowRect(window, &bounds) || !IntersectRect(&visible, &bounds, &screen)) return false;
  return captureArea(visible, image);
}

bool saveScreenshot(const std::string &pngPath) {
  RgbImage image;
  return captureScreen(&image) && writePng(pngPath, image);
}

}  // namespace driver
