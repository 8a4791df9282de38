#include "launcher/traceBox.h"

static HWND cdMemo = nullptr;

void createTraceBox(HWND mainWindow) {
  RECT client;
  GetClientRect(mainWindow, &client);
  cdMemo = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "cdMemo",
                           WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL,
                           0, 0, client.right, client.bottom, mainWindow, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
  // No length limit: a long run must not silently drop lines.
  SendMessageA(cdMemo, EM_SETLIMITTEXT, 0, 0);
}

void addTraceLine(const std::string &line) {
  if (cdMemo == nullptr) return;
  const std::string appended = "\r\n" + line;
  int end = GetWindowTextLengthA(cdMemo);
  SendMessageA(cdMemo, EM_SETSEL, end, end);
  SendMessageA(cdMemo, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(appended.c_str()));
}
