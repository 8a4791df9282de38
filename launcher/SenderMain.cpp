#include "launcher/SenderMain.h"

#include <string>

#include "common/logFile.h"
#include "common/windowClass.h"
#include "launcher/QRP_InstallerUtils.h"
#include "launcher/launcherRun.h"
#include "launcher/launcherRules.h"
#include "launcher/readMeCommand.h"
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

typedef BOOL(WINAPI *QueryImageNameEntry)(HANDLE, DWORD, LPSTR, PDWORD);

// Whether the process runs the program file path. Looked up at run time:
// systems before elevation lack the call, and have no elevated copy either.
bool processRunsFile(DWORD processId, const std::string &path) {
  const HMODULE kernel = GetModuleHandleA("kernel32.dll");
  const auto query = reinterpret_cast<QueryImageNameEntry>(
      kernel != nullptr ? reinterpret_cast<void *>(GetProcAddress(kernel, "QueryFullProcessImageNameA"))
                        : nullptr);
  if (query == nullptr || processId == 0 || path.empty()) return false;
  // The one right a process of the user may have on an elevated one.
  const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
  if (process == nullptr) return false;
  char image[MAX_PATH] = "";
  DWORD length = sizeof image;
  const bool named = query(process, 0, image, &length) != FALSE;
  CloseHandle(process);
  return named && lstrcmpiA(image, path.c_str()) == 0;
}

// What judgeMessage needs to know: whose window the message names as its
// sender, and which installer is ours. GetWindowThreadProcessId gives 0 for
// what is no window.
LauncherMessage messageFacts(bool isCloseMessage, HWND sender) {
  LauncherMessage facts = {isCloseMessage, 0, 0, false};
  DWORD senderProcess = 0;
  if (sender != nullptr && GetWindowThreadProcessId(sender, &senderProcess) != 0)
    facts.senderProcessId = senderProcess;
  HANDLE installer = runningInstaller();
  if (installer != nullptr) {
    facts.installerProcessId = GetProcessId(installer);
    facts.installerRunning = WaitForSingleObject(installer, 0) == WAIT_TIMEOUT;
    facts.senderRunsInstallerCopy = facts.senderProcessId != facts.installerProcessId &&
                                    processRunsFile(facts.senderProcessId, launcherRun.installerCopy);
  }
  return facts;
}

void carryOutCommand(HWND window, const std::string &command) {
  switch (classifyCommand(command)) {
    case LauncherCommand::OpenReadMe:
      openReadMe(window, command);
      break;
    case LauncherCommand::MakeActiveSaver:
      makeActiveSaver(command, false);
      break;
    case LauncherCommand::MakeActiveUserSaver:
      makeActiveSaver(command, true);
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

// Runs the command to its end before the sender's SendMessage returns.
void handleCopyData(HWND window, WPARAM sender, const COPYDATASTRUCT *data) {
  addTraceLine(copyDataSenderLine(static_cast<int32_t>(sender)));
  const std::string command =
      data != nullptr ? commandTextFromCopyData(data->lpData, data->cbData) : std::string();
  addTraceLine(receivedCommandLine(command, todayShortDate()));
  const LauncherMessage facts = messageFacts(false, reinterpret_cast<HWND>(sender));
  if (judgeMessage(facts) == MessageVerdict::CarryOut) {
    launcherRun.log.write("command " + command);
    carryOutCommand(window, command);
  } else {
    addTraceLine(ignoredMessageLine(facts.senderProcessId, facts.installerProcessId));
  }
}

void handleCloseLauncher(HWND window) {
  addTraceLine("WM_Close_Launcher");
  if (judgeMessage(messageFacts(true, nullptr)) == MessageVerdict::CarryOut) {
    SendMessageA(window, WM_CLOSE, 0, 0);
  } else {
    addTraceLine(closeDeferredLine());  // the message loop closes when the installer ends
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
      handleCloseLauncher(window);
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
