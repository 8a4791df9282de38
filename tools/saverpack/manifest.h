// The packer's manifest (a JSON file, see manifest.md), read and checked in
// full before anything is written.
#ifndef SAVER_TOOLS_SAVERPACK_MANIFEST_H
#define SAVER_TOOLS_SAVERPACK_MANIFEST_H

#include "tools/saverpack/packageBuilder.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

struct EntryPlan {
  int index = 0;
  std::string key;  // where it sits in the manifest, e.g. "entries[2]"
  std::string name;
  int32_t destKind = 0;
  bool compressed = false;   // imploded when that makes it smaller
  std::string sourcePath;    // the file as installed
  std::string implodedPath;  // or an implode stream carried as it is
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
  std::string uninstallerPath;     // empty unless the data file carries it, last
  std::vector<EntryPlan> entries;  // index 1 and the data file excluded
  bool hasDataFile = false;
  DataFilePlan dataFile;
  bool fastImplode = false;  // the greedy coder rather than the shortest streams
};

// Reads and checks the manifest; relative paths count from its folder.
// False with a message naming the fault and the key at fault.
bool loadBuildPlan(const std::string &manifestPath, BuildPlan &plan, std::string &error);

// The name entry 6 is installed under: the coded short name of the saver and
// ".scr", since the uninstall entry runs exactly that file.
std::string saverProgramNameFor(const std::string &saverName);

// The members of a folder as the manifest's "members" key takes them:
// regular files, sub-folders included, sorted by path.
std::vector<std::filesystem::path> memberFilesIn(const std::filesystem::path &folder);

#endif
