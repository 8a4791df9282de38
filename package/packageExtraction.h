// The extraction of the package behind the installer program: its copy in
// the work folder, its header, and the writing and expansion of its entries,
// on the run's state (package/installerRun.h).
#ifndef SAVER_PACKAGE_PACKAGE_EXTRACTION_H
#define SAVER_PACKAGE_PACKAGE_EXTRACTION_H

#include "package/dataStructures_shared.h"
#include "package/integrityRecord.h"
#include "package/packageFailure.h"
#include "package/win32File.h"

#include <cstdint>
#include <string>
#include <vector>

// Makes the package path a hard link to the running installer when its
// launcher started it and the file system allows one, otherwise a copy of
// it: 0 or the failure's status, told as STATUS_PACKAGE_COPY_FAILED.
int32_t CopyPackageToWorkFolder(Failures &failures);

// A linked package is the running program's file, which cannot be deleted
// while it runs: it is deleted, or else moved beside the installer file into
// the launcher's work folder, where the launcher deletes it after the run.
void MovePackageLinkAside();

// Reads the header behind the run's programSize in the package copy,
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

// Expands a compressed entry or member into its file with the decompression
// library in the work folder, judged by the size of the written file: 0,
// STATUS_CODEC_NOT_LOADED when the library does not load,
// STATUS_EXPANDED_FILE_MISSING when no file was written,
// STATUS_EXPANDED_SIZE_MISMATCH when its size is not expandedSize,
// STATUS_EXPANDED_CRC_MISMATCH when the bytes the library delivered differ
// from the expected CRC. An expansion whose input or output could not be
// prepared is told first.
int32_t expandToFile(const std::string &target, const std::vector<uint8_t> &stored, int32_t expandedSize,
                     const ExpandedCrc &expected, Failures &failures);

// Writes stored bytes as they are into a new file, once they match the
// expected CRC: STATUS_EXPANDED_CRC_MISMATCH (nothing written), or as
// writeNewFile.
int32_t writeCheckedFile(const std::string &target, const std::vector<uint8_t> &stored,
                         const ExpandedCrc &expected, bool &created);

#endif
