#include "tools/saverpack/installerFile.h"

#include "tools/saverpack/dataFileBuilder.h"
#include "tools/saverpack/integrityStamp.h"
#include "tools/saverpack/programImage.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

bool readWholeFile(const std::string &path, std::vector<uint8_t> &bytes, std::string &error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot read " + path;
    return false;
  }
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) {
    error = "cannot read " + path;
    return false;
  }
  return true;
}

bool writeWholeFile(const std::string &path, const std::vector<uint8_t> &bytes, std::string &error) {
  const std::string partial = path + ".partial";
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      std::remove(partial.c_str());
      error = "cannot write " + path;
      return false;
    }
  }
  std::error_code failure;
  std::filesystem::rename(partial, path, failure);  // replaces an older output
  if (failure) {
    std::remove(partial.c_str());
    error = "cannot write " + path;
    return false;
  }
  return true;
}

bool buildPlannedDataFile(const DataFilePlan &plan, std::vector<uint8_t> &dataFile,
                          std::string &error) {
  std::vector<uint8_t> settings;
  if (!plan.settingsPath.empty() && !readWholeFile(plan.settingsPath, settings, error)) return false;
  std::vector<DataMember> members;
  for (const MemberPlan &planned : plan.members) {
    DataMember member;
    member.path = planned.path;
    member.type = planned.type;
    member.compressed = planned.compressed;
    if (!planned.sourcePath.empty() && !readWholeFile(planned.sourcePath, member.bytes, error))
      return false;
    members.push_back(std::move(member));
  }
  return buildDataFile(settings, members, dataFile, error) && stampMemberCrcs(members, dataFile, error);
}

static bool carriedFiles(const BuildPlan &plan, std::vector<CarriedFile> &files, std::string &error) {
  CarriedFile codec;
  codec.index = ENTRY_CODEC_LIBRARY;
  codec.name = "impborl.dat";
  codec.destKind = DEST_WORK_FOLDER_LIBRARY;
  if (!readWholeFile(plan.codecLibraryPath, codec.bytes, error)) return false;
  files.push_back(std::move(codec));
  for (const EntryPlan &planned : plan.entries) {
    CarriedFile file;
    file.index = planned.index;
    file.name = planned.name;
    file.destKind = planned.destKind;
    file.compressed = planned.compressed;
    if (!readWholeFile(planned.sourcePath, file.bytes, error)) return false;
    files.push_back(std::move(file));
  }
  if (plan.hasDataFile) {
    CarriedFile dataFile;
    dataFile.index = ENTRY_DATA_FILE;
    dataFile.name = plan.dataFile.name;
    dataFile.destKind = DEST_WORK_FOLDER;
    dataFile.compressed = plan.dataFile.compressed;
    if (!buildPlannedDataFile(plan.dataFile, dataFile.bytes, error)) return false;
    files.push_back(std::move(dataFile));
  }
  return true;
}

bool buildInstallerFile(const BuildPlan &plan, std::vector<uint8_t> &output, std::string &error) {
  std::vector<uint8_t> launcher, installer, package;
  if (!plan.launcherPath.empty() && (!readWholeFile(plan.launcherPath, launcher, error) ||
                                     !checkProgramSize(launcher, "launcher " + plan.launcherPath, error)))
    return false;
  if (!readWholeFile(plan.installerPath, installer, error) ||
      !checkProgramSize(installer, "installer " + plan.installerPath, error))
    return false;
  std::vector<CarriedFile> files;
  if (!carriedFiles(plan, files, error)) return false;
  if (!buildPackage(plan.flags, files, static_cast<uint32_t>(installer.size()), package, error) ||
      !stampPackageIntegrity(files, installer, package, error))
    return false;
  output = std::move(launcher);
  output.insert(output.end(), installer.begin(), installer.end());
  output.insert(output.end(), package.begin(), package.end());
  return true;
}
