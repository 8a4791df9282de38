#include "installer/diskSpace.h"

#include <windows.h>

#include "common/pathRules.h"
#include "common/programTexts.h"
#include "common/statusCodes.h"

namespace {

// The folder itself, or the nearest one above it that is there: the saver
// folder is made only by the install.
std::string existingFolderOf(std::string folder) {
  while (!folder.empty()) {
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return folder;
    std::string inner = folder;
    while (!inner.empty() && inner.back() == '\\') inner.pop_back();
    const std::string parent = folderOfFile(inner);
    if (parent.size() >= folder.size()) break;
    folder = parent;
  }
  return std::string();
}

}  // namespace

// A volume mounted in a folder shares its root's path with the volume above
// it under Wine: its size tells them apart.
VolumeSpace volumeSpaceOf(const std::string &folder) {
  VolumeSpace space;
  const std::string existing = existingFolderOf(folder);
  if (existing.empty()) return space;
  ULARGE_INTEGER freeToUser = {}, total = {};
  char root[MAX_PATH] = "";
  if (!GetDiskFreeSpaceExA(existing.c_str(), &freeToUser, &total, nullptr) ||
      !GetVolumePathNameA(existing.c_str(), root, MAX_PATH))
    return space;
  space.found = true;
  space.identity = std::string(root) + "|" + std::to_string(total.QuadPart);
  space.freeBytes = freeToUser.QuadPart;
  return space;
}

int32_t checkInstallSpace(const std::vector<SpaceNeed> &needs, InstallObserver &observer) {
  std::vector<VolumeSpace> volumes;
  volumes.reserve(needs.size());
  for (const SpaceNeed &need : needs) volumes.push_back(volumeSpaceOf(need.folder));
  SpaceShortfall shortfall;
  if (!findSpaceShortfall(needs, volumes, shortfall)) return STATUS_OK;
  observer.failed(Failure{FailureKind::Refused, STATUS_DISK_FULL, diskFullText(shortfall, programText)});
  return STATUS_DISK_FULL;
}

int32_t tellVolumeFilled(const std::vector<SpaceNeed> &needs, InstallObserver &observer) {
  // The volume that filled is the one still short; one freed meanwhile is
  // named by the saver folder's need.
  if (checkInstallSpace(needs, observer) == STATUS_DISK_FULL) return STATUS_DISK_FULL;
  if (needs.empty()) return STATUS_DISK_FULL;
  const VolumeSpace space = volumeSpaceOf(needs.back().folder);
  const SpaceShortfall shortfall{needs.back().folder, needs.back().bytes, space.freeBytes};
  observer.failed(Failure{FailureKind::Refused, STATUS_DISK_FULL, diskFullText(shortfall, programText)});
  return STATUS_DISK_FULL;
}

void DiskFullFilter::failed(const Failure &failure) {
  if (isDiskFullStatus(failure.status) && failure.kind != FailureKind::Refused) {
    sawFullVolume_ = true;
    return;
  }
  observer_.failed(failure);
}
