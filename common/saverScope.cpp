#include "common/saverScope.h"

#include <shlobj.h>

#include "common/QRX_FileUtils.h"
#include "common/logFile.h"
#include "common/pathRules.h"

namespace {

const char USER_PROGRAMS_FOLDER[] = "Programs\\";

bool forUser = false;

// Makes the folder (with its trailing "\") unless it is there: 0 or the system's code.
int32_t makeFolder(const std::string &folder) {
  if (CreateDirectoryA(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS) return STATUS_OK;
  return static_cast<int32_t>(GetLastError());
}

}  // namespace

bool userSaverScope() { return forUser; }

HKEY saverRegistryRoot() { return forUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }

std::string userSaverFolder() {
  std::string local;
  if (folderFromSystemValue(getSpecialFolder(CSIDL_LOCAL_APPDATA), SYSTEM_ERROR_PATH_NOT_FOUND, local) !=
      STATUS_OK)
    return std::string();
  return local + USER_PROGRAMS_FOLDER + PRODUCT_FOLDER_NAME;
}

namespace {

// Points the system and shared folders of paths already set at the user's
// own saver folder, made when missing.
int32_t setUserSaverPaths() {
  const std::string folder = userSaverFolder();
  int32_t status = folder.empty() ? SYSTEM_ERROR_PATH_NOT_FOUND : STATUS_OK;
  if (status == STATUS_OK) status = makeFolder(folderOfFile(folder.substr(0, folder.size() - 1)));
  if (status == STATUS_OK) status = makeFolder(folder);
  if (status == STATUS_OK) {
    pathSystem = folder;
    pathCommonAppData = folder;
    pathSysnative.clear();
  }
  return status;
}

}  // namespace

int32_t initUserSaverPaths(const std::string &programFilePath, bool withWorkFolder) {
  TraceScope trace("initUserSaverPaths", programFilePath);
  forUser = true;
  int32_t status =
      withWorkFolder ? initSystemPaths(programFilePath) : initFixedSystemPaths(programFilePath);
  if (status == STATUS_OK) status = setUserSaverPaths();
  return trace.result(status);
}

// Never through initUserSaverPaths: the uninstaller, which calls this, makes
// no work folder, and so links none of the work folders' code.
int32_t initInstalledSaverPaths(const std::string &programPath) {
  if (!isInUserSaverFolder(programPath)) return initFixedSystemPaths(programPath);
  TraceScope trace("initUserSaverPaths", programPath);
  forUser = true;
  int32_t status = initFixedSystemPaths(programPath);
  if (status == STATUS_OK) status = setUserSaverPaths();
  return trace.result(status);
}

bool isInUserSaverFolder(const std::string &programPath) {
  const std::string folder = userSaverFolder();
  return !folder.empty() && programPath.size() > folder.size() &&
         lstrcmpiA(programPath.substr(0, folder.size()).c_str(), folder.c_str()) == 0;
}
