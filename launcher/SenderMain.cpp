#include "launcher/SenderMain.h"

#include <string>

#include "common/logFile.h"
#include "common/windowClass.h"
#include "launcher/QRP_InstallerUtils.h"
#include "launcher/launcherRules.h"
#include "common/launcherProtocol.h"
#include "launcher/saverCommands.h"

namespace {

const char FORM_CLASS[] = "TSenderMainForm";
const char FORM_CAPTION[] = "N";
const int FORM_WIDTH = 412;
const int FORM_HEIGHT = 222;

std::string todayShortDate() {
  char date[80] = "";
  GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, date, sizeof date);
  return date;
}

// Runs the command to its end before the sender's SendMessage returns.
void handleCopyData(HWND window, WPARAM sender, const COPYDATASTRUCT *data) {
  addTraceLine(copyDataSenderLine(static_cast<int32_t>(sender)));
  const std::string command =
      data != nullptr ? commandTextFromCopyData(data->lpData, data->cbData) : std::string();
  addTraceLine(receivedCommandLine(command, todayShortDate()));
  switch (classifyCommand(command)) {
    case LauncherCommand::MakeActiveSaver:
      makeActiveSaver(command);
      break;
    case LauncherCommand::OpenControlPanel:
      openScreenSaverControlPanel(launcherRun.controlPanelTitles);
      break;
    case LauncherCommand::Close:
      // Posted: the clean-up waits for the installer, which may be the
      // sender waiting for this reply.
      PostMessageA(window, WM_CLOSE, 0, 0);
      break;
    case LauncherCommand::None:
      break;
  }
}

LRESULT CALLBACK senderMainFormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      createTraceBox(window);
      if (initInInstallerMode(window) != 0) PostMessageA(window, WM_CLOSE, 0, 0);
      return 0;
    case WM_COPYDATA:
      handleCopyData(window, wParam, reinterpret_cast<const COPYDATASTRUCT *>(lParam));
      return 0;
    case WM_Close_Launcher:
      addTraceLine("WM_Close_Launcher");
      SendMessageA(window, WM_CLOSE, 0, 0);
      return 0;
    case WM_CLOSE:
      removeInstallerCopy();
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

HWND createSenderMainForm(HINSTANCE instance) {
  if (!registerWindowClass(instance, FORM_CLASS, senderMainFormProc)) return nullptr;
  return CreateWindowExA(0, FORM_CLASS, FORM_CAPTION, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                         FORM_WIDTH, FORM_HEIGHT, nullptr, nullptr, instance, nullptr);
}

static HWND cdMemo = nullptr;

void createTraceBox(HWND mainWindow) {
  RECT client;
  GetClientRect(mainWindow, &client);
  cdMemo =
      CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "cdMemo",
                      WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL, 0, 0,
                      client.right, client.bottom, mainWindow, nullptr, GetModuleHandleA(nullptr), nullptr);
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
