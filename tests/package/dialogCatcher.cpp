#include "dialogCatcher.h"

#include "common/dialogs/messageDialog.h"
#include "testDriver.h"

DialogCatcher::DialogCatcher() {
  InitializeCriticalSection(&lock_);
  thread_ = CreateThread(nullptr, 0, watch, this, 0, nullptr);
}

DialogCatcher::~DialogCatcher() {
  InterlockedExchange(&stop_, 1);
  WaitForSingleObject(thread_, INFINITE);
  CloseHandle(thread_);
  DeleteCriticalSection(&lock_);
}

std::vector<CaughtDialog> DialogCatcher::take() {
  EnterCriticalSection(&lock_);
  std::vector<CaughtDialog> caught;
  caught.swap(caught_);
  LeaveCriticalSection(&lock_);
  return caught;
}

DWORD WINAPI DialogCatcher::watch(void *self) {
  DialogCatcher &catcher = *static_cast<DialogCatcher *>(self);
  const driver::WindowQuery query = {"", "#32770", GetCurrentProcessId(), true};
  while (InterlockedCompareExchange(&catcher.stop_, 0, 0) == 0) {
    HWND dialog = driver::findTopLevelWindow(query);
    if (dialog == nullptr) {
      Sleep(20);
      continue;
    }
    CaughtDialog caught;
    caught.caption = driver::windowText(dialog);
    caught.text = driver::windowText(GetDlgItem(dialog, MESSAGE_DIALOG_TEXT_ID));
    caught.buttons = driver::buttonCaptions(dialog);
    EnterCriticalSection(&catcher.lock_);
    catcher.caught_.push_back(caught);
    LeaveCriticalSection(&catcher.lock_);
    if (!caught.buttons.empty()) driver::clickButton(dialog, caught.buttons.front());
    driver::waitForWindowGone(dialog, 5000);
  }
  return 0;
}
