// The screen saver data file in the work folder, or in the package where it
// is stored plain: its settings record, its member table, and the expansion
// of its members into the saver folder.
#ifndef SAVER_PACKAGE_SAVER_DATA_FILE_H
#define SAVER_PACKAGE_SAVER_DATA_FILE_H

#include "package/dataStructures_shared.h"
#include "package/packageFailure.h"

#include <cstdint>
#include <string>

// Reads the settings record of the data file at the run's dataFile into its
// settings (package/installerRun.h).
int32_t ReadSaverSettings(Failures &failures);

// Opens the data file and reads the run's settings and member table; it stays open
// for ExpandDataMember. STATUS_TOO_MANY_MEMBERS for a memberCount above 1010. A
// second open while it is open is refused, told, and returns 0.
int32_t OpenDataFile(const std::string &path, bool &isOpen, Failures &failures);

// Writes member memberIndex to targetFolder + its path.
// STATUS_MEMBER_INDEX_TOO_HIGH for an index outside 1..memberCount,
// STATUS_DATA_FILE_NOT_OPEN when the file is not open, STATUS_UNSAFE_NAME for a
// path that leaves the folder; a failed member leaves no file behind. The
// member's attribute byte is handed back when wantAttribute. Read errors, a
// refused path and a damaged member are told; the other statuses are the
// caller's to tell.
int32_t ExpandDataMember(const std::string &targetFolder, int memberIndex, uint8_t &attribute,
                         bool wantAttribute, Failures &failures);

int32_t CloseDataFile(Failures &failures);

#endif
