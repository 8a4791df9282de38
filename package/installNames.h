// The names and places of an installation: the coded short name of the saver,
// the destination of each carried file, and the checks that keep names taken
// from a package inside the folders meant for them. Portable.
#ifndef SAVER_PACKAGE_INSTALL_NAMES_H
#define SAVER_PACKAGE_INSTALL_NAMES_H

#include <cstdint>
#include <string>

struct InstallFolders {
  std::string work;    // pathWorkFolder
  std::string saver;   // shared folder + coded short name + "\"
  std::string shared;  // pathCommonAppData
  std::string system;  // pathSystem
};

// Names longer than 8 characters that hold an upper-case letter (name differs
// from lowerName) are coded as their first 4 characters and the last 4 digits
// of crc in decimal, or all its digits when it has fewer.
std::string codedShortNameFor(const std::string &name, const std::string &lowerName, uint32_t crc);

// The file a carried entry is written to; "" for a destKind without one.
std::string entryDestination(int32_t destKind, const std::string &name,
                             const InstallFolders &folders);

// True when the extension of path (from its last '.') is exactly ".dll".
bool hasDllExtension(const std::string &path);

// name with its extension replaced by extension (which starts with '.').
std::string replaceExtension(const std::string &name, const std::string &extension);

// The name the splash entry is written under for an installer type.
std::string splashNameFor(const std::string &name, uint8_t installerType);

// An entry name must be a bare file name: no folder, no drive, not "." or
// "..", and no device name such as "CON" or "com1.txt".
bool isSafeEntryName(const std::string &name);

// A member path must stay inside the saver folder: relative, no drive, no
// "..", no device name.
bool isSafeMemberPath(const std::string &path);

#endif
