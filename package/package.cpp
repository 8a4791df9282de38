// The package's header and entries, read through its one handle.
#include "package/package.h"

#include "common/QRX_FileUtils.h"
#include "common/logFile.h"
#include "common/statusCodes.h"
#include "package/integrityRecord.h"
#include "package/rangeCopy.h"
#include "package/vouchedSpans.h"

#include <windows.h>

namespace {

const int LIBRARY_DELETE_ATTEMPTS = 1000;

// Removes what stands at the destination: STATUS_FILE_BUSY when it resists (busy).
int32_t clearDestination(const std::string &destination) {
  if (hasDllExtension(destination)) return deleteFileWithRetries(destination, LIBRARY_DELETE_ATTEMPTS);
  return deleteFileForced(destination);
}

}  // namespace

int32_t Package::open(const std::string &path, const std::string &workFolder) {
  close();
  path_ = path;
  workFolder_ = workFolder;
  return file_.open(path);
}

void Package::close() {
  Failures ignored;
  closeDataFile(ignored);
  dataKept_ = false;
  checkedBytes_ = 0;
  file_.close();
  // The library's file in the work folder can go once it is freed.
  codec_.reset();
}

InstallScope installScopeOfFile(const std::string &file, uint32_t programSize) {
  ReadOnlyFile package;
  InstallerHeader header{};
  PackageProperties properties;
  int32_t status = package.open(file);
  if (status == STATUS_OK) status = readInstallerHeader(package, programSize, header);
  if (status == STATUS_OK) status = readPackageProperties(package, programSize, header, properties);
  return status == STATUS_OK ? installScopeOf(properties) : InstallScope::machine;
}

int32_t Package::readHeader(uint32_t programSize, Failures &failures) {
  TraceScope trace("Package.readHeader");
  logLine("INSTALLER_SIZE_IN_BYTES2: " + std::to_string(programSize));
  programSize_ = programSize;
  int32_t status = readInstallerHeader(file_, programSize, header_);
  // Before anything is extracted: a damaged file must not install a thing.
  IntegrityCheck check;
  if (status == STATUS_OK)
    status = checkPackageIntegrity(file_, programSize, header_, check, findVouchedSpans(file_, header_));
  if (status == STATUS_OK) {
    logLine("integrity: " + integrityVerdictText(check));
    status = integrityStatus(check.verdict);
  }
  checkedBytes_ = check.verdict == IntegrityVerdict::intact ? check.record.packageLength : 0;
  if (status == STATUS_OK) status = readPackageProperties(file_, programSize, header_, properties_);
  // A damaged package is told by the end of the start-up, in one box.
  if (status != STATUS_OK && status != STATUS_PACKAGE_DAMAGED)
    addFailure(failures, FailureKind::File, status, path_);
  return trace.result(status);
}

int32_t Package::extractEntry(int index, const EntryTarget &target, Failures &failures) {
  TraceScope trace("Package.extractEntry", std::to_string(index));
  const bool present = index >= 0 && index < PACKAGE_ENTRY_COUNT && entryPresent(header_.entries[index]);
  int32_t status = present ? extractPresentEntry(index, target, failures) : STATUS_ENTRY_ABSENT;
  // An absent entry has no destination to name.
  const std::string subject = present ? target.path : std::string();
  if (status == STATUS_FILE_BUSY) {
    status = STATUS_OK;  // the file in use stays and counts as written
  } else if (status != STATUS_OK) {
    // A library's own failures stay silent; a refused name and a damaged
    // file are always told.
    if (status == STATUS_UNSAFE_NAME || status == STATUS_EXPANDED_CRC_MISMATCH || !hasDllExtension(subject))
      addFailure(failures, FailureKind::File, status, subject);
  } else if (!target.nativeCopy.empty()) {
    CopyFileForced(target.path, target.nativeCopy, false);
  }
  return trace.result(status);
}

// Steps from the destination to the written file.
int32_t Package::extractPresentEntry(int index, const EntryTarget &target, Failures &failures) {
  const PackageEntry &entry = header_.entries[index];
  // A name with a folder, drive or ".." would write outside its folder; the
  // stored bytes must lie in the package. Both are checked before the old
  // file is removed, so a bad package loses nothing.
  if (target.status == STATUS_UNSAFE_NAME) return target.status;
  uint32_t storedLength = 0;
  int32_t status = entryStoredLength(entry, file_.size(), storedLength);
  if (status == STATUS_OK) status = target.status;
  if (status == STATUS_OK) status = clearDestination(target.path);
  if (status != STATUS_OK) return status;
  SliceSource stored(file_, entry.start, storedLength);
  if (target.keptForMembers) return keepDataFile(entry, target, stored, failures);
  return writeEntry(entry, stored, target.path, failures);
}

int32_t Package::writeEntry(const PackageEntry &entry, ByteSource &stored, const std::string &destination,
                            Failures &failures) {
  const ExpandedCrc expected = entryExpandedCrc(entry);
  if (entry.compressed != 0)
    return expandToFile(destination, stored, entry.expandedSize, expected, nullptr, failures);
  bool created = false;
  const int32_t status = copyCheckedFile(stored, destination, expected, nullptr, created);
  if (created) logLine("file created: " + destination);
  return status;
}

// A data file stored plain stays in the package: its bytes are checked
// against their CRC where they lie. An imploded one is expanded into the
// work file, which stays open.
int32_t Package::keepDataFile(const PackageEntry &entry, const EntryTarget &target, SliceSource &stored,
                              Failures &failures) {
  dataKept_ = false;
  const ExpandedCrc expected = entryExpandedCrc(entry);
  if (entry.compressed == 0) {
    int32_t status = STATUS_OK;
    // Bytes the package's CRC took through this handle cannot have changed
    // since: a second pass over them would find what the first found. The
    // members it took on their tags' word are checked as they are copied.
    if (expected.present && !checkedByPackageCrc(entry.start, stored.size())) {
      uint32_t crc = 0;
      status = computeRangeCrc(stored, 0, static_cast<uint32_t>(stored.size()), crc);
      if (status == STATUS_OK) status = checkExpandedCrc(expected, crc);
    }
    if (status != STATUS_OK) return status;
    data_ = stored;
    dataKept_ = true;
    return STATUS_OK;
  }
  TCompressor *library = codec();
  int32_t status = library == nullptr ? STATUS_CODEC_NOT_LOADED : STATUS_OK;
  if (status == STATUS_OK) {
    const int32_t setUp = expandedData_.create(target.path);
    if (setUp != STATUS_OK) addFailure(failures, FailureKind::ExpansionSetUp, setUp, target.path);
    if (setUp != STATUS_OK) return STATUS_EXPANDED_FILE_MISSING;
    library->ExpandInto(expandedData_.handle(), stored);
    status = library->inputStatus();
    if (status == STATUS_OK) status = library->outputStatus();
    if (status == STATUS_OK) status = expandedData_.written();
  }
  if (status == STATUS_OK && expandedData_.size() != entry.expandedSize)
    status = STATUS_EXPANDED_SIZE_MISMATCH;
  if (status == STATUS_OK) status = checkExpandedCrc(expected, library->expandedCrc());
  if (status != STATUS_OK) {
    expandedData_.close();
    return status;
  }
  data_ = SliceSource(expandedData_, 0, expandedData_.size());
  dataKept_ = true;
  return STATUS_OK;
}

bool Package::checkedByPackageCrc(int64_t start, int64_t length) const {
  const int64_t packageStart = programSize_;
  return start >= packageStart && start + length <= packageStart + checkedBytes_;
}

TCompressor *Package::codec() {
  if (codec_ == nullptr) codec_.reset(new TCompressor(workFolder_));
  return codec_->loaded() ? codec_.get() : nullptr;
}

int32_t Package::expandToFile(const std::string &target, ByteSource &stored, int32_t expandedSize,
                              const ExpandedCrc &expected, InstallObserver *watching, Failures &failures) {
  TCompressor *library = codec();
  if (library == nullptr) return STATUS_CODEC_NOT_LOADED;
  // The library's own result is not trusted; the written file tells.
  library->watch(watching);
  const int32_t setUp = library->Expand(target, stored);
  library->watch(nullptr);
  if (setUp != STATUS_OK) addFailure(failures, FailureKind::ExpansionSetUp, setUp, target);
  if (library->inputStatus() != STATUS_OK) return library->inputStatus();
  if (library->outputStatus() != STATUS_OK) return library->outputStatus();
  int64_t size = 0;
  if (!lookUpFileSize(target, size)) return STATUS_EXPANDED_FILE_MISSING;
  logLine("sizeExtracted: " + std::to_string(size));
  if (size != expandedSize) return STATUS_EXPANDED_SIZE_MISMATCH;
  // The running CRC of what the library delivered, taken as it was written.
  return checkExpandedCrc(expected, library->expandedCrc());
}
