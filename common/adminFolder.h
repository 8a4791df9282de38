// Folders that only administrators can write, and links in the paths the
// elevated programs write to or delete below. The access rules themselves
// are in common/folderSecurity.h; this is the Windows side that applies them.
//
// For the user's own saver (common/saverScope.h) the folders are made plain
// too, the links still refused.
//
// Where the system has no access control (Windows 9x, whose advapi32 lacks
// the calls), the folders are made plain: nobody's rights can be limited
// there anyway.
#ifndef SAVER_COMMON_ADMIN_FOLDER_H
#define SAVER_COMMON_ADMIN_FOLDER_H

#include <cstdint>
#include <string>

// Whether the path is a link (any reparse point: a symbolic link, a
// junction, a mount point). A missing path is none.
bool isLink(const std::string &path);

// Whether path, or any folder of it below root, is a link. path must start
// with root (both ending in "\" for folders); one that does not counts as
// leading elsewhere, like a link.
bool linkOnPath(const std::string &root, const std::string &path);

// Makes the folder (no trailing "\" needed) with the administrators-only
// access list, owned by Administrators: SYSTEM_ERROR_ALREADY_EXISTS when
// anything is there already (a fresh folder is never an old one reused),
// STATUS_FOLDER_IS_LINK when what was made is a link, else 0 or the system's
// code.
int32_t createAdminFolder(const std::string &folder);

// A folder that may already exist: made as above when missing, refused with
// STATUS_FOLDER_IS_LINK when it is a link, otherwise taken over (owner and
// access list set again) whoever made it. 0 or the system's code.
int32_t secureAdminFolder(const std::string &folder);

// Makes a fresh administrators-only folder below parent (ending in "\")
// with a name from the system's random source, and stores it with its
// trailing "\" in folder: 0 or createAdminFolder's status.
int32_t createRandomAdminFolder(const std::string &parent, const std::string &prefix, std::string &folder);

// The elevated installer's system paths: those of initFixedSystemPaths
// (common/QRX_FileUtils.h), then the shared folder secured as above, then
// pathWorkFolder made fresh in it with a random name: what the installer
// writes and then loads or runs lies where only administrators can write.
int32_t initAdminSystemPaths(const std::string &programFilePath);

#endif
