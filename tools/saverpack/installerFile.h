// Putting an installer file together from a checked manifest: launcher,
// installer program and package, one behind the other, written to disk as
// it is made.
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

// Writes the whole output file, [launcher] installer package, to
// outputPath: the package member by member in bounded blocks through a
// sibling file that replaces outputPath only once complete, so that a
// failure leaves no partial output and an older one as it was. size is the
// file's length.
bool writeInstallerFile(const BuildPlan &plan, const std::string &outputPath, int64_t &size,
                        std::string &error, Progress *progress = nullptr, BuildNotes *notes = nullptr);

// The same file in memory, made through a scratch file.
bool buildInstallerFile(const BuildPlan &plan, std::vector<uint8_t> &output, std::string &error,
                        Progress *progress = nullptr, BuildNotes *notes = nullptr);

#endif
