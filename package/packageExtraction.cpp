#include "package/packageExtraction.h"

#include "common/QRX_FileUtils.h"
#include "common/QRX_OSUtils.h"
#include "common/launcherProtocol.h"
#include "common/logFile.h"
#include "common/pathRules.h"
#include "common/statusCodes.h"
#include "package/extractionProgress.h"
#include "package/installNames.h"
#include "package/installerRun.h"
#include "package/packageFormat.h"
#include "package/pk_stuff.h"
#include "package/win32File.h"

#include <windows.h>

#include <vector>

static const int PACKAGE_COPY_DELETE_ATTEMPTS = 100;
static const int LIBRARY_DELETE_ATTEMPTS = 1000;

// A second name for the installer file, where its file system has them:
// the package is then read without a byte copied. Windows 9x has no such call.
static bool linkToInstaller(const std::string &installer, const std::string &link) {
  typedef BOOL(WINAPI * CreateHardLinkEntry)(LPCSTR, LPCSTR, LPSECURITY_ATTRIBUTES);
  const CreateHardLinkEntry createHardLink = reinterpret_cast<CreateHardLinkEntry>(
      reinterpret_cast<void *>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "CreateHardLinkA")));
  return createHardLink != nullptr && createHardLink(link.c_str(), installer.c_str(), nullptr) != FALSE;
}

int32_t CopyPackageToWorkFolder(Failures &failures) {
  TraceScope trace("CopyPackageToWorkFolder");
  int32_t status = deleteFileWithRetries(installerRun.packagePath, PACKAGE_COPY_DELETE_ATTEMPTS);
  installerRun.packageLinked = status == STATUS_OK && installerRun.startedByLauncher &&
                               linkToInstaller(installerRun.installerFile, installerRun.packagePath);
  if (status == STATUS_OK && !installerRun.packageLinked &&
      !CopyFileForced(installerRun.installerFile, installerRun.packagePath, false))
    status = static_cast<int32_t>(GetLastError());
  if (status != STATUS_OK)
    addFailure(failures, FailureKind::File, STATUS_PACKAGE_COPY_FAILED, installerRun.packagePath);
  return trace.result(status);
}

void MovePackageLinkAside() {
  if (!installerRun.packageLinked || DeleteFileA(installerRun.packagePath.c_str())) return;
  const std::string aside = folderOfFile(installerRun.installerFile) + PACKAGE_COPY_NAME;
  MoveFileExA(installerRun.packagePath.c_str(), aside.c_str(), MOVEFILE_REPLACE_EXISTING);
}

int32_t ReadPackageHeader(Failures &failures) {
  TraceScope trace("ReadPackageHeader");
  ReadOnlyFile package;
  int32_t status = package.open(installerRun.packagePath);
  if (status == STATUS_OK) {
    const uint32_t programSize = installerRun.programSize;
    logLine("bytes to read: " + std::to_string(sizeof(InstallerHeader)));
    logLine("INSTALLER_SIZE_IN_BYTES2: " + std::to_string(programSize));
    status = readInstallerHeader(package, programSize, installerRun.header);
    // Before anything is extracted: a damaged file must not install a thing.
    IntegrityCheck check;
    if (status == STATUS_OK)
      status = checkPackageIntegrity(package, programSize, installerRun.header, check);
    if (status == STATUS_OK) {
      logLine("integrity: " + integrityVerdictText(check));
      status = integrityStatus(check.verdict);
    }
  }
  if (status == STATUS_PACKAGE_DAMAGED) {
    // The end of the start-up tells it, in one box.
  } else if (status != STATUS_OK) {
    addFailure(failures, FailureKind::File, status, installerRun.packagePath);
  } else {
    logLine("bytes read: " + std::to_string(sizeof(InstallerHeader)));
    status = ExtractEntry(package, ENTRY_CODEC_LIBRARY, false, failures);
  }
  return trace.result(status);
}

static InstallFolders installFolders() {
  return InstallFolders{pathWorkFolder, installerRun.saverFolder, pathCommonAppData, pathSystem};
}

// Removes what stands at the destination: STATUS_FILE_BUSY when it resists (busy).
static int32_t clearDestination(const std::string &destination) {
  if (hasDllExtension(destination)) return deleteFileWithRetries(destination, LIBRARY_DELETE_ATTEMPTS);
  return deleteFileForced(destination);
}

// A data file stored plain stays in the package: its bytes are checked
// against their CRC where they lie, and its members read from there.
static int32_t checkDataFileInPackage(ReadOnlyFile &package, const PackageEntry &entry,
                                      uint32_t storedLength) {
  const ExpandedCrc expected = entryExpandedCrc(entry);
  int32_t status = STATUS_OK;
  if (expected.present) {
    uint32_t crc = 0;
    status = computeRangeCrc(package, entry.start, storedLength, crc);
    if (status == STATUS_OK) status = checkExpandedCrc(expected, crc);
  }
  installerRun.dataFileInPackage = status == STATUS_OK;
  return status;
}

static int32_t writeEntry(ReadOnlyFile &package, const PackageEntry &entry, const std::string &destination,
                          Failures &failures) {
  std::vector<uint8_t> stored;
  int32_t status = readEntryBytes(package, entry, stored);
  if (status != STATUS_OK) return status;
  const ExpandedCrc expected = entryExpandedCrc(entry);
  if (entry.compressed != 0)
    return expandToFile(destination, stored, entry.expandedSize, expected, failures);
  bool created = false;
  status = writeCheckedFile(destination, stored, expected, created);
  if (created) logLine("file created: " + destination);
  return status;
}

int32_t expandToFile(const std::string &target, const std::vector<uint8_t> &stored, int32_t expandedSize,
                     const ExpandedCrc &expected, Failures &failures) {
  TCompressor compressor(pathWorkFolder);
  if (!compressor.loaded()) return STATUS_CODEC_NOT_LOADED;
  // The library's own result is not trusted; the written file tells.
  const int32_t setUp = compressor.Expand(target, stored.data(), static_cast<uint32_t>(stored.size()));
  if (setUp != STATUS_OK) addFailure(failures, FailureKind::ExpansionSetUp, setUp, target);
  int64_t size = 0;
  if (!lookUpFileSize(target, size)) return STATUS_EXPANDED_FILE_MISSING;
  logLine("sizeExtracted: " + std::to_string(size));
  if (size != expandedSize) return STATUS_EXPANDED_SIZE_MISMATCH;
  // The running CRC of what the library delivered, taken as it was written.
  return checkExpandedCrc(expected, compressor.expandedCrc());
}

int32_t writeCheckedFile(const std::string &target, const std::vector<uint8_t> &stored,
                         const ExpandedCrc &expected, bool &created) {
  created = false;
  const int32_t status = checkExpandedCrc(expected, crc32Of(stored.data(), stored.size()));
  if (status != STATUS_OK) return status;
  return writeNewFile(target, stored.data(), static_cast<uint32_t>(stored.size()), created);
}

// Steps from the destination to the written file; destination is set as
// soon as it is known, for the message.
static int32_t extractPresentEntry(ReadOnlyFile &package, const PackageEntry &entry, bool showProgress,
                                   std::string &destination, Failures &failures) {
  // A name with a folder, drive or ".." would write outside its folder; the
  // stored bytes must lie in the package. Both are checked before the old
  // file is removed, so a bad package loses nothing.
  const int32_t targetStatus = entryTarget(entry, installFolders(), destination);
  if (targetStatus == STATUS_UNSAFE_NAME) return targetStatus;
  uint32_t storedLength = 0;
  int32_t status = entryStoredLength(entry, package.size(), storedLength);
  if (showProgress) stepExtractionProgress();
  if (status == STATUS_OK) status = targetStatus;
  if (status == STATUS_OK) status = clearDestination(destination);
  if (status != STATUS_OK) return status;
  if (&entry == &installerRun.header.entries[ENTRY_DATA_FILE] && entry.compressed == 0 &&
      destination == installerRun.dataFile)
    return checkDataFileInPackage(package, entry, storedLength);
  return writeEntry(package, entry, destination, failures);
}

int32_t ExtractEntry(ReadOnlyFile &package, int index, bool showProgress, Failures &failures) {
  TraceScope trace("ExtractEntry", std::to_string(index));
  std::string destination;
  int32_t status = STATUS_ENTRY_ABSENT;
  if (index == ENTRY_DATA_FILE) installerRun.dataFileInPackage = false;
  const bool validIndex = index >= 0 && index < PACKAGE_ENTRY_COUNT;
  if (validIndex && entryPresent(installerRun.header.entries[index]))
    status = extractPresentEntry(package, installerRun.header.entries[index], showProgress, destination,
                                 failures);

  if (status == STATUS_FILE_BUSY) {
    status = STATUS_OK;  // the file in use stays and counts as written
  } else if (status != STATUS_OK) {
    // A library's own failures stay silent; a refused name and a damaged
    // file are always told.
    if (status == STATUS_UNSAFE_NAME || status == STATUS_EXPANDED_CRC_MISMATCH ||
        !hasDllExtension(destination))
      addFailure(failures, FailureKind::File, status, destination);
  } else if (destinationOf(installerRun.header.entries[index].destKind) == Destination::SystemFolder &&
             GetOperatingSystem() == OS_64BIT_WINDOWS) {
    CopyFileForced(destination, pathSysnative + entryNameOf(installerRun.header.entries[index]), false);
  }
  return trace.result(status);
}

// Opens the package and extracts one entry without progress.
static int32_t extractSingleEntry(int index, Failures &failures) {
  if (!entryPresent(installerRun.header.entries[index])) return STATUS_ENTRY_ABSENT;
  ReadOnlyFile package;
  const int32_t status = package.open(installerRun.packagePath);
  if (status != STATUS_OK) {
    addFailure(failures, FailureKind::File, status, pathWorkFolder);
    return status;
  }
  return ExtractEntry(package, index, false, failures);
}

int32_t ExtractSplash(Failures &failures) {
  PackageEntry &splash = installerRun.header.entries[ENTRY_SPLASH];
  if (entryPresent(splash))
    setEntryName(splash, splashNameFor(entryNameOf(splash), installerRun.header.installerType));
  return extractSingleEntry(ENTRY_SPLASH, failures);
}

int32_t ExtractReadMe(Failures &failures) { return extractSingleEntry(ENTRY_README, failures); }
int32_t ExtractLicense(Failures &failures) { return extractSingleEntry(ENTRY_LICENSE, failures); }
int32_t ExtractFlashInstaller(Failures &failures) {
  return extractSingleEntry(ENTRY_FLASH_INSTALLER, failures);
}
