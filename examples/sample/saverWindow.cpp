#include "examples/sample/saverWindow.h"

#include "common/pictureFile.h"
#include "common/windowClass.h"
#include "examples/sample/slideRules.h"

#include <windowsx.h>

#include <cmath>

const char SAVER_WINDOW_CLASS[] = "TSaverWindow";

namespace {

const UINT_PTR ANIMATION_TIMER = 1;
const UINT_PTR SLIDE_TIMER = 2;
const UINT_PTR PARENT_TIMER = 3;
const UINT ANIMATION_MS = 50;
const UINT PARENT_CHECK_MS = 250;
const int BAND_STRIP = 6;  // pixels per drawn column of a band

// One saver window per process; its state lives here.
struct SlideShow {
  SampleSettings settings;
  std::vector<std::string> pictures;
  size_t shown = 0;
  HBITMAP picture = nullptr;
  uint32_t step = 0;
  bool fullScreen = false;
  HWND parent = nullptr;
  bool mouseSeen = false;
  POINT firstMouse = {0, 0};
};

SlideShow show;

// Loads the next picture that decodes, trying each file at most once.
void advanceSlide() {
  if (show.picture != nullptr) DeleteObject(show.picture);
  show.picture = nullptr;
  for (size_t tried = 0; tried < show.pictures.size() && show.picture == nullptr; ++tried) {
    show.picture = loadPictureFile(show.pictures[show.shown]);
    show.shown = (show.shown + 1) % show.pictures.size();
  }
}

void drawAurora(HDC dc, int width, int height) {
  for (int band = 0; band < AURORA_BANDS; ++band) {
    for (int x = 0; x < width; x += BAND_STRIP) {
      const double wave = std::sin(x * 0.01 + show.step * 0.03 + band);
      const int centre = static_cast<int>(height * (0.3 + 0.2 * band) + wave * height * 0.08);
      const int swing = height / 40;
      const int half = height / 22 + static_cast<int>(swing * (1 + wave));
      RECT strip = {x, centre - half, x + BAND_STRIP, centre + half};
      HBRUSH brush = CreateSolidBrush(auroraColour(x, width, band, show.step));
      FillRect(dc, &strip, brush);
      DeleteObject(brush);
    }
  }
  if (show.settings.title.empty()) return;
  RECT line = {0, height * 5 / 6, width, height};
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(230, 240, 255));
  DrawTextA(dc, show.settings.title.c_str(), -1, &line, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
}

// Drawn into a memory bitmap first, so the screen never shows a half frame.
void paint(HWND window) {
  PAINTSTRUCT painting;
  HDC screen = BeginPaint(window, &painting);
  RECT client;
  GetClientRect(window, &client);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP frame = CreateCompatibleBitmap(screen, client.right, client.bottom);
  HGDIOBJ previous = SelectObject(dc, frame);
  FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  BITMAP size;
  if (show.picture != nullptr && GetObjectA(show.picture, sizeof size, &size) != 0) {
    const SlideRect place = fitPicture(size.bmWidth, size.bmHeight, client.right, client.bottom);
    const RECT area = {place.left, place.top, place.left + place.width, place.top + place.height};
    paintStretched(dc, show.picture, area);
  } else {
    drawAurora(dc, client.right, client.bottom);
  }
  BitBlt(screen, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
  SelectObject(dc, previous);
  DeleteObject(frame);
  DeleteDC(dc);
  EndPaint(window, &painting);
}

// Full screen, any key, click or real mouse move ends the saver.
bool endsTheSaver(UINT message, LPARAM lParam) {
  switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      return true;
    case WM_MOUSEMOVE: {
      const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
      if (!show.mouseSeen) {
        show.mouseSeen = true;
        show.firstMouse = {x, y};
        return false;
      }
      return movedBeyondThreshold(show.firstMouse.x, show.firstMouse.y, x, y);
    }
    default:
      return false;
  }
}

LRESULT CALLBACK saverWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (show.fullScreen && endsTheSaver(message, lParam)) {
    PostMessageA(window, WM_CLOSE, 0, 0);
    return 0;
  }
  switch (message) {
    case WM_CREATE:
      SetTimer(window, ANIMATION_TIMER, ANIMATION_MS, nullptr);
      if (!show.pictures.empty()) SetTimer(window, SLIDE_TIMER, show.settings.slideSeconds * 1000, nullptr);
      if (show.parent != nullptr) SetTimer(window, PARENT_TIMER, PARENT_CHECK_MS, nullptr);
      return 0;
    case WM_TIMER:
      if (wParam == PARENT_TIMER && !IsWindow(show.parent)) {
        DestroyWindow(window);
      } else if (wParam == SLIDE_TIMER) {
        advanceSlide();
        InvalidateRect(window, nullptr, FALSE);
      } else if (wParam == ANIMATION_TIMER && show.picture == nullptr) {
        ++show.step;
        InvalidateRect(window, nullptr, FALSE);
      }
      return 0;
    case WM_SETCURSOR:
      if (!show.fullScreen) break;
      SetCursor(nullptr);
      return TRUE;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      paint(window);
      return 0;
    case WM_DESTROY:
      if (show.picture != nullptr) DeleteObject(show.picture);
      show.picture = nullptr;
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

int32_t runWindow(DWORD exStyle, DWORD style, const RECT &place, HWND parent) {
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  if (!registerWindowClass(instance, SAVER_WINDOW_CLASS, saverWindowProcedure))
    return static_cast<int32_t>(GetLastError());
  if (!show.pictures.empty()) advanceSlide();
  HWND window = CreateWindowExA(exStyle, SAVER_WINDOW_CLASS, "", style, place.left, place.top,
                                place.right - place.left, place.bottom - place.top, parent, nullptr,
                                instance, nullptr);
  if (window == nullptr) return static_cast<int32_t>(GetLastError());
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}

}  // namespace

int32_t runFullScreen(const SampleSettings &settings, const std::vector<std::string> &pictures) {
  show.settings = settings;
  show.pictures = pictures;
  show.fullScreen = true;
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  const RECT screen = {left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                       top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  ShowCursor(FALSE);
  const int32_t status = runWindow(WS_EX_TOPMOST, WS_POPUP | WS_VISIBLE, screen, nullptr);
  ShowCursor(TRUE);
  return status;
}

int32_t runPreview(HWND parent, const SampleSettings &settings, const std::vector<std::string> &pictures) {
  if (!IsWindow(parent)) return ERROR_INVALID_WINDOW_HANDLE;
  show.settings = settings;
  show.pictures = pictures;
  show.parent = parent;
  RECT area;
  GetClientRect(parent, &area);
  // No WM_PARENTNOTIFY: the parent belongs to another program, which may be busy.
  return runWindow(WS_EX_NOPARENTNOTIFY, WS_CHILD | WS_VISIBLE, area, parent);
}
