#include "installer/diskSpaceRule.h"

#include "common/pathRules.h"
#include "common/statusCodes.h"
#include "installer/stringTableIds.h"
#include "package/dataFileFormat.h"
#include "package/packageFormat.h"

namespace {

// Allocation units of NTFS's default size: each file takes whole ones.
const uint64_t ALLOCATION_UNIT = 4096;

uint64_t expandedBytesOf(const PackageEntry &entry) {
  return entry.expandedSize > 0 ? static_cast<uint64_t>(entry.expandedSize) : 0;
}

void addNeed(std::vector<SpaceNeed> &needs, const std::string &folder, uint64_t bytes) {
  if (!folder.empty() && bytes > 0) needs.push_back(SpaceNeed{folder, bytes});
}

// The licence and the read-me, copied from the work folder into the saver folder.
uint64_t documentBytes(const InstallerHeader &header) {
  uint64_t bytes = 0;
  if (header.showLicense != 0) bytes += spaceOnDisk(expandedBytesOf(header.entries[ENTRY_LICENSE]));
  if (header.carriesReadMe != 0) bytes += spaceOnDisk(expandedBytesOf(header.entries[ENTRY_README]));
  return bytes;
}

// Whole megabytes, or kilobytes below one megabyte; the need rounded up and
// what is free rounded down, so that the two never read alike.
std::string spaceText(uint64_t bytes, bool roundUp) {
  const uint64_t kilobyte = 1024, megabyte = kilobyte * kilobyte;
  const uint64_t unit = bytes < megabyte ? kilobyte : megabyte;
  const uint64_t count = (bytes + (roundUp ? unit - 1 : 0)) / unit;
  return std::to_string(count) + (unit == kilobyte ? " KB" : " MB");
}

}  // namespace

uint64_t spaceOnDisk(uint64_t size) {
  return (size + ALLOCATION_UNIT - 1) / ALLOCATION_UNIT * ALLOCATION_UNIT;
}

std::vector<SpaceNeed> entrySpaceNeeds(const InstallerHeader &header, const InstallPlan &plan,
                                       uint64_t membersBytes) {
  std::vector<SpaceNeed> needs;
  for (int index = plan.firstInstallEntry; index <= ENTRY_LAST; ++index) {
    const PackageEntry &entry = header.entries[index];
    const EntryTarget &target = plan.entries[index];
    if (!entryPresent(entry) || target.status != 0) continue;
    const uint64_t bytes = spaceOnDisk(expandedBytesOf(entry));
    // A data file stored plain is read where it lies in the package.
    if (target.keptForMembers) {
      if (entry.compressed != 0) addNeed(needs, plan.folders.work, bytes);
      continue;
    }
    addNeed(needs, folderOfFile(target.path), bytes);
    if (!target.nativeCopy.empty()) addNeed(needs, folderOfFile(target.nativeCopy), bytes);
  }
  addNeed(needs, plan.folders.saver, membersBytes + documentBytes(header));
  return needs;
}

std::vector<SpaceNeed> installSpaceNeeds(const InstallerHeader &header, const InstallPlan &plan) {
  return entrySpaceNeeds(header, plan, membersBytesAtLeast(header));
}

SpaceNeed saverFolderNeed(const InstallerHeader &header, const InstallPlan &plan,
                          const std::vector<uint32_t> &memberSizes) {
  uint64_t bytes = documentBytes(header);
  for (const uint32_t size : memberSizes) bytes += spaceOnDisk(size);
  return SpaceNeed{plan.folders.saver, bytes};
}

bool isDiskFullStatus(int32_t status) {
  return status == STATUS_DISK_FULL || status == SYSTEM_ERROR_DISK_FULL ||
         status == SYSTEM_ERROR_HANDLE_DISK_FULL;
}

uint64_t membersBytesAtLeast(const InstallerHeader &header) {
  const PackageEntry &dataFile = header.entries[ENTRY_DATA_FILE];
  if (!entryPresent(dataFile)) return 0;
  const uint64_t tables = static_cast<uint64_t>(memberRecordOffset(MEMBER_TABLE_SIZE)) +
                          MAX_DATA_MEMBERS * static_cast<uint64_t>(sizeof(DataMemberHeader));
  const uint64_t bytes = expandedBytesOf(dataFile);
  return bytes > tables ? bytes - tables : 0;
}

bool findSpaceShortfall(const std::vector<SpaceNeed> &needs, const std::vector<VolumeSpace> &volumes,
                        SpaceShortfall &shortfall) {
  // A few volumes at most: each is added up where it is first named.
  for (size_t first = 0; first < needs.size() && first < volumes.size(); ++first) {
    const VolumeSpace &volume = volumes[first];
    bool namedBefore = false;
    for (size_t earlier = 0; earlier < first; ++earlier)
      namedBefore = namedBefore || (volumes[earlier].found && volumes[earlier].identity == volume.identity);
    if (!volume.found || namedBefore) continue;
    SpaceShortfall total{needs[first].folder, 0, volume.freeBytes};
    uint64_t largest = 0;
    for (size_t index = first; index < needs.size() && index < volumes.size(); ++index) {
      if (!volumes[index].found || volumes[index].identity != volume.identity) continue;
      total.needed += needs[index].bytes;
      // The folder that needs the most is the one the user most likely looks at.
      if (needs[index].bytes > largest) {
        largest = needs[index].bytes;
        total.folder = needs[index].folder;
      }
    }
    if (total.needed <= total.freeBytes) continue;
    shortfall = total;
    return true;
  }
  return false;
}

std::string diskFullText(const SpaceShortfall &shortfall, TextLookup text) {
  return expandText(text(IDS_DISK_FULL), {spaceText(shortfall.needed, true), shortfall.folder,
                                          spaceText(shortfall.freeBytes, false)});
}
