#include "installer/uninstallRegistration.h"

#include "common/QRX_FileUtils.h"
#include "common/QRX_OSUtils.h"
#include "common/logFile.h"
#include "installer/stringTable.h"
#include "installer/placementRules.h"
#include "package/installedSaver.h"

#include <windows.h>

static bool setStringValue(HKEY key, const char *name, const std::string &value) {
  return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(value.c_str()),
                        DWORD(value.size() + 1)) == ERROR_SUCCESS;
}

static int32_t registerUnder(HKEY root, const std::string &keyPath, const std::string &displayName,
                             const std::string &command) {
  HKEY key;
  if (RegCreateKeyExA(root, keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                      nullptr, &key, nullptr) != ERROR_SUCCESS)
    return STATUS_REGISTER_UNINSTALL_FAILED;
  const bool written = setStringValue(key, "DisplayName", displayName) &&
                       setStringValue(key, "UninstallString", command);
  const bool closed = RegCloseKey(key) == ERROR_SUCCESS;
  return written && closed ? 0 : STATUS_REGISTER_UNINSTALL_FAILED;
}

// Windows 9x stores the command's short form.
static std::string shortFormOn9x(const std::string &command) {
  const WindowsVersionFlags flags = getWindowsVersionFlags();
  if (!flags.windows95 && !flags.windows98 && !flags.windowsME) return command;
  char shortPath[MAX_PATH];
  const DWORD length = GetShortPathNameA(command.c_str(), shortPath, sizeof shortPath);
  return length > 0 && length < sizeof shortPath ? std::string(shortPath, length) : command;
}

int32_t RegisterUninstall(const std::string &saverName, const std::string &codedName) {
  TraceScope trace("RegisterUninstall", saverName);
  int32_t status = STATUS_REGISTER_UNINSTALL_FAILED;
  if (isPlainKeyName(saverName)) {
    const std::string keyPath = uninstallKeyPath(saverName);
    const std::string displayName = UninstallDisplayNameFor(saverName);
    const std::string command = shortFormOn9x(uninstallCommand(pathSystem, codedName));
    status = registerUnder(HKEY_LOCAL_MACHINE, keyPath, displayName, command);
    if (status != 0) status = registerUnder(HKEY_CURRENT_USER, keyPath, displayName, command);
  }
  return trace.result(status);
}

// 0 when the key is absent or deleted with its values,
// STATUS_UNREGISTER_UNINSTALL_FAILED when a step fails; later steps are skipped
// then, but the key is always closed.
static int32_t unregisterUnder(HKEY root, const std::string &keyPath) {
  HKEY key;
  const LONG opened = RegOpenKeyExA(root, keyPath.c_str(), 0, KEY_SET_VALUE, &key);
  if (opened == ERROR_FILE_NOT_FOUND) return 0;
  if (opened != ERROR_SUCCESS) return STATUS_UNREGISTER_UNINSTALL_FAILED;
  const bool valuesDeleted = RegDeleteValueA(key, "DisplayName") == ERROR_SUCCESS &&
                             RegDeleteValueA(key, "UninstallString") == ERROR_SUCCESS;
  const bool closed = RegCloseKey(key) == ERROR_SUCCESS;
  if (!valuesDeleted || !closed) return STATUS_UNREGISTER_UNINSTALL_FAILED;
  return RegDeleteKeyA(root, keyPath.c_str()) == ERROR_SUCCESS ? 0 : STATUS_UNREGISTER_UNINSTALL_FAILED;
}

int32_t UnregisterUninstall(const std::string &saverName) {
  TraceScope trace("UnregisterUninstall", saverName);
  int32_t status = 0;
  if (isPlainKeyName(saverName)) {
    const std::string keyPath = uninstallKeyPath(saverName);
    status = unregisterUnder(HKEY_LOCAL_MACHINE, keyPath);
    if (status != 0) status = unregisterUnder(HKEY_CURRENT_USER, keyPath);
  }
  return trace.result(status);
}
