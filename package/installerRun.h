// The state of an installer run in one record: the installer program's
// size, the package header, the paths and names that follow from both, the
// data file's settings and member table, and the progress hooks. The system
// paths, shared with the launcher, are in common/QRX_FileUtils.h.
#ifndef SAVER_PACKAGE_INSTALLER_RUN_H
#define SAVER_PACKAGE_INSTALLER_RUN_H

#include "package/dataStructures_shared.h"
#include "package/extractionProgress.h"
#include "package/packageFailure.h"

#include <cstdint>
#include <string>

struct InstallerRun {
  // The installer program's own length, where the package starts; the
  // program sets it from its size mark before the header is read.
  uint32_t programSize = 0;
  InstallerHeader header = {};
  std::string installerFile;  // the running installer
  std::string packagePath;    // work folder + "temp.dat"
  // The installer file is its launcher's copy, which the launcher deletes
  // after the run with its work folder; the package path is then a hard link.
  bool startedByLauncher = false;
  bool packageLinked = false;
  std::string saverName;       // from the header
  std::string codedShortName;  // of saverName
  std::string saverFolder;     // shared folder + coded short name + "\"
  std::string dataFile;        // work folder + entry 8's name
  // Entry 8 stored plain and checked: its members are read from the package
  // at its offset, and nothing is written at dataFile.
  bool dataFileInPackage = false;
  SaverSettings settings = {};                       // of the data file, written later as "saver.dat"
  DataMemberRecord members[MEMBER_TABLE_SIZE] = {};  // of the data file, index 0 unused
  ExtractionProgress progress = {nullptr, nullptr};
};

extern InstallerRun installerRun;

// Sets the installer file and the package path in the work folder.
void ComputePackagePaths();

// Sets the saver name, coded short name, saver folder and data file path.
// STATUS_UNSAFE_NAME (told) when the coded name is not a plain folder name, which
// would place or remove files outside the shared folder.
int32_t ComputeSaverPaths(Failures &failures);

#endif
