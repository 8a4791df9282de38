// The elevated installer's work folder: made fresh and administrators-only
// for each run below the shared folder, and held by an open lock file while
// the run lasts. The next run can so tell the folder of a run that was ended
// by force, which it removes, from that of a run still going, which it
// leaves alone.
#ifndef SAVER_COMMON_WORK_FOLDER_H
#define SAVER_COMMON_WORK_FOLDER_H

#include <cstdint>
#include <string>
#include <vector>

// Removes the work folders below parent (ending in "\") that no run holds,
// then makes a fresh one with prefix and a random name, held until
// releaseWorkFolder, and stores it with its trailing "\" in folder. 0 or the
// system's code.
int32_t createWorkFolder(const std::string &parent, const std::string &prefix, std::string &folder);

// The folders below parent (ending in "\") whose names start with prefix,
// each with its trailing "\"; links are left out.
std::vector<std::string> foldersNamedBelow(const std::string &parent, const std::string &prefix);

// Closes this run's lock file, so that its folder can be removed.
void releaseWorkFolder();

#endif
