#include "tools/saverpack/installerFile.h"

#include "codec/dcl.h"
#include "codec/memoryCodec.h"
#include "package/installNames.h"
#include "package/packageLimits.h"
#include "tools/saverpack/dataFileBuilder.h"
#include "tools/saverpack/integrityStamp.h"
#include "tools/saverpack/programImage.h"

#include <chrono>
#include <filesystem>

namespace {

bool readKeyedFile(const std::string &key, const std::string &path, std::vector<uint8_t> &bytes,
                   std::string &error, Progress *progress = nullptr) {
  const auto start = std::chrono::steady_clock::now();
  if (readWholeFile(path, bytes, error)) {
    if (progress != nullptr)
      progress->inputRead(bytes.size(),
                          std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    return true;
  }
  error = key + ": " + error;
  return false;
}

// Refuses, before reading it, a file larger than the format carries.
bool withinLimit(const std::string &key, const std::string &path, int64_t limit, const char *what,
                 std::string &error) {
  std::error_code fault;
  const uintmax_t size = std::filesystem::file_size(pathOfUtf8(path), fault);
  if (fault || size <= static_cast<uintmax_t>(limit)) return true;  // reading it tells what is wrong
  error = key + ": \"" + path + "\" is " + std::to_string(size) + " bytes, more than the largest " + what +
          " a package can carry (" + std::to_string(limit) + " bytes)";
  return false;
}

// Implodes what the manifest asks to compress, unless that would not make
// it smaller; notes what stays plain for that reason.
void packWhenSmaller(const std::string &what, const std::vector<uint8_t> &bytes, bool &compressed,
                     std::vector<uint8_t> &imploded, bool fast, BuildNotes *notes) {
  if (!compressed || bytes.empty()) return;
  compressed = implodeWhenSmaller(bytes, imploded, fast);
  if (!compressed && notes != nullptr) notes->storedPlain.push_back(what);
}

// An implode stream carried as it is: exploded once to check it and to learn
// the size it expands to.
bool readImploded(const EntryPlan &planned, CarriedFile &file, std::string &error) {
  if (!readKeyedFile(planned.key + ".imploded", planned.implodedPath, file.imploded, error)) return false;
  if (dcl::explodeBuffer(file.imploded.data(), file.imploded.size(), file.bytes) != dcl::CMP_NO_ERROR) {
    error = planned.key + ".imploded: \"" + planned.implodedPath + "\" is no complete implode stream";
    return false;
  }
  return true;
}

size_t storedSize(const CarriedFile &file) {
  return file.compressed ? file.imploded.size() : file.bytes.size();
}

// An entry's file as the plan names it: read, and imploded where asked.
bool carriedEntry(const EntryPlan &planned, bool fastImplode, CarriedFile &file, std::string &error,
                  Progress *progress, BuildNotes *notes) {
  file.index = planned.index;
  file.name = planned.name;
  file.destKind = planned.destKind;
  file.compressed = planned.compressed;
  if (!planned.implodedPath.empty()) return readImploded(planned, file, error);
  if (!withinLimit(planned.key + ".file", planned.sourcePath, MAX_ENTRY_BYTES, "entry", error) ||
      !readKeyedFile(planned.key + ".file", planned.sourcePath, file.bytes, error, progress))
    return false;
  packWhenSmaller(planned.key + " (" + planned.name + ")", file.bytes, file.compressed, file.imploded,
                  fastImplode, notes);
  return true;
}

bool carriedFiles(const BuildPlan &plan, std::vector<CarriedFile> &files, std::string &error,
                  Progress *progress, BuildNotes *notes) {
  CarriedFile codec;
  codec.index = ENTRY_CODEC_LIBRARY;
  codec.name = CODEC_LIBRARY_ENTRY;
  codec.destKind = DEST_WORK_FOLDER_LIBRARY;
  if (!readKeyedFile("codecLibrary", plan.codecLibraryPath, codec.bytes, error)) return false;
  files.push_back(std::move(codec));
  for (const EntryPlan &planned : plan.entries) {
    CarriedFile file;
    if (!carriedEntry(planned, plan.fastImplode, file, error, progress, notes)) return false;
    if (progress != nullptr)
      progress->fileDone("entry " + std::to_string(file.index) + " " + file.name, file.bytes.size(),
                         storedSize(file));
    files.push_back(std::move(file));
  }
  if (plan.hasDataFile) {
    CarriedFile dataFile;
    dataFile.index = ENTRY_DATA_FILE;
    dataFile.name = plan.dataFile.name;
    dataFile.destKind = DEST_WORK_FOLDER;
    dataFile.compressed = plan.dataFile.compressed;
    if (!buildPlannedDataFile(plan.dataFile, plan.fastImplode, dataFile.bytes, error, progress, notes))
      return false;
    packWhenSmaller("dataFile", dataFile.bytes, dataFile.compressed, dataFile.imploded, plan.fastImplode,
                    notes);
    if (progress != nullptr)
      progress->fileDone("entry 8 " + dataFile.name, dataFile.bytes.size(), storedSize(dataFile));
    files.push_back(std::move(dataFile));
  }
  return true;
}

}  // namespace

bool buildPlannedDataFile(const DataFilePlan &plan, bool fastImplode, std::vector<uint8_t> &dataFile,
                          std::string &error, Progress *progress, BuildNotes *notes) {
  std::vector<uint8_t> settings;
  if (!plan.settingsPath.empty() && !readKeyedFile("dataFile.settings", plan.settingsPath, settings, error))
    return false;
  std::vector<DataMember> members;
  uint64_t expandedSoFar = 0;
  for (const MemberPlan &planned : plan.members) {
    DataMember member;
    member.path = planned.path;
    member.type = planned.type;
    member.compressed = planned.compressed;
    if (!planned.sourcePath.empty() &&
        (!withinLimit("dataFile.members " + member.path, planned.sourcePath, MAX_MEMBER_BYTES, "member",
                      error) ||
         !readKeyedFile("dataFile.members", planned.sourcePath, member.bytes, error, progress)))
      return false;
    packWhenSmaller("dataFile member " + member.path, member.bytes, member.compressed, member.imploded,
                    fastImplode, notes);
    expandedSoFar += member.bytes.size();
    members.push_back(std::move(member));
    if (progress != nullptr) progress->memberDone(members.size(), plan.members.size(), expandedSoFar);
  }
  if (buildDataFile(settings, members, dataFile, error) && stampMemberCrcs(members, dataFile, error))
    return true;
  error = "dataFile: " + error;
  return false;
}

bool buildInstallerFile(const BuildPlan &plan, std::vector<uint8_t> &output, std::string &error,
                        Progress *progress, BuildNotes *notes) {
  std::vector<uint8_t> launcher, installer, package;
  if (!plan.launcherPath.empty() && (!readKeyedFile("launcher", plan.launcherPath, launcher, error) ||
                                     !checkProgramSize(launcher, "launcher: " + plan.launcherPath, error)))
    return false;
  if (!readKeyedFile("installer", plan.installerPath, installer, error) ||
      !checkProgramSize(installer, "installer: " + plan.installerPath, error))
    return false;
  std::vector<CarriedFile> files;
  if (!carriedFiles(plan, files, error, progress, notes)) return false;
  if (!buildPackage(plan.flags, files, static_cast<uint32_t>(installer.size()), package, error) ||
      !stampPackageIntegrity(files, installer, package, error))
    return false;
  files.clear();
  files.shrink_to_fit();  // their bytes are in the package now
  output = std::move(launcher);
  output.reserve(output.size() + installer.size() + package.size());
  output.insert(output.end(), installer.begin(), installer.end());
  output.insert(output.end(), package.begin(), package.end());
  return true;
}
