// Stands in for the installer behind a launcher in the end-to-end tests. It
// records how it was started, sends the commands it is told to through the
// installer's launcher link, and then tells the launcher to close.
//
// Environment:
//   FAKE_INSTALLER_RECORD    file that receives "key=value" lines
//   FAKE_INSTALLER_COMMANDS  commands separated by "|"; "makeActiveSaver-NAME"
//                            is sent in the installer's own form
//   FAKE_INSTALLER_CLOSE     "none": end without WM_Close_Launcher
//   FAKE_INSTALLER_LINGER_MS milliseconds to go on running after that message,
//                            as an installer still ending does
//   FAKE_INSTALLER_END_FILE  go on running, once done, until this file exists
//                            (or a minute has passed)
//   FAKE_INSTALLER_LATE_COMMANDS  sent once that file exists, then
//                            WM_Close_Launcher again
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "installer/launcherHandleParameter.h"
#include "installer/launcherLink.h"
#include "common/launcherProtocol.h"

static std::string environmentValue(const char *name) {
  char value[4096] = "";
  DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
  return length > 0 && length < sizeof value ? std::string(value) : std::string();
}

static void record(const std::string &key, const std::string &value) {
  const std::string recordFile = environmentValue("FAKE_INSTALLER_RECORD");
  if (recordFile.empty()) return;
  if (FILE *out = std::fopen(recordFile.c_str(), "ab")) {
    std::fprintf(out, "%s=%s\n", key.c_str(), value.c_str());
    std::fclose(out);
  }
}

static void recordStart() {
  char text[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, text, sizeof text);
  record("program", text);
  record("pid", std::to_string(GetCurrentProcessId()));
  GetCurrentDirectoryA(sizeof text, text);
  record("folder", text);
  record("commandLine", GetCommandLineA());
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  GetStartupInfoA(&startup);
  record("show", std::to_string((startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1));
}

static void sendCommands(HWND ownWindow, const char *variable) {
  const std::string prefix = MAKE_ACTIVE_SAVER_COMMAND;
  std::string commands = environmentValue(variable);
  while (!commands.empty()) {
    size_t end = commands.find('|');
    std::string command = commands.substr(0, end);
    commands = end == std::string::npos ? std::string() : commands.substr(end + 1);
    if (command.compare(0, prefix.size(), prefix) == 0) {
      command = makeActiveSaverCommand(command.substr(prefix.size()));
    }
    record("reply", std::to_string(sendCommandToLauncher(ownWindow, command)));
  }
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  recordStart();
  useLauncherWindow(launcherHandleFromParameters(std::vector<std::string>(__argv + 1, __argv + __argc)));
  HWND ownWindow = CreateWindowExA(0, "STATIC", "fake installer", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                                   nullptr, instance, nullptr);
  sendCommands(ownWindow, "FAKE_INSTALLER_COMMANDS");
  if (environmentValue("FAKE_INSTALLER_CLOSE") != "none") notifyLauncherClose();
  const std::string linger = environmentValue("FAKE_INSTALLER_LINGER_MS");
  if (!linger.empty()) Sleep(static_cast<DWORD>(std::strtoul(linger.c_str(), nullptr, 10)));
  record("done", "1");
  const std::string endFile = environmentValue("FAKE_INSTALLER_END_FILE");
  for (int wait = 0; !endFile.empty() && wait < 1200; ++wait) {
    if (GetFileAttributesA(endFile.c_str()) != INVALID_FILE_ATTRIBUTES) break;
    Sleep(50);
  }
  if (!environmentValue("FAKE_INSTALLER_LATE_COMMANDS").empty()) {
    sendCommands(ownWindow, "FAKE_INSTALLER_LATE_COMMANDS");
    notifyLauncherClose();
  }
  DestroyWindow(ownWindow);
  return 0;
}
