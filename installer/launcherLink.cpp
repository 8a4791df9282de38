#include "installer/launcherLink.h"

#include "common/logFile.h"
#include "common/statusCodes.h"
#include "common/launcherProtocol.h"

// 0 as long as no launcher is known.
static uint32_t launcherWindowHandle = 0;

static HWND launcherWindow() {
  return reinterpret_cast<HWND>(static_cast<uintptr_t>(launcherWindowHandle));
}

void useLauncherWindow(uint32_t handle) {
  launcherWindowHandle = handle;
  logLine("Installer launched by : " + std::to_string(launcherWindowHandle));
}

int32_t sendCommandToLauncher(HWND ownMainWindow, const std::string &command) {
  if (launcherWindowHandle == 0) {
    logLine("Window not found: " + std::to_string(launcherWindowHandle));
    return STATUS_NOT_DONE;
  }
  COPYDATASTRUCT data;
  data.dwData = 0;
  data.cbData = static_cast<DWORD>(command.size()) + 1;
  data.lpData = const_cast<char *>(command.c_str());
  logLine("Message sent by: " + std::to_string(reinterpret_cast<uintptr_t>(ownMainWindow)));
  LRESULT result = SendMessageA(launcherWindow(), WM_COPYDATA, reinterpret_cast<WPARAM>(ownMainWindow),
                                reinterpret_cast<LPARAM>(&data));
  logLine("Message result: " + std::to_string(result));
  return static_cast<int32_t>(result);
}

std::string makeActiveSaverCommand(const std::string &saverFileName, InstallScope scope) {
  const char *prefix =
      scope == InstallScope::user ? MAKE_ACTIVE_USER_SAVER_COMMAND : MAKE_ACTIVE_SAVER_COMMAND;
  return std::string(prefix) + saverFileName + '\0';
}

std::string openReadMeCommand(const std::string &readMePath) { return OPEN_README_COMMAND + readMePath; }

void notifyLauncherClose() {
  if (launcherWindowHandle != 0) PostMessageA(launcherWindow(), WM_Close_Launcher, 0, 0);
}
