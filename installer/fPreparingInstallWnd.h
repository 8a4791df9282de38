// TpreparingInstallWnd: the small window with one line of text that the
// installer shows while it prepares itself, and that tells the progress of an
// installation run without the main window. It is created out of sight and
// lives until the program ends.
#ifndef SAVER_INSTALLER_PREPARING_INSTALL_WND_H
#define SAVER_INSTALLER_PREPARING_INSTALL_WND_H

#include <windows.h>

#include <string>

class TpreparingInstallWnd {
 public:
  // Creates the window, owned by the application window, at (-1560, -3000)
  // with the message "Preparing Installation...", sized and lettered for the
  // DPI of its monitor. Visible there unless visible is false (a silent run):
  // out of sight is not enough for one that must show nothing.
  TpreparingInstallWnd(HINSTANCE instance, bool visible);
  ~TpreparingInstallWnd();
  TpreparingInstallWnd(const TpreparingInstallWnd &) = delete;
  TpreparingInstallWnd &operator=(const TpreparingInstallWnd &) = delete;

  void setCaption(const std::string &caption);
  // Shows text at once, without waiting for the message loop.
  void setMessage(const std::string &text);
  void moveOffScreen();
  // Centres the window and lets it paint before the long steps that follow.
  void centerOnScreen();
  void repaint();

  HWND handle() const { return window_; }

 private:
  // The client area and the font at dpi; the window's left and top stay.
  void scaleTo(int dpi);
  static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND window_ = nullptr;
  HWND label1_ = nullptr;
  HFONT font_ = nullptr;
};

#endif
