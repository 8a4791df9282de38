// The programs' work folders, each held by an open lock file while its run
// lasts, so that the next run can tell the folder of a run that was ended by
// force, which it removes, from that of a run still going, which it leaves
// alone: the elevated installer's, made fresh and administrators-only below
// the shared folder, and the numbered ones below the user's own folder.
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

// Removes the folders "<prefix><n>" below parent (ending in "\") that a run
// of these programs held and no run holds now, then makes the first free
// one, held until releaseWorkFolder, and stores it with its trailing "\" in
// folder. A folder without a lock file may be an older program's, in use:
// it stays. 0 or the system's code.
int32_t createNumberedWorkFolder(const std::string &parent, const std::string &prefix, std::string &folder);

// The folders below parent (ending in "\") whose names start with prefix,
// each with its trailing "\"; links are left out.
std::vector<std::string> foldersNamedBelow(const std::string &parent, const std::string &prefix);

// Closes and removes this run's lock file in folder, so that the folder can
// be removed.
void releaseWorkFolder(const std::string &folder);

#endif
