#include "flash/QRX_FlashUtils.h"

#include <shellapi.h>

#include <memory>
#include <vector>

#include "common/QRX_FileUtils.h"
#include "common/QRX_OSUtils.h"
#include "common/logFile.h"
#include "flash/flashControl.h"

namespace {

const DWORD PAUSE_BEFORE_PROBE_MS = 500;
const int32_t NOT_PROBED = -1;

// What the first successful probe through the control found, for the whole
// process: a player updated later is still reported with this version.
struct CachedVersion {
  int32_t major = NOT_PROBED;
  int32_t revision = NOT_PROBED;
};
CachedVersion probedVersion;

// "CLSID\{...}\InprocServer32" of the player's control.
std::string flashServerKey() {
  wchar_t wide[40] = L"";
  StringFromGUID2(CLSID_ShockwaveFlash, wide, 40);
  char text[40] = "";
  WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
  return std::string("CLSID\\") + text + "\\InprocServer32";
}

// The key's unnamed value, when it is text.
std::string readDefaultText(HKEY key) {
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(key, nullptr, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::string();
  if ((type != REG_SZ && type != REG_EXPAND_SZ) || size == 0) return std::string();
  std::vector<char> text(size + 1, '\0');
  if (RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE *>(text.data()), &size) !=
      ERROR_SUCCESS)
    return std::string();
  return std::string(text.data());  // stops at the stored terminator, if any
}

// One try: create the control and ask it. False when the control was not
// created; answered tells whether a version was read.
bool probeControl(FlashPlayerVersion &version, bool &answered) {
  TShockwaveFlash control;
  answered = false;
  if (FAILED(control.create())) return false;
  std::string text;
  answered = SUCCEEDED(control.getVariable("$version", text)) &&
             parseFlashVersionString(text, version.major, version.revision);
  logLine("$version: " + text);
  return true;
}

}  // namespace

int32_t getFlashOCXFilePath(std::string &path) {
  path.clear();
  HKEY key = nullptr;
  const bool foundKey =
      RegOpenKeyExA(HKEY_CLASSES_ROOT, flashServerKey().c_str(), 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS;
  logLine(std::string("foundKey: ") + (foundKey ? "-1" : "0"));
  if (foundKey) {
    path = readDefaultText(key);
    RegCloseKey(key);
  }
  logLine("flashOCXFilePath: " + path);
  return path.empty() ? FLASH_PLAYER_NOT_FOUND : 0;
}

int32_t getFlashPlayerVersionInfoFromFileProperties(FlashPlayerVersion &version) {
  TraceScope trace("getFlashPlayerVersionInfoFromFileProperties");
  version.major = 0;
  version.revision = 0;
  std::string path;
  const int32_t status = getFlashOCXFilePath(path);
  logLine("Flash OCX Path: " + path);
  if (status == 0 && fileExists(path)) {
    version.found = true;
    myGetFileVersion(path, version.major, version.revision);
  }
  logLine("FlashPlayerVersionInfoFromFileProperties: " + std::to_string(version.major) + " r" +
          std::to_string(version.revision));
  return trace.result(status);
}

int32_t getFlashPlayerVersionFromControl(FlashPlayerVersion &version, int32_t attempts) {
  if (probedVersion.major != NOT_PROBED) {
    version = {true, probedVersion.major, probedVersion.revision};
    return 0;
  }
  TraceScope trace("getFlashPlayerVersionFromControl");
  version = FlashPlayerVersion();
  // Fewer than one attempt finds nothing; that is no success either.
  int32_t status = FLASH_PLAYER_NOT_FOUND;
  bool created = false;
  for (int32_t attempt = 0; attempt < attempts && !created; ++attempt) {
    Sleep(PAUSE_BEFORE_PROBE_MS);
    bool answered = false;
    created = probeControl(version, answered);
    if (answered) {
      probedVersion = {version.major, version.revision};
      version.found = true;
      status = 0;
    } else {
      version.major = version.revision = 0;
    }
  }
  return trace.result(status);
}

FlashPlayerVersion getFlashPlayerVersion(int32_t attempts) {
  FlashPlayerVersion version;
  getFlashPlayerVersionInfoFromFileProperties(version);
  if (version.major <= 0) getFlashPlayerVersionFromControl(version, attempts);
  return version;
}

int32_t confirmFlashPlayerInstalled(int32_t attempts) {
  FlashPlayerVersion ignored;
  return getFlashPlayerVersionFromControl(ignored, attempts);
}

int32_t verifyFlashAXInstallerCanRunOnThisMachine(int32_t requiredMajor) {
  TraceScope trace("verifyFlashAXInstallerCanRunOnThisMachine");
  const int32_t operatingSystem = GetOperatingSystem();
  logLine("version: " + std::to_string(operatingSystem));
  const int32_t status = flashInstallerSystemStatus(operatingSystem, requiredMajor);
  return trace.result(status);
}

int32_t runFlashAXInstaller(const std::string &name, bool silent, HWND owner) {
  TraceScope trace("runFlashAXInstaller", name);
  const std::string program = pathWorkFolder + name;
  const std::string parameters = flashInstallerParameters(name, silent);
  int32_t status = FLASH_INSTALLER_MISSING;
  if (fileExists(program)) {
    const HINSTANCE started =
        ShellExecuteA(owner, nullptr, program.c_str(), parameters.empty() ? nullptr : parameters.c_str(),
                      nullptr, silent ? SW_HIDE : SW_SHOWNORMAL);
    if (silent && owner) SetForegroundWindow(owner);
    status = shellStartStatus(reinterpret_cast<uintptr_t>(started));
  }
  return trace.result(status);
}
