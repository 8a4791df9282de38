// The driver's fixture: a dialog with texts and buttons. It ends with the id
// of the button clicked, shows the text of a WM_COPYDATA message and answers
// with its byte count, and ends with the code posted in WM_DRIVER_APP_QUIT.
// "/title=TEXT" on the command line replaces the caption; "/ask" opens a
// modal message box over the dialog.
#include <windows.h>

#include <string.h>

#include "driverAppIds.h"

namespace {

const UINT WM_DRIVER_APP_ASK = WM_APP + 2;

struct Options {
  const char *title;
  bool ask;
};

void showCurrentFolder(HWND dialog) {
  char folder[MAX_PATH];
  const DWORD length = GetCurrentDirectoryA(sizeof folder, folder);
  SetDlgItemTextA(dialog, IDC_FOLDER, length > 0 && length < sizeof folder ? folder : "");
}

// The text is shown only when it ends inside the data.
LRESULT showCopyData(HWND dialog, const COPYDATASTRUCT *record) {
  const char *text = static_cast<const char *>(record->lpData);
  if (text && record->cbData > 0 && memchr(text, '\0', record->cbData))
    SetDlgItemTextA(dialog, IDC_PROMPT, text);
  return static_cast<LRESULT>(record->cbData);
}

INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      const Options *options = reinterpret_cast<const Options *>(lParam);
      if (options->title) SetWindowTextA(dialog, options->title);
      showCurrentFolder(dialog);
      if (options->ask) PostMessageA(dialog, WM_DRIVER_APP_ASK, 0, 0);
      return TRUE;
    }
    case WM_DRIVER_APP_ASK:
      EndDialog(dialog,
                DRIVER_APP_ANSWERED + MessageBoxA(dialog, DRIVER_APP_QUESTION, DRIVER_APP_QUESTION_TITLE,
                                                  MB_OKCANCEL | MB_ICONERROR));
      return TRUE;
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED) EndDialog(dialog, LOWORD(wParam));
      return TRUE;
    case WM_COPYDATA:
      SetWindowLongPtrA(dialog, DWLP_MSGRESULT,
                        showCopyData(dialog, reinterpret_cast<COPYDATASTRUCT *>(lParam)));
      return TRUE;
    case WM_CTLCOLORDLG: {
      static HBRUSH background = CreateSolidBrush(RGB(DRIVER_APP_RED, DRIVER_APP_GREEN, DRIVER_APP_BLUE));
      return reinterpret_cast<INT_PTR>(background);
    }
    case WM_DRIVER_APP_QUIT:
      EndDialog(dialog, static_cast<INT_PTR>(wParam));
      return TRUE;
  }
  return FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR lpCmdLine, int) {
  const char *title = strstr(lpCmdLine, "/title=");
  const Options options = {title ? title + 7 : nullptr, strstr(lpCmdLine, "/ask") != nullptr};
  return static_cast<int>(DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_DRIVER_APP), nullptr, dialogProc,
                                          reinterpret_cast<LPARAM>(&options)));
}
