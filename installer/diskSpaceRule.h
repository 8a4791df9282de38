// How much space an install needs on each volume, and whether the volumes
// have it: the rule behind the check before writing and the message of a
// volume that filled up during the install. Portable: the Windows layer
// (installer/diskSpace.h) says which volume a folder lies on and what is
// free there.
#ifndef SAVER_INSTALLER_DISK_SPACE_RULE_H
#define SAVER_INSTALLER_DISK_SPACE_RULE_H

#include "common/programTexts.h"
#include "installer/installPlan.h"
#include "package/dataStructures_shared.h"

#include <cstdint>
#include <string>
#include <vector>

// Bytes the install will write below folder.
struct SpaceNeed {
  std::string folder;
  uint64_t bytes = 0;
};

// The volume a folder lies on: what tells it from the others, and what is
// free there for this user. A volume that cannot be read has found = false
// and is not checked: the writes then tell for themselves.
struct VolumeSpace {
  bool found = false;
  std::string identity;
  uint64_t freeBytes = 0;
};

// A volume without the space: the folder on it that needs the most, what the
// install needs there in all, and what is free.
struct SpaceShortfall {
  std::string folder;
  uint64_t needed = 0;
  uint64_t freeBytes = 0;
};

// The space a file of size bytes takes, whole allocation units counted.
uint64_t spaceOnDisk(uint64_t size);

// What the files of the entries from the plan's first install entry to the
// last need, each in the folder it is written to (a native copy too), with
// the licence and the read-me copied into the saver folder. The members are
// counted in the saver folder as membersBytes.
std::vector<SpaceNeed> entrySpaceNeeds(const InstallerHeader &header, const InstallPlan &plan,
                                       uint64_t membersBytes);

// The needs before anything is written, the members counted as
// membersBytesAtLeast says.
std::vector<SpaceNeed> installSpaceNeeds(const InstallerHeader &header, const InstallPlan &plan);

// What the saver folder needs once the members' table is read: the
// members, as they expand, the licence and the read-me.
SpaceNeed saverFolderNeed(const InstallerHeader &header, const InstallPlan &plan,
                          const std::vector<uint32_t> &memberSizes);

// True for a status that says a volume was full: the check's own, or the
// system's from a write.
bool isDiskFullStatus(int32_t status);

// What the members need before their table is read: at least what the data
// file holds, less its table, since a member is stored no larger than it
// expands.
uint64_t membersBytesAtLeast(const InstallerHeader &header);

// Adds the needs of each volume up, volumes[i] being the one needs[i] lies
// on, and reports the first volume whose need passes what is free there;
// false when every volume has the space.
bool findSpaceShortfall(const std::vector<SpaceNeed> &needs, const std::vector<VolumeSpace> &volumes,
                        SpaceShortfall &shortfall);

// The failure's text: how much is needed, where, and what is free, in whole
// megabytes ("201 MB"), or kilobytes below one.
std::string diskFullText(const SpaceShortfall &shortfall, TextLookup text);

#endif
