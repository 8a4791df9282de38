#include "common/dialogs/messageDialog.h"

#include "common/boxControls.h"
#include "common/dialogs/installErrorText.h"
#include "common/logFile.h"
#include "common/unicodeText.h"

#include <cstring>
#include <vector>

namespace {

const WORD BUTTON_CLASS = 0x0080;
const WORD STATIC_CLASS = 0x0082;
const int ICON_ID = 1001;

// Sizes in dialog units.
const int MARGIN = 8;
const int GAP = 6;
const int BUTTON_WIDTH = 50;
const int BUTTON_HEIGHT = 14;
const int MAX_TEXT_WIDTH = 280;

struct DialogRequest {
  DialogKind kind;
  DialogButtons buttons;
  const std::string *text;
  std::vector<DialogButton> buttonList;
};

// An in-memory dialog template. Texts are set after creation, so every
// title in the template stays empty.
class DialogTemplate {
 public:
  explicit DialogTemplate(int itemCount) {
    DLGTEMPLATE header = {};
    header.style = DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    header.cdit = static_cast<WORD>(itemCount);
    header.cx = 100;
    header.cy = 50;
    append(&header, sizeof(header));
    appendWord(0);  // no menu
    appendWord(0);  // the standard dialog class
    appendWord(0);  // empty title
    appendWord(8);  // font size in points
    const wchar_t font[] = L"MS Shell Dlg";
    append(font, sizeof(font));
  }

  void addItem(WORD windowClass, WORD id, DWORD style) {
    while (bytes.size() % sizeof(DWORD) != 0) bytes.push_back(0);
    DLGITEMTEMPLATE item = {};
    item.style = style | WS_CHILD | WS_VISIBLE;
    item.id = id;
    append(&item, sizeof(item));
    appendWord(0xFFFF);  // a predefined class by atom
    appendWord(windowClass);
    appendWord(0);  // empty title
    appendWord(0);  // no creation data
  }

  const DLGTEMPLATE *get() const { return reinterpret_cast<const DLGTEMPLATE *>(bytes.data()); }

 private:
  void append(const void *data, size_t size) {
    const BYTE *from = static_cast<const BYTE *>(data);
    bytes.insert(bytes.end(), from, from + size);
  }
  void appendWord(WORD value) { append(&value, sizeof(value)); }

  std::vector<BYTE> bytes;
};

LPCSTR iconFor(DialogKind kind) {
  switch (kind) {
    case DialogKind::Error:
      return IDI_HAND;
    case DialogKind::Information:
      return IDI_ASTERISK;
    case DialogKind::Confirmation:
      return IDI_QUESTION;
  }
  return IDI_HAND;
}

UINT soundFor(DialogKind kind) {
  return kind == DialogKind::Error         ? MB_ICONHAND
         : kind == DialogKind::Information ? MB_ICONASTERISK
                                           : MB_ICONQUESTION;
}

SIZE measureText(HWND dialog, const std::string &text, int maxWidth) {
  HDC dc = GetDC(dialog);
  HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(dialog, WM_GETFONT, 0, 0)));
  RECT bounds = {0, 0, maxWidth, 0};
  const std::wstring wide = wideFromUtf8(text);
  DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &bounds,
            DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
  SelectObject(dc, oldFont);
  ReleaseDC(dialog, dc);
  SIZE size = {bounds.right - bounds.left, bounds.bottom - bounds.top};
  return size;
}

void centreOnWorkArea(HWND dialog, int width, int height) {
  RECT area;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  SetWindowPos(dialog, nullptr, area.left + (area.right - area.left - width) / 2,
               area.top + (area.bottom - area.top - height) / 2, width, height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

// Sets the texts and sizes the dialog around its message.
void layOut(HWND dialog, const DialogRequest &request) {
  SetWindowTextW(dialog, wideFromUtf8(dialogCaption(request.kind, programText)).c_str());
  SetDlgItemTextW(dialog, MESSAGE_DIALOG_TEXT_ID, wideFromUtf8(*request.text).c_str());
  SendDlgItemMessageA(dialog, ICON_ID, STM_SETICON,
                      reinterpret_cast<WPARAM>(LoadIconA(nullptr, iconFor(request.kind))), 0);

  RECT units = {MARGIN, GAP, BUTTON_WIDTH, BUTTON_HEIGHT};
  MapDialogRect(dialog, &units);
  const int margin = units.left, gap = units.top, buttonWidth = units.right, buttonHeight = units.bottom;
  RECT textLimit = {0, 0, MAX_TEXT_WIDTH, 0};
  MapDialogRect(dialog, &textLimit);
  const int iconSize = GetSystemMetrics(SM_CXICON);

  const SIZE text = measureText(dialog, *request.text, textLimit.right);
  const int buttonCount = static_cast<int>(request.buttonList.size());
  const int buttonsWidth = buttonCount * buttonWidth + (buttonCount - 1) * gap;
  int clientWidth = margin + iconSize + gap + text.cx + margin;
  if (clientWidth < buttonsWidth + 2 * margin) clientWidth = buttonsWidth + 2 * margin;
  const int bodyHeight = text.cy > iconSize ? text.cy : iconSize;
  const int clientHeight = margin + bodyHeight + margin + buttonHeight + margin;

  MoveWindow(GetDlgItem(dialog, ICON_ID), margin, margin, iconSize, iconSize, FALSE);
  MoveWindow(GetDlgItem(dialog, MESSAGE_DIALOG_TEXT_ID), margin + iconSize + gap,
             margin + (bodyHeight - text.cy) / 2, text.cx, text.cy, FALSE);
  int left = (clientWidth - buttonsWidth) / 2;
  for (const DialogButton &button : request.buttonList) {
    HWND control = GetDlgItem(dialog, button.answer);
    SetWindowTextW(control, wideFromUtf8(button.label).c_str());
    MoveWindow(control, left, clientHeight - margin - buttonHeight, buttonWidth, buttonHeight, FALSE);
    left += buttonWidth + gap;
  }

  RECT frame = {0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&frame, GetWindowLongA(dialog, GWL_STYLE), FALSE, GetWindowLongA(dialog, GWL_EXSTYLE));
  centreOnWorkArea(dialog, frame.right - frame.left, frame.bottom - frame.top);
}

INT_PTR CALLBACK dialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      layOut(dialog, *reinterpret_cast<const DialogRequest *>(lParam));
      // The focused button and the letters show even when the mouse started the program.
      SendMessageA(dialog, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
      return TRUE;  // focus the first button
    }
    case WM_COMMAND: {
      const DialogRequest *request =
          reinterpret_cast<const DialogRequest *>(GetWindowLongPtrA(dialog, DWLP_USER));
      const int id = LOWORD(wParam);
      for (const DialogButton &button : request->buttonList)
        if (button.answer == id) {
          EndDialog(dialog, id);
          return TRUE;
        }
      if (id == IDCANCEL) {  // Escape or the close box
        EndDialog(dialog, dismissAnswer(request->buttons));
        return TRUE;
      }
      return FALSE;
    }
  }
  return FALSE;
}

}  // namespace

DialogAnswer showMessageDialog(DialogKind kind, DialogButtons buttons, const std::string &text,
                               HWND owner) {
  DialogRequest request = {kind, buttons, &text, dialogButtons(buttons, programText)};
  DialogTemplate dialogTemplate(2 + static_cast<int>(request.buttonList.size()));
  bool first = true;
  for (const DialogButton &button : request.buttonList) {
    dialogTemplate.addItem(BUTTON_CLASS, static_cast<WORD>(button.answer),
                           WS_TABSTOP | (first ? BS_DEFPUSHBUTTON | WS_GROUP : BS_PUSHBUTTON));
    first = false;
  }
  dialogTemplate.addItem(STATIC_CLASS, ICON_ID, SS_ICON);
  dialogTemplate.addItem(STATIC_CLASS, MESSAGE_DIALOG_TEXT_ID, SS_LEFT | SS_NOPREFIX);

  if (owner == nullptr) owner = GetActiveWindow();
  // A modal loop ends at once on a waiting quit message, so a message shown
  // while the program closes would never appear. The quit waits meanwhile.
  MSG quit;
  const bool quitting = PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
  MessageBeep(soundFor(kind));
  BoxControlsScope controls;
  const INT_PTR answer = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialogTemplate.get(), owner,
                                                 dialogProcedure, reinterpret_cast<LPARAM>(&request));
  if (quitting) PostQuitMessage(static_cast<int>(quit.wParam));
  return answer > 0 ? static_cast<DialogAnswer>(answer) : dismissAnswer(buttons);
}

void showErrorMessage(const std::string &text) {
  showMessageDialog(DialogKind::Error, DialogButtons::Abort, text);
}

void showInformationMessage(const std::string &text) {
  showMessageDialog(DialogKind::Information, DialogButtons::Ok, text);
}

bool askYesNo(const std::string &text) {
  return showMessageDialog(DialogKind::Confirmation, DialogButtons::YesNo, text) == ANSWER_YES;
}

bool askOkCancel(const std::string &text) {
  return showMessageDialog(DialogKind::Confirmation, DialogButtons::OkCancel, text) == ANSWER_OK;
}

void ReportInstallError(int32_t code, const std::string &fileText) {
  TraceScope trace("ReportInstallError", std::to_string(code) + " " + fileText);
  showErrorMessage(installErrorText(code, utf8OfEither(fileText), programText));
}
