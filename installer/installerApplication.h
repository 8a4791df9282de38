// The installer as an application: its window in the task bar, its message
// loop, and the filter that every message of the loop and of the installer's
// pauses passes, so that a right click has no effect anywhere in the
// installer, on the movie too, and the main window works from the keyboard.
#ifndef SAVER_INSTALLER_INSTALLER_APPLICATION_H
#define SAVER_INSTALLER_INSTALLER_APPLICATION_H

#include <windows.h>

#include <string>

// The application window owns the installer's windows, so the task bar shows
// one button for the program, with the application's title. It has no size
// and stays out of sight; it is shown (in the task bar only) once a window
// of the installer comes on the screen, and never in a quiet installation.
void createApplicationWindow(HINSTANCE instance);
HWND applicationWindow();
// The window that a close of the application window (the task bar's
// "Close window", Alt+F4) is passed to; nullptr while there is none.
void setApplicationMainWindow(HWND window);
HWND applicationMainWindow();
void setApplicationTitle(const std::string &title);
void showApplicationInTaskBar();

// Translates and dispatches the message unless the installer discards it;
// the main window's keyboard is handled as a dialog's.
void dispatchUnlessDiscarded(const MSG &message);

// Handles the messages waiting now; a quit message stays for the loop.
void processPendingMessages();

// Runs until the application is told to end; returns the quit code.
int runMessageLoop();

// Gives the window the size, unless it has it: even a move that changes
// nothing is a round trip to the display.
void resizeWindow(HWND window, int width, int height);

// Makes window the foreground window when it is on the screen, else
// otherwise when that is (the preparing window while the main one is hidden).
void bringApplicationToFront(HWND window, HWND otherwise);

// The hourglass for as long as the scope runs (or until end): the start-up
// and an installation. Window procedures keep it against their class's
// arrow with setBusyCursorIfBusy in WM_SETCURSOR.
class BusyCursor {
 public:
  BusyCursor();
  ~BusyCursor();
  BusyCursor(const BusyCursor &) = delete;
  BusyCursor &operator=(const BusyCursor &) = delete;
  void end();

 private:
  HCURSOR remembered_;
  bool ended_ = false;
};

// True while a BusyCursor scope runs: the installer is in the middle of a
// sequence, which no close may cut short.
bool applicationBusy();
// Sets the hourglass when busy; the result is WM_SETCURSOR's.
bool setBusyCursorIfBusy();

#endif
