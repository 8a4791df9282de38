// The names and places of an installation: the coded short name of the saver
// and the destination of each carried file. Portable.
#ifndef SAVER_PACKAGE_INSTALL_NAMES_H
#define SAVER_PACKAGE_INSTALL_NAMES_H

#include "package/dataStructures_shared.h"

#include <cstdint>
#include <string>

// The decompression library: its file in the work folder, and the name its
// package entry carries so that it is no library until it is placed.
extern const char CODEC_LIBRARY_FILE[];   // "impborl.dll"
extern const char CODEC_LIBRARY_ENTRY[];  // "impborl.dat"

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

// Where an entry of a destKind goes: the one place that decides it.
enum class Destination { None, SaverFolder, SystemFolder, SharedLibrary, WorkFolderLibrary, WorkFolder };
Destination destinationOf(int32_t destKind);

// The file a carried entry is written to; "" for a destKind without one.
std::string entryDestination(int32_t destKind, const std::string &name, const InstallFolders &folders);

// The checks before an entry is written: STATUS_UNSAFE_NAME (destination :=
// the name) for a name that is no safe file name, SYSTEM_ERROR_PATH_NOT_FOUND
// for a destKind without a destination, else STATUS_OK with the destination.
int32_t entryTarget(const PackageEntry &entry, const InstallFolders &folders, std::string &destination);

// The package's name in the work folder ("temp.dat").
std::string packageCopyPath(const std::string &workFolder);

// Where one entry goes, decided once for the run.
struct EntryTarget {
  // entryTarget's verdict: 0, STATUS_UNSAFE_NAME (path is then the name) or
  // SYSTEM_ERROR_PATH_NOT_FOUND for a destKind without a destination.
  int32_t status = 0;
  std::string path;
  // A file placed in the system folder of 64-bit Windows is copied into the
  // native one too; "" otherwise.
  std::string nativeCopy;
  // The data file stays with the package for the member steps instead of
  // being written by name.
  bool keptForMembers = false;
};

// True when the extension of path (from its last '.') is exactly ".dll".
bool hasDllExtension(const std::string &path);

// name with its extension replaced by extension (which starts with '.').
std::string replaceExtension(const std::string &name, const std::string &extension);

// The name the splash entry is written under for an installer type.
std::string splashNameFor(const std::string &name, uint8_t installerType);

#endif
