#include "examples/sample/saverUninstall.h"

#include "common/QRX_FileUtils.h"
#include "common/QRX_OSUtils.h"
#include "common/activeSaverSetting.h"
#include "common/dialogs/messageDialog.h"
#include "common/pathRules.h"
#include "common/statusCodes.h"
#include "package/installedSaver.h"

#include <windows.h>

#include <vector>

namespace {

bool sameText(const std::string &a, const std::string &b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

std::string shortPathOf(const std::string &path) {
  char shortPath[MAX_PATH] = "";
  const DWORD length = GetShortPathNameA(path.c_str(), shortPath, sizeof shortPath);
  return length > 0 && length < sizeof shortPath ? shortPath : path;
}

std::string longPathOf(const std::string &path) {
  char longPath[MAX_PATH] = "";
  const DWORD length = GetLongPathNameA(path.c_str(), longPath, sizeof longPath);
  return length > 0 && length < sizeof longPath ? longPath : path;
}

std::vector<std::string> programCopies(const std::string &codedName) {
  std::vector<std::string> copies = {pathSystem + saverProgramName(codedName)};
  if (GetOperatingSystem() == OS_64BIT_WINDOWS) copies.push_back(pathSysnative + saverProgramName(codedName));
  return copies;
}

// The launcher stores the short form; a user may have chosen the long one.
// Asked before the copies are gone, while both forms still resolve.
bool namesACopy(const std::string &value, const std::vector<std::string> &copies) {
  if (value.empty()) return false;
  for (const std::string &copy : copies)
    if (sameText(value, copy) || sameText(value, shortPathOf(copy)) || sameText(longPathOf(value), copy))
      return true;
  return false;
}

std::string registryText(HKEY root, const std::string &keyPath, const char *name) {
  HKEY key;
  if (RegOpenKeyExA(root, keyPath.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return "";
  char text[MAX_PATH + 16] = "";
  DWORD size = sizeof text - 1, type = 0;
  const bool read = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE *>(text), &size) ==
                        ERROR_SUCCESS && type == REG_SZ;
  RegCloseKey(key);
  return read ? std::string(text, strnlen(text, size)) : "";
}

std::string systemIniSaver() {
  char value[MAX_PATH] = "";
  GetPrivateProfileStringA(BOOT_SECTION, SAVER_VALUE_NAME, "", value, sizeof value, SYSTEM_INI);
  return value;
}

int32_t removeSaverFolder(const std::string &saverFolder, std::string &failedPath) {
  const std::string folder = saverFolder.substr(0, saverFolder.size() - 1);
  const DWORD attributes = GetFileAttributesA(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return STATUS_OK;
  failedPath = saverFolder;
  const int32_t status = deleteFolderTree(saverFolder);
  // Other savers keep the shared folder; only an empty one goes.
  if (status == STATUS_OK) RemoveDirectoryA(pathCommonAppData.c_str());
  return status;
}

// The name a copy has when Windows starts, where no folder is redirected: on
// 64-bit Windows this 32-bit program's system folder is really SysWOW64, and
// its Sysnative alias is System32.
std::string nameAtStart(const std::string &copy) {
  if (!pathSysnative.empty() && copy.compare(0, pathSysnative.size(), pathSysnative) == 0) {
    char windowsFolder[MAX_PATH] = "";
    const UINT length = GetWindowsDirectoryA(windowsFolder, sizeof windowsFolder);
    if (length == 0 || length >= sizeof windowsFolder) return copy;
    return withTrailingBackslash(windowsFolder) + "System32\\" + copy.substr(pathSysnative.size());
  }
  char wow64Folder[MAX_PATH] = "";
  const UINT length = GetSystemWow64DirectoryA(wow64Folder, sizeof wow64Folder);
  if (length == 0 || length >= sizeof wow64Folder || copy.compare(0, pathSystem.size(), pathSystem) != 0)
    return copy;
  return withTrailingBackslash(wow64Folder) + copy.substr(pathSystem.size());
}

int32_t removeCopies(const std::vector<std::string> &copies, std::string &failedPath) {
  for (const std::string &copy : copies) {
    if (!fileExists(copy) || deleteFileForced(copy) == STATUS_OK) continue;
    // A running program cannot be deleted: Windows removes it at the next start.
    if (!MoveFileExA(nameAtStart(copy).c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) {
      failedPath = copy;
      return static_cast<int32_t>(GetLastError());
    }
  }
  return STATUS_OK;
}

// Every entry, under either root, that runs this program's uninstall.
int32_t removeUninstallEntries(const std::string &codedName, std::string &failedPath) {
  const std::string program = pathSystem + saverProgramName(codedName);
  const std::string command = uninstallCommand(pathSystem, codedName);
  const std::string shortCommand = shortPathOf(program) + " /u";
  for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
    HKEY list;
    if (RegOpenKeyExA(root, UNINSTALL_LIST_KEY, 0, KEY_READ, &list) != ERROR_SUCCESS) continue;
    std::vector<std::string> ours;
    char name[256];
    DWORD length = sizeof name;
    for (DWORD index = 0; RegEnumKeyExA(list, index, name, &length, nullptr, nullptr, nullptr, nullptr) ==
                          ERROR_SUCCESS;
         ++index, length = sizeof name) {
      const std::string entry = uninstallKeyPath(name);
      const std::string runs = registryText(root, entry, "UninstallString");
      if (sameText(runs, command) || sameText(runs, shortCommand)) ours.push_back(entry);
    }
    RegCloseKey(list);
    for (const std::string &entry : ours) {
      if (RegDeleteKeyA(root, entry.c_str()) != ERROR_SUCCESS) {
        failedPath = entry;
        return STATUS_UNREGISTER_UNINSTALL_FAILED;
      }
    }
  }
  return STATUS_OK;
}

int32_t clearActiveSaver(bool inSystemIni, bool inDesktop) {
  if (inSystemIni && !WritePrivateProfileStringA(BOOT_SECTION, SAVER_VALUE_NAME, nullptr, SYSTEM_INI))
    return static_cast<int32_t>(GetLastError());
  if (!inDesktop) return STATUS_OK;
  HKEY desktop;
  LONG result = RegOpenKeyExA(HKEY_CURRENT_USER, DESKTOP_KEY, 0, KEY_SET_VALUE, &desktop);
  if (result == ERROR_SUCCESS) {
    result = RegDeleteValueA(desktop, SAVER_VALUE_NAME);
    RegCloseKey(desktop);
  }
  return static_cast<int32_t>(result);
}

}  // namespace

int32_t uninstallSaver(const SaverPlace &place, const std::string &title, bool quiet) {
  if (!quiet && !askYesNo("Remove the screen saver " + title + " and all its files from this computer?\r\n\r\n" +
                          "Its folder: " + place.saverFolder))
    return STATUS_USER_ABORT;
  const std::vector<std::string> copies = programCopies(place.codedName);
  const bool activeInSystemIni = namesACopy(systemIniSaver(), copies);
  const bool activeInDesktop = namesACopy(registryText(HKEY_CURRENT_USER, DESKTOP_KEY, SAVER_VALUE_NAME), copies);

  std::string failedPath;
  int32_t status = removeSaverFolder(place.saverFolder, failedPath);
  if (status == STATUS_OK) status = removeCopies(copies, failedPath);
  if (status == STATUS_OK) status = removeUninstallEntries(place.codedName, failedPath);
  if (status == STATUS_OK) {
    failedPath = "the active screen saver setting";
    status = clearActiveSaver(activeInSystemIni, activeInDesktop);
  }
  if (quiet) return status;
  if (status == STATUS_OK)
    showInformationMessage("The screen saver " + title + " has been removed from this computer.");
  else
    showErrorMessage("The screen saver " + title + " could not be removed completely.\r\n\r\nStill in place: " +
                     failedPath + " (error " + std::to_string(status) + ").\r\n\r\nPlease close the screen " +
                     "saver control panel and try again.");
  return status;
}
