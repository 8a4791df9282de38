#include "common/QRX_FileUtils.h"

#include <windows.h>
#include <shlobj.h>

#include <vector>

#include "common/logFile.h"
#include "common/pathRules.h"
#include "common/workFolder.h"

static_assert(SYSTEM_ERROR_FILE_NOT_FOUND == ERROR_FILE_NOT_FOUND, "system error code");
static_assert(SYSTEM_ERROR_PATH_NOT_FOUND == ERROR_PATH_NOT_FOUND, "system error code");
static_assert(SYSTEM_ERROR_ACCESS_DENIED == ERROR_ACCESS_DENIED, "system error code");
static_assert(SYSTEM_ERROR_SHARING_VIOLATION == ERROR_SHARING_VIOLATION, "system error code");
static_assert(SYSTEM_ERROR_DISK_FULL == ERROR_DISK_FULL, "system error code");
static_assert(SYSTEM_ERROR_ALREADY_EXISTS == ERROR_ALREADY_EXISTS, "system error code");
static_assert(SYSTEM_ERROR_ENVVAR_NOT_FOUND == ERROR_ENVVAR_NOT_FOUND, "system error code");

namespace {

constexpr DWORD SYSTEM_FOLDER_BUFFER = 301;

std::string environmentValue(const char *name) {
  const DWORD size = GetEnvironmentVariableA(name, nullptr, 0);
  if (size == 0) return std::string();
  std::vector<char> value(size);
  if (GetEnvironmentVariableA(name, value.data(), size) >= size) return std::string();
  return value.data();
}

std::string systemDirectory() {
  char folder[SYSTEM_FOLDER_BUFFER] = "";
  const UINT length = GetSystemDirectoryA(folder, SYSTEM_FOLDER_BUFFER);
  return length < SYSTEM_FOLDER_BUFFER ? folder : "";
}

// One deletion round: true when the file is gone or was never there.
bool removeFile(const std::string &path) {
  if (!fileExists(path)) return true;
  if (DeleteFileA(path.c_str())) return true;
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  return DeleteFileA(path.c_str()) != 0;
}

// The link itself, with no attribute change: that would reach what it
// points to. A link left in place makes its folder's removal fail.
bool removeLink(const std::string &link, DWORD attributes) {
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return RemoveDirectoryA(link.c_str()) != 0;
  return DeleteFileA(link.c_str()) != 0;
}

bool removeEmptyFolder(const std::string &folder) {
  SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
  return RemoveDirectoryA(folder.c_str()) != 0;
}

}  // namespace

bool pathExists(const std::string &path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool fileExists(const std::string &path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool folderExists(const std::string &path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

int32_t initSystemPaths(const std::string &programFilePath) {
  TraceScope trace("initSystemPaths", programFilePath);
  int32_t status = initFixedSystemPaths(programFilePath);
  if (status == STATUS_OK) status = createNumberedFolder("QRP", pathWorkFolder);
  return trace.result(status);
}

int32_t initFixedSystemPaths(const std::string &programFilePath) {
  for (std::string *path :
       {&pathWindows, &pathSystem, &pathSysnative, &pathCommonAppData, &pathExeFolder, &pathWorkFolder})
    path->clear();

  const std::string windowsFolder = environmentValue("WINDIR");
  int32_t status = folderFromSystemValue(windowsFolder, SYSTEM_ERROR_ENVVAR_NOT_FOUND, pathWindows);
  if (status == STATUS_OK)
    status = folderFromSystemValue(systemDirectory(), SYSTEM_ERROR_PATH_NOT_FOUND, pathSystem);
  if (status == STATUS_OK) {
    // Windows 9x has no SystemRoot; it has no native system folder either.
    const std::string systemRoot = environmentValue("SystemRoot");
    pathSysnative = sysnativeFolderOf(systemRoot.empty() ? windowsFolder : systemRoot);
  }
  if (status == STATUS_OK) {
    status = folderFromSystemValue(getSpecialFolder(CSIDL_COMMON_APPDATA), SYSTEM_ERROR_PATH_NOT_FOUND,
                                   pathCommonAppData);
    if (status == STATUS_OK) pathCommonAppData += PRODUCT_FOLDER_NAME;
  }
  if (status == STATUS_OK)
    status =
        folderFromSystemValue(folderOfFile(programFilePath), SYSTEM_ERROR_PATH_NOT_FOUND, pathExeFolder);
  return status;
}

int32_t createNumberedFolder(const std::string &prefix, std::string &folder) {
  TraceScope trace("createNumberedFolder", prefix);
  folder.clear();
  std::string base;
  int32_t status =
      folderFromSystemValue(getSpecialFolder(CSIDL_LOCAL_APPDATA), SYSTEM_ERROR_PATH_NOT_FOUND, base);
  if (status == STATUS_OK) {
    base += PRODUCT_FOLDER_NAME;
    CreateDirectoryA(base.c_str(), nullptr);  // usually there already; a failure shows below
    status = createNumberedWorkFolder(base, prefix, folder);
  }
  return trace.result(status);
}

// Asked for the path itself: the same folder as its item list turned into a
// path, without the shell's parsing of that list (a few milliseconds of
// each program's start).
std::string getSpecialFolder(int folderNumber) {
  char path[MAX_PATH] = "";
  // S_FALSE: a folder the system knows but that does not exist.
  if (SHGetFolderPathA(nullptr, folderNumber, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK)
    return std::string();
  return path;
}

int32_t deleteFileForced(const std::string &filePath) {
  return removeFile(filePath) ? STATUS_OK : STATUS_FILE_BUSY;
}

int32_t deleteFileWithRetries(const std::string &filePath, int32_t attempts) {
  int32_t status = STATUS_NOT_DONE;
  for (; attempts > 0 && status != STATUS_OK; attempts--)
    status = removeFile(filePath) ? STATUS_OK : deletionFailureStatus(filePath);
  return status;
}

int32_t deleteFolderTree(const std::string &folderName) {
  if (folderName.empty()) return STATUS_NOT_DONE;
  // Without its "\" the search below would match names beside the folder.
  const std::string folder = withTrailingBackslash(folderName);
  // A link in place of the folder goes, what it points to stays.
  const DWORD attributes = GetFileAttributesA(folder.substr(0, folder.size() - 1).c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
    return removeLink(folder.substr(0, folder.size() - 1), attributes) ? STATUS_OK : STATUS_NOT_DONE;
  int32_t status = STATUS_OK;
  WIN32_FIND_DATAA entry;
  const HANDLE search = FindFirstFileA((folder + "*.*").c_str(), &entry);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string path = subfolderEntryPath(folder, entry.cFileName);
      if (path == folder) continue;
      // A link, to a file or a folder, goes; what it points to stays.
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
        removeLink(folder + entry.cFileName, entry.dwFileAttributes);
      else if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        deleteFolderTree(path);  // a leftover makes our own removal fail below
      else
        status = deleteFileForced(folder + entry.cFileName);
    } while (status == STATUS_OK && FindNextFileA(search, &entry));
    FindClose(search);
  }
  if (status == STATUS_OK && folderExists(folder) && !removeEmptyFolder(folder)) status = STATUS_NOT_DONE;
  return status;
}
