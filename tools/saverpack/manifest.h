// The packer's manifest (a JSON file, see manifest.md), read and checked in
// full before anything is written.
#ifndef SAVER_TOOLS_SAVERPACK_MANIFEST_H
#define SAVER_TOOLS_SAVERPACK_MANIFEST_H

#include "tools/saverpack/packageBuilder.h"

#include <cstdint>
#include <string>
#include <vector>

struct EntryPlan {
  int index = 0;
  std::string name;
  int32_t destKind = 0;
  bool compressed = false;
  std::string sourcePath;
};

struct MemberPlan {
  std::string path;        // in the saver folder, "\" between folders
  std::string sourcePath;  // empty for a copy of the movie
  uint8_t type = 0;
  bool compressed = false;
};

struct DataFilePlan {
  std::string name;
  bool compressed = false;
  std::string settingsPath;  // empty: a zeroed settings record
  std::vector<MemberPlan> members;
};

struct BuildPlan {
  PackageFlags flags;
  std::string launcherPath;  // empty: the output is the installer alone
  std::string installerPath;
  std::string codecLibraryPath;
  std::vector<EntryPlan> entries;  // index 1 and the data file excluded
  bool hasDataFile = false;
  DataFilePlan dataFile;
};

// Reads and checks the manifest; relative paths count from its folder.
// False with a message naming the fault.
bool loadBuildPlan(const std::string &manifestPath, BuildPlan &plan, std::string &error);

#endif
