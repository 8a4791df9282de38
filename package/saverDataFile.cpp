#include "package/saverDataFile.h"

#include "common/logFile.h"
#include "common/pathRules.h"
#include "package/installerRun.h"
#include "package/packageExtraction.h"
#include "package/dataFileFormat.h"
#include "package/win32File.h"
#include "package/installNames.h"
#include "common/statusCodes.h"

#include <windows.h>

#include <vector>

// The open data file: its own file, or the package that holds it plain.
static ReadOnlyFile dataFileHolder;
static SliceSource dataFile;

// Opens path as the data file, or the package when the run's data file
// stays in it.
static int32_t openDataSource(const std::string &path, ReadOnlyFile &holder, SliceSource &source) {
  const bool inPackage = installerRun.dataFileInPackage && path == installerRun.dataFile;
  int32_t status = holder.open(inPackage ? installerRun.packagePath : path);
  if (status != STATUS_OK) return status;
  if (!inPackage) {
    source = SliceSource(holder, 0, holder.size());
    return STATUS_OK;
  }
  const PackageEntry &entry = installerRun.header.entries[ENTRY_DATA_FILE];
  uint32_t length = 0;
  status = entryStoredLength(entry, holder.size(), length);
  if (status != STATUS_OK) {
    holder.close();
    return status;
  }
  source = SliceSource(holder, entry.start, length);
  return STATUS_OK;
}

int32_t ReadSaverSettings(Failures &failures) {
  TraceScope trace("ReadSaverSettings");
  ReadOnlyFile holder;
  SliceSource file;
  int32_t status = openDataSource(installerRun.dataFile, holder, file);
  if (status == STATUS_OK) status = readSaverSettings(file, installerRun.settings);
  if (status != STATUS_OK) addFailure(failures, FailureKind::File, status, installerRun.dataFile);
  return trace.result(status);
}

int32_t OpenDataFile(const std::string &path, bool &isOpen, Failures &failures) {
  TraceScope trace("OpenDataFile", path);
  if (dataFileHolder.isOpen()) {
    addFailure(failures, FailureKind::DataFileInUse, STATUS_OK, path);
    isOpen = true;
    return trace.result(STATUS_OK);
  }
  int32_t status = openDataSource(path, dataFileHolder, dataFile);
  if (status == STATUS_OK) status = readMemberTable(dataFile, installerRun.settings, installerRun.members);
  if (status != STATUS_OK) {
    dataFileHolder.close();
    addFailure(failures, FailureKind::DataFileOpen, status, path);
  }
  isOpen = dataFileHolder.isOpen();
  return trace.result(status);
}

static int32_t writeMember(const std::string &target, const DataMemberHeader &header,
                           const std::vector<uint8_t> &stored, bool &created, Failures &failures) {
  const ExpandedCrc expected = memberExpandedCrc(header);
  if (header.compressed != 0) {
    const int32_t status = expandToFile(target, stored, header.expandedSize, expected, failures);
    // Whatever the library wrote goes if the member fails; without the
    // library nothing was written, and a file already there is not ours.
    created = status != STATUS_CODEC_NOT_LOADED;
    return status;
  }
  return writeCheckedFile(target, stored, expected, created);
}

// File-system faults and data that ends early are read errors of the data
// file; a damaged member is told as such; the other statuses are told by the
// caller.
static bool isReadError(int32_t status) { return status > 0 || status == STATUS_SHORT_ENTRY; }

int32_t ExpandDataMember(const std::string &targetFolder, int memberIndex, uint8_t &attribute,
                         bool wantAttribute, Failures &failures) {
  TraceScope trace("ExpandDataMember", std::to_string(memberIndex));
  if (memberIndex < 1 || memberIndex > installerRun.settings.memberCount)
    return trace.result(STATUS_MEMBER_INDEX_TOO_HIGH);
  if (!dataFileHolder.isOpen()) return trace.result(STATUS_DATA_FILE_NOT_OPEN);

  const DataMemberRecord &record = installerRun.members[memberIndex];
  const std::string memberPath = memberPathOf(record);
  const std::string target = targetFolder + memberPath;
  DataMemberHeader header;
  int32_t status = readMemberHeader(dataFile, record, header);
  if (status == STATUS_OK && !isSafeMemberPath(memberPath)) {
    addFailure(failures, FailureKind::File, STATUS_UNSAFE_NAME, target);
    return trace.result(STATUS_UNSAFE_NAME);
  }
  bool created = false;
  if (status == STATUS_OK && header.expandedSize != 0) {
    std::vector<uint8_t> stored;
    status = readMemberBytes(dataFile, record, header, stored);
    if (status == STATUS_OK) {
      ForceFolders(folderOfFile(target));
      status = writeMember(target, header, stored, created, failures);
    }
  }
  if (status != STATUS_OK) {
    if (isReadError(status)) addFailure(failures, FailureKind::DataFileRead, status, target);
    if (status == STATUS_EXPANDED_CRC_MISMATCH) addFailure(failures, FailureKind::File, status, target);
    if (created) DeleteFileA(target.c_str());
  } else if (wantAttribute) {
    attribute = static_cast<uint8_t>(header.attribute);
  }
  return trace.result(status);
}

int32_t CloseDataFile(Failures &failures) {
  const int32_t status = dataFileHolder.close();
  if (status != STATUS_OK) addFailure(failures, FailureKind::DataFileClose, status, "");
  return status;
}
