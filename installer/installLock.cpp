#include "installer/installLock.h"

#include "common/crcUtils.h"
#include "common/logFile.h"
#include "common/statusCodes.h"

namespace {

// Machine-wide, so that another user's session counts too. The saver's name
// may hold any character, so the lock is named by its checksum.
std::string lockNameOf(const std::string &saverName) {
  std::string lower = saverName;
  if (!lower.empty()) CharLowerBuffA(lower.data(), static_cast<DWORD>(lower.size()));
  uint32_t crc = 0;
  Crc32OfString(lower, crc);
  return "Global\\Lumavane.Install." + std::to_string(crc);
}

}  // namespace

InstallLock::~InstallLock() {
  if (mutex_ == nullptr) return;
  ReleaseMutex(mutex_);
  CloseHandle(mutex_);
}

int32_t InstallLock::take(const std::string &saverName) {
  TraceScope trace("InstallLock::take", saverName);
  const HANDLE mutex = CreateMutexA(nullptr, FALSE, lockNameOf(saverName).c_str());
  if (mutex == nullptr) return trace.result(static_cast<int32_t>(GetLastError()));
  // An abandoned lock was held by a run that ended without releasing it.
  const DWORD waited = WaitForSingleObject(mutex, 0);
  if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
    CloseHandle(mutex);
    return trace.result(STATUS_INSTALL_IN_PROGRESS);
  }
  mutex_ = mutex;
  return trace.result(STATUS_OK);
}
