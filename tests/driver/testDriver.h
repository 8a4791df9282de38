// Test driver for the end-to-end tests under Wine: starts programs, finds
// their windows, reads and clicks dialogs, sends them messages and takes
// screenshots. Everything a call opens is closed before it returns, except
// the process handle a TestProgram keeps for its lifetime.
#ifndef SAVER_TESTS_DRIVER_TEST_DRIVER_H
#define SAVER_TESTS_DRIVER_TEST_DRIVER_H

#include <windows.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "pngWriter.h"

namespace driver {

// ---- Programs ----

// A program under test. A program still running when its TestProgram goes
// away is ended, so a failed test leaves no process behind.
class TestProgram {
 public:
  TestProgram() = default;
  ~TestProgram();
  TestProgram(const TestProgram &) = delete;
  TestProgram &operator=(const TestProgram &) = delete;

  // Starts the command line (program first, quoted when it holds blanks) in
  // workingFolder, or in the test's own folder when that is empty.
  bool start(const std::string &commandLine, const std::string &workingFolder = "");
  // Takes charge of a process started by someone else, e.g. by the launcher.
  bool attach(DWORD processId);

  DWORD processId() const { return processId_; }
  bool running() const;
  // True when the program has ended within timeoutMs; its exit code then
  // goes to *exitCode unless that is null.
  bool waitForExit(DWORD timeoutMs, DWORD *exitCode);
  void terminate();

 private:
  void release();

  HANDLE process_ = nullptr;
  DWORD processId_ = 0;
};

// "Z:\dir\file" for a host path "/dir/file" (Wine maps the host root to Z:);
// any other text unchanged.
std::string windowsPathOf(const std::string &hostPath);

// ---- Windows ----

// Which top-level window to look for; empty or zero fields match anything.
// Dialogs set their texts before they are shown, so ask for a visible window
// before reading them, e.g. {"Error", "#32770", 0, true} for an error box.
struct WindowQuery {
  std::string title;      // exact caption
  std::string className;  // window class, any letter case
  DWORD processId = 0;    // owning process
  bool mustBeVisible = false;
};

HWND findTopLevelWindow(const WindowQuery &query);
// All matching windows, in Z order.
std::vector<HWND> findTopLevelWindows(const WindowQuery &query);
// Polls until a matching window exists; nullptr after timeoutMs.
HWND waitForTopLevelWindow(const WindowQuery &query, DWORD timeoutMs);
bool waitForWindowGone(HWND window, DWORD timeoutMs);
DWORD processIdOfWindow(HWND window);

// The text of any window, also one of another process (asked with
// WM_GETTEXT, so a hung program cannot block the test), in UTF-8.
std::string windowText(HWND window);
std::string windowClassName(HWND window);

// ---- Dialogs ----

struct DialogControl {
  HWND window;
  int id;
  std::string className;
  std::string text;
};

// All controls below the dialog, nested ones included, in Z order.
std::vector<DialogControl> dialogControls(HWND dialog);
// Texts of the static controls (pictures and icons left out), in Z order.
std::vector<std::string> staticTexts(HWND dialog);
// Captions of the buttons (group boxes left out), in Z order, with "&".
std::vector<std::string> buttonCaptions(HWND dialog);

// Clicks a button by posting BN_CLICKED to its parent, which also works for
// a modal dialog of another process. The caption is compared without "&"
// marks, so "Abort" finds "&Abort". False when there is no such button or a
// user could not click it (it or a window around it is disabled, as the
// owner of an open modal dialog is).
bool clickButton(HWND dialog, const std::string &caption);
bool clickButtonById(HWND dialog, int controlId);

// ---- Dialogs of this process, answered from a second thread ----

// What a dialog showed when it was answered.
struct ShownDialog {
  std::string caption;
  std::string text;                  // its first static text: a message box's message
  std::vector<std::string> buttons;  // captions, with "&"
  bool answered = false;             // false: no such button, so it was closed instead
};

// A modal dialog blocks the thread that shows it, so a test answers it from
// a second thread. While a DialogAnswerer lives, its thread answers every
// dialog box (class "#32770") of this process once it is visible, each one
// once, and keeps what it showed. The dialog is recorded before it is
// answered, so when the call that showed it returns, take() has it; a test
// sees that no dialog appeared from take() being empty, without waiting.
class DialogAnswerer {
 public:
  // Works the open dialog; true when it gave the answer the test wanted.
  using Answer = std::function<bool(HWND dialog)>;

  // Clicks the button with this caption ("&" marks ignored), or the first
  // button when it is empty. A dialog without that button is closed, as with
  // its close box, and recorded as not answered.
  explicit DialogAnswerer(const std::string &button = "");
  explicit DialogAnswerer(Answer answer);
  ~DialogAnswerer();
  DialogAnswerer(const DialogAnswerer &) = delete;
  DialogAnswerer &operator=(const DialogAnswerer &) = delete;

  // The dialogs answered so far, in order; the list is emptied.
  std::vector<ShownDialog> take();

 private:
  static DWORD WINAPI run(void *self);
  void answerNewDialogs();

  Answer answer_;
  HANDLE stop_;
  HANDLE thread_;
  CRITICAL_SECTION lock_;
  std::vector<ShownDialog> shown_;
  std::vector<HWND> handled_;
};

// Answers for DialogAnswerer: a click by caption, or a key pressed in the
// dialog's focused control (Enter, Escape), which the dialog handles as the
// keyboard would.
DialogAnswerer::Answer clickAnswer(const std::string &caption);
DialogAnswerer::Answer keyAnswer(WPARAM virtualKey);

// ---- Messages ----

// Sends WM_COPYDATA synchronously, as the installer does, and waits up to
// timeoutMs for the receiver to finish. The reply goes to *reply.
bool sendCopyData(HWND target, HWND sender, ULONG_PTR tag, const void *bytes, DWORD byteCount,
                  DWORD timeoutMs, LRESULT *reply);
// The text with its terminating NUL, tag 0.
bool sendCopyDataText(HWND target, HWND sender, const std::string &text, DWORD timeoutMs, LRESULT *reply);
bool postMessageTo(HWND target, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

// ---- Screen ----

bool captureScreen(RgbImage *image);
// The window's rectangle as it appears on the screen.
bool captureWindow(HWND window, RgbImage *image);
// The whole screen into a PNG file.
bool saveScreenshot(const std::string &pngPath);

// ---- Installed savers ----

// Folders as the installer finds them, each ending in a backslash.
std::string specialFolder(int csidl);
std::string systemFolder();
std::string sysnativeFolder();  // "" on 32-bit Windows
std::string sharedSaverFolder();

// Whether a file or folder is there.
bool pathExists(const std::string &path);
// A registry text value; "" when it or its key is missing.
std::string registryText(HKEY root, const std::string &key, const char *name);

// What an installation of one saver places.
struct InstalledSaver {
  std::string codedName;                 // names its folder and its program
  std::string uninstallTitle;            // its uninstall entry's key
  std::vector<std::string> sharedFiles;  // files of its own in the shared folder
};
// Takes away whatever of it is there and clears the active saver, so a
// failed test leaves the next one a clean machine.
void removeInstalledSaver(const InstalledSaver &saver);

// Removes the work folders (those holding a run's lock file) that runs ended
// by force in earlier tests left: the next launcher or installer removes
// them, a change a test comparing listings must not count as its own.
void removeWorkFoldersOfEndedRuns();

// What an installation may change on the machine, one line each: the
// drive's files and folders (outside the temporary folders and the
// launcher's work folders), the uninstall entries, the shared-library
// counts, the orders for the next start and the active saver.
std::set<std::string> prefixListing();
// The lines gone and new, one a line; "" when the listings are the same.
std::string listingDifference(const std::set<std::string> &before, const std::set<std::string> &after);

}  // namespace driver

#endif
