#include "package/saverRemoval.h"

#include "common/QRX_FileUtils.h"
#include "common/QRX_OSUtils.h"
#include "common/activeSaverSetting.h"
#include "common/adminFolder.h"
#include "common/pathRules.h"
#include "common/saverScope.h"
#include "common/statusCodes.h"
#include "package/installedSaver.h"
#include "package/libraryRelease.h"
#include "package/registryValues.h"

#include <windows.h>

#include <algorithm>

namespace {

const char SYSTEM_INI_SETTING[] = "system.ini [boot] SCRNSAVE.EXE";
const char DESKTOP_SETTING[] = "HKEY_CURRENT_USER\\Control Panel\\Desktop SCRNSAVE.EXE";

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

// The launcher stores the short form; a user may have chosen the long one.
// Asked before the copies are gone, while both forms still resolve.
bool namesACopy(const std::string &value, const std::vector<std::string> &copies) {
  if (value.empty()) return false;
  return std::ranges::any_of(copies, [&value](const std::string &copy) {
    return sameText(value, copy) || sameText(value, shortPathOf(copy)) || sameText(longPathOf(value), copy);
  });
}

std::string systemIniSaver() {
  char value[MAX_PATH] = "";
  GetPrivateProfileStringA(BOOT_SECTION, SAVER_VALUE_NAME, "", value, sizeof value, SYSTEM_INI);
  return value;
}

std::string rootName(bool machine) { return machine ? "HKEY_LOCAL_MACHINE\\" : "HKEY_CURRENT_USER\\"; }

// Windows 9x registers the short form of the saver's own "/u".
bool removesSaver(const std::string &command, const std::string &codedName) {
  return isUninstallCommandOf(command, pathSystem, pathCommonAppData, codedName) ||
         sameText(command, shortPathOf(pathSystem + saverProgramName(codedName)) + " /u");
}

// Every entry under root whose command removes this saver and that the
// removal trusts, with the shared libraries it lists.
void findEntries(bool machine, bool elevated, const std::string &codedName, InstalledSaver &saver) {
  const HKEY root = machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
  for (const std::string &name : subkeyNames(root, UNINSTALL_LIST_KEY)) {
    const std::string keyPath = uninstallKeyPath(name);
    if (!removesSaver(registryText(root, keyPath, "UninstallString"), codedName)) continue;
    const std::vector<std::string> listed =
        splitNameList(registryText(root, keyPath, SHARED_LIBRARIES_VALUE));
    if (!trustsUninstallEntry(machine, elevated, listed)) continue;
    saver.entries.push_back({machine, keyPath, registryText(root, keyPath, "DisplayName"),
                             registryText(root, keyPath, LANGUAGES_VALUE)});
    for (const std::string &library : listed)
      if (isSharedLibraryPath(library, pathCommonAppData)) saver.sharedLibraries.push_back(library);
  }
}

}  // namespace

InstalledSaver findInstalledSaver(const std::string &codedName, const std::string &programName) {
  InstalledSaver saver;
  saver.codedName = codedName;
  if (!isSafeEntryName(codedName) || pathCommonAppData.empty()) return saver;
  saver.saverFolder = saverFolderOf(pathCommonAppData, codedName);
  saver.folderPresent = folderExists(saver.saverFolder);
  if (isSafeEntryName(programName)) {
    saver.programCopies.push_back(pathSystem + programName);
    if (GetOperatingSystem() == OS_64BIT_WINDOWS && !pathSysnative.empty())
      saver.programCopies.push_back(pathSysnative + programName);
  }
  const bool elevated = isProcessElevated();
  // The user's own saver has its entry in the user's list only.
  if (!userSaverScope()) findEntries(true, elevated, codedName, saver);
  findEntries(false, elevated, codedName, saver);
  saver.sharedLibraries = distinctLibraries(saver.sharedLibraries);
  saver.activeInSystemIni = namesACopy(systemIniSaver(), saver.programCopies);
  saver.activeInDesktop =
      namesACopy(registryText(HKEY_CURRENT_USER, DESKTOP_KEY, SAVER_VALUE_NAME), saver.programCopies);
  return saver;
}

std::string displayNameOf(const InstalledSaver &saver) {
  for (const UninstallEntryFound &entry : saver.entries)
    if (!entry.displayName.empty()) return entry.displayName;
  return saver.codedName;
}

bool anythingInstalled(const InstalledSaver &saver) {
  bool programPresent = false;
  for (const std::string &copy : saver.programCopies) programPresent = programPresent || fileExists(copy);
  return saver.folderPresent || programPresent || !saver.entries.empty();
}

namespace {

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

// The first thing that stayed is the one the outcome tells.
void noteStayed(RemovalOutcome &outcome, const std::string &what) {
  if (outcome.stayed.empty()) outcome.stayed = what;
}

void keepFirstFailure(RemovalOutcome &outcome, int32_t status) {
  if (outcome.status == STATUS_OK) outcome.status = status;
}

// A file that is in use, a running program say, goes at the next start.
int32_t removeFile(const std::string &path, RemovalOutcome &outcome) {
  if (!fileExists(path)) return STATUS_OK;
  if (deleteFileForced(path) != STATUS_OK &&
      !MoveFileExA(nameAtStart(path).c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) {
    noteStayed(outcome, path);
    return static_cast<int32_t>(GetLastError());
  }
  outcome.removed.push_back(path);
  return STATUS_OK;
}

// The shared folder's own folder is the system's; from the shared folder down
// a link may lead anywhere, so what lies below one stays, and with it the
// libraries counted there and the entries that count them.
bool belowLink(const std::string &saverFolder) {
  const std::string shared = pathCommonAppData.substr(0, pathCommonAppData.size() - 1);
  return linkOnPath(folderOfFile(shared), saverFolder);
}

int32_t removeSaverFolder(const InstalledSaver &saver, RemovalOutcome &outcome) {
  if (!saver.folderPresent && !isLink(pathCommonAppData)) return STATUS_OK;
  if (belowLink(saver.saverFolder)) {
    noteStayed(outcome, saver.saverFolder);
    return STATUS_FOLDER_IS_LINK;
  }
  if (!folderExists(saver.saverFolder)) return STATUS_OK;
  const int32_t status = deleteFolderTree(saver.saverFolder);
  if (status != STATUS_OK) {
    noteStayed(outcome, saver.saverFolder);
    return status;
  }
  outcome.removed.push_back(saver.saverFolder);
  return STATUS_OK;
}

int32_t clearActiveSaver(const InstalledSaver &saver, RemovalOutcome &outcome) {
  if (saver.activeInSystemIni) {
    if (!WritePrivateProfileStringA(BOOT_SECTION, SAVER_VALUE_NAME, nullptr, SYSTEM_INI)) {
      noteStayed(outcome, SYSTEM_INI_SETTING);
      return static_cast<int32_t>(GetLastError());
    }
    outcome.removed.push_back(SYSTEM_INI_SETTING);
  }
  if (!saver.activeInDesktop) return STATUS_OK;
  const int32_t status = deleteRegistryValue(HKEY_CURRENT_USER, DESKTOP_KEY, SAVER_VALUE_NAME);
  if (status != STATUS_OK) {
    noteStayed(outcome, DESKTOP_SETTING);
    return status;
  }
  outcome.removed.push_back(DESKTOP_SETTING);
  return STATUS_OK;
}

int32_t stayedWith(RemovalOutcome &outcome, const std::string &library, int32_t status) {
  if (status != STATUS_OK) noteStayed(outcome, library);
  return status;
}

// One user less for each library; a library goes with its last user. Every
// count is read before any is written, and the files go first: a file that
// stays leaves every count as it was, so a second run lowers none twice.
int32_t releaseSharedLibraries(const std::vector<std::string> &libraries, RemovalOutcome &outcome) {
  std::vector<LibraryCount> counts;
  for (const std::string &library : libraries) {
    LibraryCount count{library};
    count.counted = readRegistryCount(saverRegistryRoot(), SHARED_LIBRARY_COUNTS_KEY, library, count.count);
    counts.push_back(count);
  }
  const LibraryRelease release = planLibraryRelease(counts);
  int32_t status = STATUS_OK;
  for (size_t i = 0; i < release.removed.size() && status == STATUS_OK; ++i)
    status = stayedWith(outcome, release.removed[i], removeFile(release.removed[i], outcome));
  for (size_t i = 0; i < release.lowered.size() && status == STATUS_OK; ++i) {
    const LibraryCount &lowered = release.lowered[i];
    status = stayedWith(
        outcome, lowered.library,
        writeRegistryCount(saverRegistryRoot(), SHARED_LIBRARY_COUNTS_KEY, lowered.library, lowered.count));
  }
  for (size_t i = 0; i < release.removed.size() && status == STATUS_OK; ++i)
    status =
        stayedWith(outcome, release.removed[i],
                   deleteRegistryValue(saverRegistryRoot(), SHARED_LIBRARY_COUNTS_KEY, release.removed[i]));
  return status;
}

int32_t removeEntries(const InstalledSaver &saver, RemovalOutcome &outcome) {
  for (const UninstallEntryFound &entry : saver.entries) {
    if (RegDeleteKeyA(entry.machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, entry.keyPath.c_str()) !=
        ERROR_SUCCESS) {
      noteStayed(outcome, rootName(entry.machine) + entry.keyPath);
      return STATUS_UNREGISTER_UNINSTALL_FAILED;
    }
    outcome.removed.push_back(rootName(entry.machine) + entry.keyPath);
  }
  return STATUS_OK;
}

}  // namespace

// The saver's own files and settings go as far as they can: a busy file
// keeps none of the others from going. The library counts and the entries
// that list them change only when all of those went, so that a second run
// finishes the job without counting a user twice.
RemovalOutcome removeInstalledSaver(const InstalledSaver &saver) {
  RemovalOutcome outcome;
  keepFirstFailure(outcome, removeSaverFolder(saver, outcome));
  for (const std::string &copy : saver.programCopies) keepFirstFailure(outcome, removeFile(copy, outcome));
  keepFirstFailure(outcome, clearActiveSaver(saver, outcome));
  if (outcome.status == STATUS_OK) outcome.status = releaseSharedLibraries(saver.sharedLibraries, outcome);
  // Other savers keep the shared folder; only an empty one goes.
  if (outcome.status == STATUS_OK && !pathCommonAppData.empty() &&
      RemoveDirectoryA(pathCommonAppData.c_str())) {
    outcome.removed.push_back(pathCommonAppData);
    // The user's program folder, made for this saver, goes too when empty.
    if (userSaverScope())
      RemoveDirectoryA(folderOfFile(pathCommonAppData.substr(0, pathCommonAppData.size() - 1)).c_str());
  }
  if (outcome.status == STATUS_OK) outcome.status = removeEntries(saver, outcome);
  return outcome;
}
