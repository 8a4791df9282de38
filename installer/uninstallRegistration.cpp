#include "installer/uninstallRegistration.h"

#include "common/saverScope.h"
#include "common/QRX_FileUtils.h"
#include "common/QRX_OSUtils.h"
#include "common/logFile.h"
#include "installer/placementRules.h"
#include "installer/uninstallEntry.h"
#include "package/installedSaver.h"
#include "package/registryValues.h"

#include <windows.h>

namespace {

bool setValue(HKEY key, const char *name, DWORD type, const std::string &value) {
  return RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE *>(value.c_str()),
                        static_cast<DWORD>(value.size()) + 1) == ERROR_SUCCESS;
}

bool setNumber(HKEY key, const char *name, uint32_t number) {
  const DWORD value = number;
  return RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE *>(&value), sizeof value) ==
         ERROR_SUCCESS;
}

// Where an entry is written, for the observer: "HKLM\..." or "HKCU\...".
struct EntryKey {
  HKEY key;
  std::string shownPath;
  InstallObserver &observer;
};

bool writeValue(const EntryKey &entry, const EntryValue &value) {
  const bool written = value.isNumber ? setNumber(entry.key, value.name, value.number)
                                      : setValue(entry.key, value.name, REG_SZ, value.text);
  if (written)
    entry.observer.valueWritten(entry.shownPath, value.name,
                                value.isNumber ? std::to_string(value.number) : value.text);
  return written;
}

bool writeLibraries(const EntryKey &entry, const std::string &libraries) {
  if (libraries.size() <= 1) {
    RegDeleteValueA(entry.key, SHARED_LIBRARIES_VALUE);
    return true;
  }
  // The list ends in its own NUL; the write adds the one that closes it.
  if (!setValue(entry.key, SHARED_LIBRARIES_VALUE, REG_MULTI_SZ, libraries.substr(0, libraries.size() - 1)))
    return false;
  std::string shown;
  for (const std::string &library : splitNameList(libraries))
    shown += (shown.empty() ? "" : "; ") + library;
  entry.observer.valueWritten(entry.shownPath, SHARED_LIBRARIES_VALUE, shown);
  return true;
}

bool writeValues(const EntryKey &entry, const std::vector<EntryValue> &values,
                 const std::string &libraries) {
  for (size_t i = 0; i < OPTIONAL_ENTRY_VALUE_COUNT; ++i)
    RegDeleteValueA(entry.key, OPTIONAL_ENTRY_VALUES[i]);
  for (const EntryValue &value : values)
    if (!writeValue(entry, value)) return false;
  return writeLibraries(entry, libraries);
}

// The entry's values and the shared libraries it counted, as a REG_MULTI_SZ list.
struct EntryContent {
  std::vector<EntryValue> values;
  std::string libraries;
};

int32_t registerUnder(HKEY root, const std::string &keyPath, const EntryContent &content,
                      InstallObserver &observer) {
  HKEY key;
  if (RegCreateKeyExA(root, keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_SET_VALUE | KEY_QUERY_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return STATUS_REGISTER_UNINSTALL_FAILED;
  const EntryKey entry{key, (root == HKEY_LOCAL_MACHINE ? "HKLM\\" : "HKCU\\") + keyPath, observer};
  const bool written = writeValues(entry, content.values, content.libraries);
  const bool closed = RegCloseKey(key) == ERROR_SUCCESS;
  return written && closed ? 0 : STATUS_REGISTER_UNINSTALL_FAILED;
}

uint64_t fileSize(const std::string &path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// The files below folder; links to other folders are not followed.
uint64_t treeSize(const std::string &folder) {
  uint64_t bytes = 0;
  WIN32_FIND_DATAA entry;
  const HANDLE search = FindFirstFileA((folder + "*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return 0;
  do {
    const std::string name = entry.cFileName;
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      bytes += (uint64_t(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
    else if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) && name != "." && name != "..")
      bytes += treeSize(folder + name + "\\");
  } while (FindNextFileA(search, &entry));
  FindClose(search);
  return bytes;
}

}  // namespace

// Windows 9x stores the command's short form.
static std::string shortFormOn9x(const std::string &command) {
  const WindowsVersionFlags flags = getWindowsVersionFlags();
  if (!flags.windows95 && !flags.windows98 && !flags.windowsME) return command;
  char shortPath[MAX_PATH];
  const DWORD length = GetShortPathNameA(command.c_str(), shortPath, sizeof shortPath);
  return length > 0 && length < sizeof shortPath ? std::string(shortPath, length) : command;
}

// The carried uninstaller once it is in the saver folder; else the saver's own "/u".
static std::string commandFor(const InstallPlan &plan) {
  if (!plan.carriedUninstallCommand.empty() && fileExists(plan.folders.saver + UNINSTALLER_FILE_NAME))
    return plan.carriedUninstallCommand;
  return shortFormOn9x(plan.ownUninstallCommand);
}

static std::string localDate() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return installDateText(now.wYear, now.wMonth, now.wDay);
}

static EntryContent entryContentFor(const InstallPlan &plan,
                                    const std::vector<std::string> &sharedLibraries) {
  EntryFacts facts;
  facts.command = commandFor(plan);
  facts.carriedUninstaller = facts.command == plan.carriedUninstallCommand && !facts.command.empty();
  uint64_t bytes = treeSize(plan.folders.saver) + fileSize(plan.icon);
  for (const std::string &library : sharedLibraries) bytes += fileSize(library);
  facts.sizeKiB = estimatedSizeInKiB(bytes);
  facts.installDate = localDate();
  return EntryContent{uninstallEntryValues(plan, facts), joinedNameList(sharedLibraries)};
}

int32_t RegisterUninstall(const InstallPlan &plan, InstallObserver &observer,
                          const std::vector<std::string> &sharedLibraries) {
  TraceScope trace("RegisterUninstall", plan.saverName);
  int32_t status = STATUS_REGISTER_UNINSTALL_FAILED;
  if (isPlainKeyName(plan.saverName)) {
    const EntryContent content = entryContentFor(plan, sharedLibraries);
    status = registerUnder(saverRegistryRoot(), plan.uninstallKey, content, observer);
    if (status != 0 && !userSaverScope())
      status = registerUnder(HKEY_CURRENT_USER, plan.uninstallKey, content, observer);
  }
  return trace.result(status);
}

std::vector<std::string> recordedSharedLibraries(const std::string &saverName) {
  if (!isPlainKeyName(saverName)) return {};
  const std::string keyPath = uninstallKeyPath(saverName);
  std::string listed = registryText(saverRegistryRoot(), keyPath, SHARED_LIBRARIES_VALUE);
  if (listed.empty() && !userSaverScope())
    listed = registryText(HKEY_CURRENT_USER, keyPath, SHARED_LIBRARIES_VALUE);
  return splitNameList(listed);
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
    status = unregisterUnder(saverRegistryRoot(), keyPath);
    if (status != 0 && !userSaverScope()) status = unregisterUnder(HKEY_CURRENT_USER, keyPath);
  }
  return trace.result(status);
}
