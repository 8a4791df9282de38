// Putting an installer file together from a checked manifest: launcher,
// installer program and package, one behind the other.
#ifndef SAVER_TOOLS_SAVERPACK_INSTALLER_FILE_H
#define SAVER_TOOLS_SAVERPACK_INSTALLER_FILE_H

#include "tools/saverpack/manifest.h"

#include <cstdint>
#include <string>
#include <vector>

bool readWholeFile(const std::string &path, std::vector<uint8_t> &bytes, std::string &error);

// Writes a sibling file first and renames it over path, so that a failure
// never leaves a half-written output behind.
bool writeWholeFile(const std::string &path, const std::vector<uint8_t> &bytes, std::string &error);

// The data file of entry 8 as the plan describes it.
bool buildPlannedDataFile(const DataFilePlan &plan, std::vector<uint8_t> &dataFile,
                          std::string &error);

// The whole output file: [launcher] installer package.
bool buildInstallerFile(const BuildPlan &plan, std::vector<uint8_t> &output, std::string &error);

#endif
