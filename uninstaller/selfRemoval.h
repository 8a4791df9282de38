// The uninstaller removes the saver folder it was started from. A running
// program cannot delete its own file, but it can be moved: it moves itself
// into the temporary folder, and Windows deletes it there at the next start
// (for a machine-wide saver; a user's is left to the temporary folder's
// clean-up, as the list of deletions at the next start is the machine's).
#ifndef SAVER_UNINSTALLER_SELF_REMOVAL_H
#define SAVER_UNINSTALLER_SELF_REMOVAL_H

#include <cstdint>
#include <string>

// Moves the running program out of saverFolder when it runs from there:
// 0 (also when it runs elsewhere), or the system's code of the failed move.
int32_t leaveSaverFolder(const std::string &saverFolder);

#endif
