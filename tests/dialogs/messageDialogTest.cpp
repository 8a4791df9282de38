// Shows real dialogs and works them from a second thread, the way a test
// driver does: find the window, read its texts, click or type.
#include "common/dialogs/messageDialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

enum class Action { ClickLast, ClickFirst, PressEnter, PressEscape };

struct SeenDialog {
  std::string caption, text;
  std::vector<std::pair<int, std::string>> buttons;
  bool textAboveButtons = false;
};

struct Watch {
  Action action;
  SeenDialog seen;
  bool found = false;
};

std::string windowText(HWND window) {
  char buffer[1024] = "";
  GetWindowTextA(window, buffer, sizeof(buffer));
  return buffer;
}

BOOL CALLBACK collectButton(HWND child, LPARAM lParam) {
  char className[32] = "";
  GetClassNameA(child, className, sizeof(className));
  if (lstrcmpiA(className, "Button") == 0)
    reinterpret_cast<SeenDialog *>(lParam)->buttons.push_back({GetDlgCtrlID(child), windowText(child)});
  return TRUE;
}

HWND findOwnDialog() {
  for (HWND window = FindWindowExA(nullptr, nullptr, "#32770", nullptr); window != nullptr;
       window = FindWindowExA(nullptr, window, "#32770", nullptr)) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId() && IsWindowVisible(window)) return window;
  }
  return nullptr;
}

DWORD WINAPI workDialog(void *parameter) {
  Watch &watch = *static_cast<Watch *>(parameter);
  HWND dialog = nullptr;
  for (int tries = 0; tries < 200 && dialog == nullptr; ++tries) {
    Sleep(50);
    dialog = findOwnDialog();
  }
  if (dialog == nullptr) return 0;
  watch.found = true;
  watch.seen.caption = windowText(dialog);
  watch.seen.text = windowText(GetDlgItem(dialog, MESSAGE_DIALOG_TEXT_ID));
  EnumChildWindows(dialog, collectButton, reinterpret_cast<LPARAM>(&watch.seen));
  RECT text, button;
  GetWindowRect(GetDlgItem(dialog, MESSAGE_DIALOG_TEXT_ID), &text);
  GetWindowRect(GetDlgItem(dialog, watch.seen.buttons.front().first), &button);
  watch.seen.textAboveButtons = text.bottom <= button.top && text.bottom > text.top;

  HWND first = GetDlgItem(dialog, watch.seen.buttons.front().first);
  HWND last = GetDlgItem(dialog, watch.seen.buttons.back().first);
  switch (watch.action) {
    case Action::ClickFirst:
      SendMessageA(first, BM_CLICK, 0, 0);
      break;
    case Action::ClickLast:
      SendMessageA(last, BM_CLICK, 0, 0);
      break;
    case Action::PressEnter:
      PostMessageA(first, WM_KEYDOWN, VK_RETURN, 0);
      break;
    case Action::PressEscape:
      PostMessageA(first, WM_KEYDOWN, VK_ESCAPE, 0);
      break;
  }
  return 0;
}

DialogAnswer runDialog(DialogKind kind, DialogButtons buttons, const std::string &text, Watch &watch) {
  HANDLE worker = CreateThread(nullptr, 0, workDialog, &watch, 0, nullptr);
  const DialogAnswer answer = showMessageDialog(kind, buttons, text);
  WaitForSingleObject(worker, INFINITE);
  CloseHandle(worker);
  return answer;
}

TEST(MessageDialog, ErrorHasOneAbortButton) {
  Watch watch{Action::ClickFirst};
  const std::string text = "Installation Error: C:\\a&b.txt\r\n\r\nProblem with file C:\\a&b.txt. ";
  EXPECT_EQ(ANSWER_ABORT, runDialog(DialogKind::Error, DialogButtons::Abort, text, watch));
  ASSERT_TRUE(watch.found);
  EXPECT_EQ("Error", watch.seen.caption);
  EXPECT_EQ(text, watch.seen.text);
  ASSERT_EQ(1u, watch.seen.buttons.size());
  EXPECT_EQ(IDABORT, watch.seen.buttons[0].first);
  EXPECT_EQ("&Abort", watch.seen.buttons[0].second);
  EXPECT_TRUE(watch.seen.textAboveButtons);
}

TEST(MessageDialog, LauncherErrorIsGerman) {
  setDialogLanguage(DialogLanguage::German);
  Watch watch{Action::PressEnter};
  const DialogAnswer answer = runDialog(DialogKind::Error, DialogButtons::Abort, "x", watch);
  setDialogLanguage(DialogLanguage::English);
  EXPECT_EQ(ANSWER_ABORT, answer);
  EXPECT_EQ("Fehler", watch.seen.caption);
  ASSERT_EQ(1u, watch.seen.buttons.size());
  EXPECT_EQ("Abbrechen", watch.seen.buttons[0].second);
}

TEST(MessageDialog, ConfirmationAnswersFromMouseAndKeyboard) {
  Watch no{Action::ClickLast};
  EXPECT_EQ(ANSWER_NO, runDialog(DialogKind::Confirmation, DialogButtons::YesNo, "Open?", no));
  EXPECT_EQ("Confirm", no.seen.caption);
  ASSERT_EQ(2u, no.seen.buttons.size());
  EXPECT_EQ("&Yes", no.seen.buttons[0].second);
  EXPECT_EQ("&No", no.seen.buttons[1].second);

  Watch yes{Action::PressEnter};
  EXPECT_EQ(ANSWER_YES, runDialog(DialogKind::Confirmation, DialogButtons::YesNo, "Open?", yes));
  Watch escaped{Action::PressEscape};
  EXPECT_EQ(ANSWER_NO, runDialog(DialogKind::Confirmation, DialogButtons::YesNo, "Open?", escaped));
}

TEST(MessageDialog, OverwriteQuestionUsesOkAndCancel) {
  Watch ok{Action::PressEnter};
  EXPECT_EQ(ANSWER_OK, runDialog(DialogKind::Confirmation, DialogButtons::OkCancel, "Overwrite?", ok));
  ASSERT_EQ(2u, ok.seen.buttons.size());
  EXPECT_EQ("OK", ok.seen.buttons[0].second);
  EXPECT_EQ("Cancel", ok.seen.buttons[1].second);
  Watch escaped{Action::PressEscape};
  EXPECT_EQ(ANSWER_CANCEL,
            runDialog(DialogKind::Confirmation, DialogButtons::OkCancel, "Overwrite?", escaped));
}

TEST(MessageDialog, InformationHasOk) {
  Watch watch{Action::ClickFirst};
  EXPECT_EQ(ANSWER_OK, runDialog(DialogKind::Information, DialogButtons::Ok, "Done.", watch));
  EXPECT_EQ("Information", watch.seen.caption);
  ASSERT_EQ(1u, watch.seen.buttons.size());
  EXPECT_EQ("OK", watch.seen.buttons[0].second);
}

}  // namespace
