// The package's name in the work folder ("temp.dat"): a hard link to the
// running installer when its launcher started it and the file system
// allows one, otherwise a copy of it.
#ifndef SAVER_PACKAGE_PACKAGE_COPY_H
#define SAVER_PACKAGE_PACKAGE_COPY_H

#include "package/packageFailure.h"

#include <cstdint>
#include <string>

// Makes packagePath name the installer's bytes: 0 or the failure's status,
// told as STATUS_PACKAGE_COPY_FAILED. linked tells which way it went.
int32_t CopyPackageToWorkFolder(const std::string &installerFile, const std::string &packagePath,
                                bool startedByLauncher, bool &linked, Failures &failures);

// A linked package is the running program's file, which cannot be deleted
// while it runs: it is deleted, or else moved beside the installer file into
// the launcher's work folder, where the launcher deletes it after the run.
void MovePackageLinkAside(const std::string &installerFile, const std::string &packagePath);

#endif
