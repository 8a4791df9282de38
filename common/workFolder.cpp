#include "common/workFolder.h"

#include <windows.h>

#include <vector>

#include "common/QRX_FileUtils.h"
#include "common/adminFolder.h"
#include "common/logFile.h"
#include "common/statusCodes.h"

namespace {

const char LOCK_FILE[] = "run.lock";
// Machine-wide: another user's installer shares the folder.
const char WORK_FOLDERS_MUTEX[] = "Global\\Lumavane.WorkFolders";
// A run holds the mutex only to clear up and make its folder.
const DWORD MUTEX_WAIT_MS = 30000;

HANDLE heldLock = INVALID_HANDLE_VALUE;

// Another run's open lock refuses any open that does not share reading.
bool heldByARun(const std::string &folder) {
  const HANDLE lock = CreateFileA((folder + LOCK_FILE).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (lock != INVALID_HANDLE_VALUE) CloseHandle(lock);
  return lock == INVALID_HANDLE_VALUE && GetLastError() == ERROR_SHARING_VIOLATION;
}

// What a file of a killed run still holds open elsewhere (a package that is
// a link to a running installer) stays until a later run.
void removeLeftOverFolders(const std::string &parent, const std::string &prefix) {
  for (const std::string &folder : foldersNamedBelow(parent, prefix)) {
    if (heldByARun(folder)) continue;
    logLine("work folder left by an ended run: " + folder);
    deleteFolderTree(folder);
  }
}

// Shared for reading only, so that it can be seen to be held.
int32_t holdLock(const std::string &folder) {
  heldLock = CreateFileA((folder + LOCK_FILE).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  return heldLock == INVALID_HANDLE_VALUE ? static_cast<int32_t>(GetLastError()) : STATUS_OK;
}

}  // namespace

std::vector<std::string> foldersNamedBelow(const std::string &parent, const std::string &prefix) {
  std::vector<std::string> folders;
  WIN32_FIND_DATAA entry;
  const HANDLE search = FindFirstFileA((parent + prefix + "*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return folders;
  do {
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
        !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
      folders.push_back(parent + entry.cFileName + "\\");
  } while (FindNextFileA(search, &entry));
  FindClose(search);
  return folders;
}

int32_t createWorkFolder(const std::string &parent, const std::string &prefix, std::string &folder) {
  TraceScope trace("createWorkFolder", parent);
  // A folder is made and locked in one hold of the mutex, so a run clearing
  // up never finds one that is made but not yet locked. A mutex kept by
  // another program too long only costs the clearing up.
  const HANDLE mutex = CreateMutexA(nullptr, FALSE, WORK_FOLDERS_MUTEX);
  const DWORD waited = mutex != nullptr ? WaitForSingleObject(mutex, MUTEX_WAIT_MS) : WAIT_FAILED;
  const bool owned = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
  if (owned) removeLeftOverFolders(parent, prefix);
  int32_t status = createRandomAdminFolder(parent, prefix, folder);
  if (status == STATUS_OK) status = holdLock(folder);
  if (owned) ReleaseMutex(mutex);
  if (mutex != nullptr) CloseHandle(mutex);
  return trace.result(status);
}

void releaseWorkFolder() {
  if (heldLock == INVALID_HANDLE_VALUE) return;
  CloseHandle(heldLock);
  heldLock = INVALID_HANDLE_VALUE;
}
