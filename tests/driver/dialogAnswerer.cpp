// Answering the modal dialogs of this process from a second thread.
#include "testDriver.h"

#include <algorithm>

namespace driver {
namespace {

// How often the thread looks for a new dialog; it waits on its stop event
// meanwhile, so ending it takes no longer than that.
const DWORD kPollMs = 10;

bool isGone(HWND window) { return !IsWindow(window); }

}  // namespace

DialogAnswerer::Answer clickAnswer(const std::string &caption) {
  return [caption](HWND dialog) {
    if (!caption.empty()) return clickButton(dialog, caption);
    const std::vector<std::string> captions = buttonCaptions(dialog);
    return !captions.empty() && clickButton(dialog, captions.front());
  };
}

DialogAnswerer::Answer keyAnswer(WPARAM virtualKey) {
  return [virtualKey](HWND dialog) {
    // The key goes where the keyboard would send it: the focused control.
    GUITHREADINFO input = {};
    input.cbSize = sizeof input;
    HWND target = dialog;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &input) && input.hwndFocus &&
        IsChild(dialog, input.hwndFocus))
      target = input.hwndFocus;
    return PostMessageA(target, WM_KEYDOWN, virtualKey, 1) != 0;
  };
}

DialogAnswerer::DialogAnswerer(const std::string &button) : DialogAnswerer(clickAnswer(button)) {}

DialogAnswerer::DialogAnswerer(Answer answer) : answer_(std::move(answer)) {
  InitializeCriticalSection(&lock_);
  stop_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  thread_ = CreateThread(nullptr, 0, run, this, 0, nullptr);
}

DialogAnswerer::~DialogAnswerer() {
  SetEvent(stop_);
  WaitForSingleObject(thread_, INFINITE);
  CloseHandle(thread_);
  CloseHandle(stop_);
  DeleteCriticalSection(&lock_);
}

std::vector<ShownDialog> DialogAnswerer::take() {
  EnterCriticalSection(&lock_);
  std::vector<ShownDialog> shown;
  shown.swap(shown_);
  LeaveCriticalSection(&lock_);
  return shown;
}

DWORD WINAPI DialogAnswerer::run(void *self) {
  DialogAnswerer &answerer = *static_cast<DialogAnswerer *>(self);
  while (WaitForSingleObject(answerer.stop_, kPollMs) == WAIT_TIMEOUT) answerer.answerNewDialogs();
  return 0;
}

// A dialog shows its texts before it becomes visible, so a visible one can be
// read at once. It is recorded and answered under the lock: the thread that
// showed it can only get past it, and ask take(), once both are done.
void DialogAnswerer::answerNewDialogs() {
  handled_.erase(std::remove_if(handled_.begin(), handled_.end(), isGone), handled_.end());
  const WindowQuery query = {"", "#32770", GetCurrentProcessId(), true};
  for (HWND dialog : findTopLevelWindows(query)) {
    if (std::find(handled_.begin(), handled_.end(), dialog) != handled_.end()) continue;
    handled_.push_back(dialog);
    ShownDialog shown;
    shown.caption = windowText(dialog);
    const std::vector<std::string> texts = staticTexts(dialog);
    if (!texts.empty()) shown.text = texts.front();
    shown.buttons = buttonCaptions(dialog);
    EnterCriticalSection(&lock_);
    shown.answered = answer_(dialog);
    // Closing it keeps the test from hanging on a dialog it did not expect.
    if (!shown.answered) PostMessageA(dialog, WM_CLOSE, 0, 0);
    shown_.push_back(shown);
    LeaveCriticalSection(&lock_);
  }
}

}  // namespace driver
