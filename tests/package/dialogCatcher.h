// Answers the dialogs that the operations under test show, from a second
// thread, and keeps what they said. Each dialog is closed with its first
// button, the way a user who reads and dismisses it would.
#ifndef SAVER_TESTS_PACKAGE_DIALOG_CATCHER_H
#define SAVER_TESTS_PACKAGE_DIALOG_CATCHER_H

#include <windows.h>

#include <string>
#include <vector>

struct CaughtDialog {
  std::string caption;
  std::string text;
  std::vector<std::string> buttons;
};

class DialogCatcher {
 public:
  DialogCatcher();
  ~DialogCatcher();
  DialogCatcher(const DialogCatcher &) = delete;
  DialogCatcher &operator=(const DialogCatcher &) = delete;

  // The dialogs shown so far; the list is emptied.
  std::vector<CaughtDialog> take();

 private:
  static DWORD WINAPI watch(void *self);

  HANDLE thread_;
  CRITICAL_SECTION lock_;
  volatile LONG stop_ = 0;
  std::vector<CaughtDialog> caught_;
};

#endif
