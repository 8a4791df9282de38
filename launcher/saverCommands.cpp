#include "launcher/saverCommands.h"

#include <windows.h>

#include "common/unicodeText.h"
#include "common/QRX_FileUtils.h"
#include "common/activeSaverSetting.h"
#include "common/dialogs/systemErrorText.h"
#include "common/logFile.h"
#include "common/saverScope.h"
#include "common/controlPanelTitles.h"
#include "common/librarySearch.h"
#include "common/runLog.h"
#include "common/statusCodes.h"
#include "launcher/launcherReport.h"
#include "launcher/launcherRules.h"
#include "launcher/launcherRun.h"
#include "launcher/launcherTexts.h"

static std::string shortPathOf(const std::string &path) {
  char shortPath[MAX_PATH] = "";
  DWORD length = GetShortPathNameA(path.c_str(), shortPath, sizeof shortPath);
  return length > 0 && length < sizeof shortPath ? std::string(shortPath) : std::string();
}

// The desktop key is opened, never created: a missing key means a profile
// that does not take screen saver settings.
static int32_t writeDesktopSaverValue(const std::string &saverPath) {
  HKEY desktop;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, DESKTOP_KEY, 0, KEY_SET_VALUE, &desktop) != ERROR_SUCCESS) {
    return STATUS_DESKTOP_KEY_FAILED;
  }
  LONG written = RegSetValueExA(desktop, SAVER_VALUE_NAME, 0, REG_SZ,
                                reinterpret_cast<const BYTE *>(saverPath.c_str()),
                                static_cast<DWORD>(saverPath.size()) + 1);
  RegCloseKey(desktop);
  if (written != ERROR_SUCCESS) return STATUS_DESKTOP_KEY_FAILED;
  launcherRun.log.write(valueWrittenText(std::string("HKCU\\") + DESKTOP_KEY, SAVER_VALUE_NAME, saverPath));
  return 0;
}

static void switchScreenSavingOn() {
  logLine("starting SPI_SETSCREENSAVEACTIVE");
  BOOL activated = SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, 1, nullptr, SPIF_SENDWININICHANGE);
  // Read before tracing, which may itself set the last error.
  const int32_t lastError = static_cast<int32_t>(GetLastError());
  logLine(activated ? "Saver Activated = true" : "Saver Activated = false");
  logLine("Last Error: " + systemErrorText(lastError));
  logLine("ending SPI_SETSCREENSAVEACTIVE");
}

int32_t makeActiveSaver(const std::string &commandText, bool forUser) {
  TraceScope trace("makeActiveSaver", commandText);
  std::string fileName;
  // The name is joined to the system folder; it must not lead anywhere else.
  if (activeSaverFileName(commandText, fileName) != STATUS_OK) {
    return trace.result(STATUS_UNSAFE_NAME);
  }
  logLine("pathWindows: " + pathWindows);
  logLine("pathCommonAppData: " + pathCommonAppData);
  const std::string scrFileName = (forUser ? userSaverFolder() : pathSystem) + fileName;
  logLine("scrFileName: " + scrFileName);
  std::string sShortName = shortPathOf(scrFileName);
  if (sShortName.empty()) sShortName = scrFileName;
  logLine("sShortName: " + sShortName);

  // system.ini is the machine's: the user's saver is the user's setting alone.
  if (!forUser &&
      !WritePrivateProfileStringA(BOOT_SECTION, SAVER_VALUE_NAME, sShortName.c_str(), SYSTEM_INI)) {
    int32_t status = static_cast<int32_t>(GetLastError());
    if (status == 0) status = ERROR_WRITE_FAULT;
    reportLauncherError(status, SYSTEM_INI, profileWriteFailedMessage(SYSTEM_INI, programText));
    return trace.result(status);
  }
  if (!forUser)
    launcherRun.log.write(valueWrittenText(std::string(SYSTEM_INI) + " [" + BOOT_SECTION + "]",
                                           SAVER_VALUE_NAME, sShortName));

  int32_t status = writeDesktopSaverValue(sShortName);
  if (status == 0) switchScreenSavingOn();
  return trace.result(status);
}

// An empty title (a string missing from the table) would match any untitled
// window, so it matches nothing.
static bool isWindowTitled(const std::string &title) {
  return !title.empty() && FindWindowW(nullptr, wideFromUtf8(title).c_str()) != nullptr;
}

// The system folder's program by its full path, as the program to run: a
// name alone would be searched for, beside the launcher first.
static void startSystemProgram(const char *programName, const std::string &arguments) {
  const std::string program = systemFolderFile(programName);
  std::string commandLine = "\"" + program + "\" " + arguments;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started = {};
  if (!program.empty() && CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                                         nullptr, nullptr, &startup, &started)) {
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
  }
}

void openScreenSaverControlPanel(const ControlPanelTitles &titles) {
  TraceScope trace("openScreenSaverControlPanel");
  HCURSOR previousCursor = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  startSystemProgram("rundll32.exe", "shell32.dll,Control_RunDLL desk.cpl,,1");
  for (int attempt = 0; attempt < 1000; ++attempt) {
    if (isWindowTitled(titles.first) || isWindowTitled(titles.second)) break;
  }
  SetCursor(previousCursor);
}

uint8_t detectLanguageIndex() {
  char languageName[256] = "";
  VerLanguageNameA(GetSystemDefaultLangID(), languageName, sizeof languageName);
  logLine(std::string("language: ") + languageName);
  return languageIndexForName(languageName);
}

ControlPanelTitles loadControlPanelTitles(uint8_t languageIndex) {
  if (languageIndex == LANGUAGE_ENGLISH) return {ENGLISH_FIRST_TITLE, ENGLISH_SECOND_TITLE};
  return {programText(firstTitleStringId(languageIndex)), programText(secondTitleStringId(languageIndex))};
}
