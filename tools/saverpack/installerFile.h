// Putting an installer file together from a checked manifest: launcher,
// installer program and package, one behind the other.
#ifndef SAVER_TOOLS_SAVERPACK_INSTALLER_FILE_H
#define SAVER_TOOLS_SAVERPACK_INSTALLER_FILE_H

#include "tools/saverpack/fileAccess.h"
#include "tools/saverpack/manifest.h"
#include "tools/saverpack/progress.h"

#include <cstdint>
#include <string>
#include <vector>

// What a build did beyond the manifest's word: the entries and members that
// were to be compressed but are stored plain, because imploding would not
// have made them smaller (manifest keys and member paths).
struct BuildNotes {
  std::vector<std::string> storedPlain;
};

// The data file of entry 8 as the plan describes it; fastImplode picks the
// greedy coder for its members.
bool buildPlannedDataFile(const DataFilePlan &plan, bool fastImplode, std::vector<uint8_t> &dataFile,
                          std::string &error, Progress *progress = nullptr, BuildNotes *notes = nullptr);

// The whole output file: [launcher] installer package.
bool buildInstallerFile(const BuildPlan &plan, std::vector<uint8_t> &output, std::string &error,
                        Progress *progress = nullptr, BuildNotes *notes = nullptr);

#endif
