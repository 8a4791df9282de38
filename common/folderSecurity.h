// The access rules of the folders the elevated installer writes and then
// loads or runs from: the shared folder, each saver folder and the
// installer's own work folder. Kept as data here, in the security
// descriptor definition language, so that the rules can be read and tested
// without Windows; common/adminFolder.cpp hands them to the system.
#ifndef SAVER_COMMON_FOLDER_SECURITY_H
#define SAVER_COMMON_FOLDER_SECURITY_H

#include <cstddef>
#include <cstdint>
#include <string>

// Owner Administrators; a protected access list (nothing inherited from the
// parent) that gives Administrators and SYSTEM full control and the
// installing user read and execute, each passed on to files and subfolders.
// A userSid that is not a plain SID text ("S-1-5-21-...") leaves the user's
// entry out rather than letting the text change the descriptor.
std::string adminOnlyFolderDescriptor(const std::string &userSid);

// "S-<revision>-<authority>{-<subauthority>}": digits between the dashes,
// nothing else.
bool isSidText(const std::string &text);

// prefix followed by the bytes as lower-case hexadecimal digits: the name of
// a folder made fresh for one run.
std::string randomFolderName(const std::string &prefix, const uint8_t *bytes, size_t count);

#endif
