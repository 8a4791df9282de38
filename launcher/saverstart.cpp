// saverstart: copies the installer carried behind its own image into a work
// folder, starts it, carries out its commands and removes the copy when the
// installer closes. It shows no window of its own, only error boxes, and
// none of those with "/qn".
#include <windows.h>

#include "common/dialogs/messageDialog.h"
#include "common/librarySearch.h"
#include "common/runLog.h"
#include "common/runningProgram.h"
#include "common/statusCodes.h"
#include "launcher/QRP_InstallerUtils.h"
#include "launcher/SenderMain.h"
#include "launcher/launcherRules.h"

// The message loop also watches the installer: when it ends, by crashing or
// being ended from the task manager too, the launcher closes, removes its
// copy and ends with the installer's exit code.
static int runLauncher(HINSTANCE instance) {
  HWND mainWindow = createSenderMainForm(instance);
  if (mainWindow == nullptr) return STATUS_NOT_DONE;
  for (;;) {
    HANDLE installer = runningInstaller();
    const DWORD woken =
        MsgWaitForMultipleObjects(installer != nullptr ? 1 : 0, &installer, FALSE, INFINITE, QS_ALLINPUT);
    if (installer != nullptr && woken == WAIT_OBJECT_0) SendMessageA(mainWindow, WM_CLOSE, 0, 0);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) return launcherExitStatus();
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
}

// The run log's lines of the launcher bracket the installer's, in one file.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  restrictLibrarySearch();
  const std::vector<std::string> parameters = commandLineParameters();
  const LauncherSwitches switches = readLauncherSwitches(parameters);
  speakUserLanguage(switches.languageCode, "");
  launcherRun.silent = switches.silent;
  launcherRun.log.open(switches.logPath, "saverstart");
  launcherRun.log.write(commandLineText(parameters));
  const int exitCode = runLauncher(instance);
  launcherRun.log.write(exitCodeText(exitCode));
  return exitCode;
}
