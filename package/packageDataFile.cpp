// The package's data file: its settings record, its member table, and the
// expansion of its members into the saver folder, all read from the data
// file that extractEntry kept.
#include "package/package.h"

#include "common/logFile.h"
#include "common/pathRules.h"
#include "common/statusCodes.h"
#include "package/dataFileFormat.h"
#include "package/integrityRecord.h"
#include "package/rangeCopy.h"

#include <windows.h>

namespace {

// File-system faults and data that ends early are read errors of the data
// file; a damaged member is told as such; the other statuses are told by the
// caller.
bool isReadError(int32_t status) { return status > 0 || status == STATUS_SHORT_ENTRY; }

}  // namespace

int32_t Package::readSaverSettings(const std::string &dataFile, Failures &failures) {
  TraceScope trace("Package.readSaverSettings");
  int32_t status = dataKept_ ? ::readSaverSettings(data_, settings_) : SYSTEM_ERROR_FILE_NOT_FOUND;
  if (status != STATUS_OK) addFailure(failures, FailureKind::File, status, dataFile);
  return trace.result(status);
}

int32_t Package::openDataFile(const std::string &dataFile, Failures &failures) {
  TraceScope trace("Package.openDataFile", dataFile);
  if (dataOpen_) {
    addFailure(failures, FailureKind::DataFileInUse, STATUS_OK, dataFile);
    return trace.result(STATUS_OK);
  }
  int32_t status = dataKept_ ? readMemberTable(data_, settings_, members_) : SYSTEM_ERROR_FILE_NOT_FOUND;
  dataOpen_ = status == STATUS_OK;
  if (status != STATUS_OK) addFailure(failures, FailureKind::DataFileOpen, status, dataFile);
  return trace.result(status);
}

std::vector<uint32_t> Package::memberExpandedSizes() {
  std::vector<uint32_t> sizes;
  for (int index = 1; dataOpen_ && index <= settings_.memberCount; ++index) {
    DataMemberHeader header;
    if (readMemberHeader(data_, members_[index], header) == STATUS_OK && header.expandedSize > 0)
      sizes.push_back(static_cast<uint32_t>(header.expandedSize));
  }
  return sizes;
}

int32_t Package::writeMember(const std::string &target, const DataMemberHeader &header, ByteSource &stored,
                             InstallObserver &watching, bool &created, Failures &failures) {
  const ExpandedCrc expected = memberExpandedCrc(header);
  if (header.compressed != 0) {
    const int32_t status = expandToFile(target, stored, header.expandedSize, expected, &watching, failures);
    // Whatever the library wrote goes if the member fails; without the
    // library nothing was written, and a file already there is not ours.
    created = status != STATUS_CODEC_NOT_LOADED;
    return status;
  }
  return copyCheckedFile(stored, target, expected, &watching, created);
}

int32_t Package::expandMember(const std::string &targetFolder, int memberIndex, InstallObserver &watching,
                              Failures &failures) {
  TraceScope trace("Package.expandMember", std::to_string(memberIndex));
  if (memberIndex < 1 || memberIndex > settings_.memberCount)
    return trace.result(STATUS_MEMBER_INDEX_TOO_HIGH);
  if (!dataOpen_) return trace.result(STATUS_DATA_FILE_NOT_OPEN);

  const DataMemberRecord &record = members_[memberIndex];
  const std::string memberPath = memberPathOf(record);
  const std::string target = targetFolder + memberPath;
  DataMemberHeader header;
  int32_t status = readMemberHeader(data_, record, header);
  if (status == STATUS_OK && !isSafeMemberPath(memberPath)) {
    addFailure(failures, FailureKind::File, STATUS_UNSAFE_NAME, target);
    return trace.result(STATUS_UNSAFE_NAME);
  }
  bool created = false;
  if (status == STATUS_OK && header.expandedSize != 0) {
    SliceSource stored;
    status = memberStoredSlice(data_, record, header, stored);
    if (status == STATUS_OK) {
      ForceFolders(folderOfFile(target));
      status = writeMember(target, header, stored, watching, created, failures);
    }
  }
  if (status != STATUS_OK) {
    if (isReadError(status)) addFailure(failures, FailureKind::DataFileRead, status, target);
    if (status == STATUS_EXPANDED_CRC_MISMATCH) addFailure(failures, FailureKind::File, status, target);
    if (created) DeleteFileA(target.c_str());
  } else {
    lastAttribute_ = static_cast<uint8_t>(header.attribute);
  }
  return trace.result(status);
}

int32_t Package::closeDataFile(Failures &failures) {
  dataOpen_ = false;
  if (!expandedData_.isOpen()) return STATUS_OK;
  dataKept_ = false;
  const int32_t status = expandedData_.close();
  if (status != STATUS_OK) addFailure(failures, FailureKind::DataFileClose, status, "");
  return status;
}
