#include "launcher/SenderMain.h"

#include <string>

#include "common/logFile.h"
#include "launcher/QRP_InstallerUtils.h"
#include "launcher/launcherCommands.h"
#include "common/launcherProtocol.h"
#include "launcher/launcherStatus.h"
#include "launcher/saverCommands.h"
#include "launcher/traceBox.h"

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
      openScreenSaverControlPanel(controlPanelTitles);
      break;
    case LauncherCommand::Close:
      SendMessageA(window, WM_CLOSE, 0, 0);
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
  WNDCLASSA formClass = {};
  formClass.lpfnWndProc = senderMainFormProc;
  formClass.hInstance = instance;
  formClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  formClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  formClass.lpszClassName = FORM_CLASS;
  if (!RegisterClassA(&formClass)) return nullptr;
  return CreateWindowExA(0, FORM_CLASS, FORM_CAPTION, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                         CW_USEDEFAULT, FORM_WIDTH, FORM_HEIGHT, nullptr, nullptr, instance,
                         nullptr);
}
