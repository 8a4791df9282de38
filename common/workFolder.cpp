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
// The user's own folders are shared by the runs of the user's session.
const char NUMBERED_FOLDERS_MUTEX[] = "Local\\Lumavane.NumberedFolders";
// A run holds the mutex only to clear up and make its folder.
const DWORD MUTEX_WAIT_MS = 30000;
const int NUMBERED_FOLDER_LIMIT = 1000;

// The lock files this run holds, with their folders: its work folder, and
// the movie panel's scratch folder while it is open. A numbered folder made
// when all are taken goes without a lock, and so stays like an older
// program's.
struct HeldLock {
  std::string folder;
  HANDLE lock = INVALID_HANDLE_VALUE;
};
HeldLock heldLocks[8];

enum class LockState { held, free, missing };

// Another run's open lock refuses any open that does not share reading.
LockState lockStateOf(const std::string &folder) {
  const HANDLE lock = CreateFileA((folder + LOCK_FILE).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (lock != INVALID_HANDLE_VALUE) {
    CloseHandle(lock);
    return LockState::free;
  }
  return GetLastError() == ERROR_SHARING_VIOLATION ? LockState::held : LockState::missing;
}

// What a file of a killed run still holds open elsewhere (a package that is
// a link to a running installer) stays until a later run. A folder without
// its lock is a run's left-over only where every run makes its lock at once.
void removeLeftOverFolders(const std::string &parent, const std::string &prefix, bool lockless) {
  for (const std::string &folder : foldersNamedBelow(parent, prefix)) {
    const LockState state = lockStateOf(folder);
    if (state == LockState::held || (state == LockState::missing && !lockless)) continue;
    logLine("work folder left by an ended run: " + folder);
    deleteFolderTree(folder);
  }
}

// Shared for reading only, so that it can be seen to be held.
int32_t holdLock(const std::string &folder) {
  for (HeldLock &held : heldLocks) {
    if (held.lock != INVALID_HANDLE_VALUE) continue;
    held.lock = CreateFileA((folder + LOCK_FILE).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                            CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (held.lock == INVALID_HANDLE_VALUE) return static_cast<int32_t>(GetLastError());
    held.folder = folder;
    return STATUS_OK;
  }
  return STATUS_OK;
}

// The first free "<prefix><n>" below parent, made.
int32_t createFirstFreeFolder(const std::string &parent, const std::string &prefix, std::string &folder) {
  DWORD lastError = 0;
  for (int number = 1; number <= NUMBERED_FOLDER_LIMIT && folder.empty(); number++) {
    const std::string candidate = parent + prefix + std::to_string(number);
    if (pathExists(candidate)) continue;
    if (CreateDirectoryA(candidate.c_str(), nullptr))
      folder = candidate + '\\';
    else
      lastError = GetLastError();
  }
  if (!folder.empty()) return STATUS_OK;
  // All names taken leaves no error of its own: report them as taken.
  return lastError != 0 ? static_cast<int32_t>(lastError) : SYSTEM_ERROR_ALREADY_EXISTS;
}

// Holds the named mutex for its scope; a mutex kept by another program too
// long only costs the clearing up, which runs only while it is owned.
class FolderMutex {
 public:
  explicit FolderMutex(const char *name) : mutex_(CreateMutexA(nullptr, FALSE, name)) {
    const DWORD waited = mutex_ != nullptr ? WaitForSingleObject(mutex_, MUTEX_WAIT_MS) : WAIT_FAILED;
    owned_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
  }
  ~FolderMutex() {
    if (owned_) ReleaseMutex(mutex_);
    if (mutex_ != nullptr) CloseHandle(mutex_);
  }
  FolderMutex(const FolderMutex &) = delete;
  FolderMutex &operator=(const FolderMutex &) = delete;
  bool owned() const { return owned_; }

 private:
  HANDLE mutex_;
  bool owned_ = false;
};

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

// A folder is made and locked in one hold of the mutex, so a run clearing up
// never finds one that is made but not yet locked.
int32_t createWorkFolder(const std::string &parent, const std::string &prefix, std::string &folder) {
  TraceScope trace("createWorkFolder", parent);
  const FolderMutex mutex(WORK_FOLDERS_MUTEX);
  if (mutex.owned()) removeLeftOverFolders(parent, prefix, true);
  int32_t status = createRandomAdminFolder(parent, prefix, folder);
  if (status == STATUS_OK) status = holdLock(folder);
  return trace.result(status);
}

int32_t createNumberedWorkFolder(const std::string &parent, const std::string &prefix,
                                 std::string &folder) {
  folder.clear();
  const FolderMutex mutex(NUMBERED_FOLDERS_MUTEX);
  if (mutex.owned()) removeLeftOverFolders(parent, prefix, false);
  int32_t status = createFirstFreeFolder(parent, prefix, folder);
  if (status == STATUS_OK) status = holdLock(folder);
  if (status != STATUS_OK && !folder.empty()) {
    RemoveDirectoryA(folder.c_str());
    folder.clear();
  }
  return status;
}

void releaseWorkFolder(const std::string &folder) {
  for (HeldLock &held : heldLocks) {
    if (held.lock == INVALID_HANDLE_VALUE || held.folder != folder) continue;
    CloseHandle(held.lock);
    held.lock = INVALID_HANDLE_VALUE;
    DeleteFileA((folder + LOCK_FILE).c_str());
  }
}
