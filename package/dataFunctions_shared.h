// The package behind the installer program: its copy in the work folder, its
// header, the extraction and expansion of its entries with the progress the
// installer window shows, and the saver's names and folders.
#ifndef SAVER_PACKAGE_DATA_FUNCTIONS_H
#define SAVER_PACKAGE_DATA_FUNCTIONS_H

#include "common/programSize.h"
#include "package/dataStructures_shared.h"
#include "package/integrityRecord.h"
#include "package/packageFailure.h"
#include "package/win32File.h"

#include <cstdint>
#include <string>
#include <vector>

// The installer program's own length; the package starts behind it. Defined
// by the installer with SAVER_PROGRAM_SIZE_MARK(INSTALLER_SIZE_IN_BYTES).
extern "C" volatile const ProgramSizeMark INSTALLER_SIZE_IN_BYTES;

// Process-wide state of an installer run.
extern InstallerHeader installerHeader;
extern std::string pathInstallerFile;    // the running installer
extern std::string pathInstallerFolder;  // its folder, with "\"
extern std::string pathPackage;          // work folder + "temp.dat"
extern std::string saverName;
extern std::string codedShortName;
extern std::string pathSaverFolder;  // shared folder + coded short name + "\"
extern std::string pathDataFile;     // work folder + entry 8's name

// Progress of the extraction as the installer window shows it. The package
// operations only call these hooks; the window sets them, and until then (or
// in quiet mode) they do nothing.
struct ExtractionProgress {
  void (*showStatus)(const std::string &text);
  void (*stepProgress)();
};

void setExtractionProgress(const ExtractionProgress &progress);
void showExtractionStatus(const std::string &text);
void stepExtractionProgress();

void ComputePackagePaths();

// Copies the running installer to the package path: 0 or the failure's
// status, told as STATUS_PACKAGE_COPY_FAILED.
int32_t CopyPackageToWorkFolder(Failures &failures);

// Reads the header behind INSTALLER_SIZE_IN_BYTES in the package copy,
// checks the program and package against their integrity record, and
// extracts entry 1, the decompression library. STATUS_PACKAGE_DAMAGED is
// returned with nothing to tell: the end of the start-up tells it.
int32_t ReadPackageHeader(Failures &failures);

// Writes entry index (0..10) of package to the destination its destKind
// names. A busy destination is left in place and counts as success. A
// library's own write failures have nothing to tell.
int32_t ExtractEntry(ReadOnlyFile &package, int index, bool showProgress, Failures &failures);

// Single entries of the start-up; STATUS_ENTRY_ABSENT with nothing to tell when absent.
int32_t ExtractSplash(Failures &failures);
int32_t ExtractReadMe(Failures &failures);
int32_t ExtractLicense(Failures &failures);
int32_t ExtractFlashInstaller(Failures &failures);

// Sets the saver name, coded short name, saver folder and data file path.
// STATUS_UNSAFE_NAME (told) when the coded name is not a plain folder name, which
// would place or remove files outside the shared folder.
int32_t ComputeSaverPaths(Failures &failures);

std::string getCodedShortFilenameForScreensaver(const std::string &name);

// Expands a compressed entry or member into its file with the decompression
// library in the work folder, judged by the size of the written file: 0,
// STATUS_CODEC_NOT_LOADED when the library does not load,
// STATUS_EXPANDED_FILE_MISSING when no file was written,
// STATUS_EXPANDED_SIZE_MISMATCH when its size is not expandedSize,
// STATUS_EXPANDED_CRC_MISMATCH when the bytes the library delivered differ
// from the expected CRC. An expansion whose input or output could not be
// prepared is told first.
int32_t expandToFile(const std::string &target, const std::vector<uint8_t> &stored,
                     int32_t expandedSize, const ExpandedCrc &expected, Failures &failures);

// Writes stored bytes as they are into a new file, once they match the
// expected CRC: STATUS_EXPANDED_CRC_MISMATCH (nothing written), or as
// writeNewFile.
int32_t writeCheckedFile(const std::string &target, const std::vector<uint8_t> &stored,
                         const ExpandedCrc &expected, bool &created);

#endif
