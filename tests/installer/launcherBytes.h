// For the end-to-end tests that damage or change bytes of a built package.
#ifndef SAVER_TESTS_INSTALLER_LAUNCHER_BYTES_H
#define SAVER_TESTS_INSTALLER_LAUNCHER_BYTES_H

#include <cstddef>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "package/dataFileFormat.h"
#include "package/integrityRecord.h"
#include "packFixture.h"

// A launcher file in memory, with the places of its layers; the manifests
// store the data file as it is, so its members lie plainly in the file.
struct LauncherBytes {
  std::vector<uint8_t> bytes;
  size_t installerAt = 0;
  size_t headerAt = 0;
  InstallerHeader header{};

  explicit LauncherBytes(const std::string &launcher) : bytes(readBytes(launcher)) {
    const std::filesystem::path programs = std::filesystem::path(launcher).parent_path() / "bin";
    installerAt = std::filesystem::file_size(programs / "saverstart.exe");
    headerAt = installerAt + std::filesystem::file_size(programs / "saversetup.exe");
    std::memcpy(&header, &bytes.at(headerAt), sizeof header);
  }
  size_t entryAt(int index) const { return installerAt + header.entries[index].start; }
  size_t memberHeaderAt(int member) const {
    DataMemberRecord record;
    std::memcpy(&record, &bytes.at(entryAt(ENTRY_DATA_FILE) + memberRecordOffset(member)), sizeof record);
    return entryAt(ENTRY_DATA_FILE) + record.headerOffset;
  }
  DataMemberHeader memberHeader(int member) const {
    DataMemberHeader memberHeader;
    std::memcpy(&memberHeader, &bytes.at(memberHeaderAt(member)), sizeof memberHeader);
    return memberHeader;
  }
  void removePackageRecord() {
    std::memset(&bytes.at(headerAt + INTEGRITY_RECORD_OFFSET), 0, sizeof(IntegrityRecord));
  }
  // The package CRC again, after bytes behind the header changed.
  void resealPackage() {
    IntegrityRecord record;
    std::memcpy(&record, &bytes.at(headerAt + INTEGRITY_RECORD_OFFSET), sizeof record);
    std::vector<uint8_t> package(
        bytes.begin() + static_cast<std::ptrdiff_t>(headerAt),
        bytes.begin() + static_cast<std::ptrdiff_t>(headerAt + record.packageLength));
    std::memset(&package.at(INTEGRITY_RECORD_OFFSET), 0, sizeof record);
    record.packageCrc = crc32Of(package.data(), package.size());
    std::memcpy(&bytes.at(headerAt + INTEGRITY_RECORD_OFFSET), &record, sizeof record);
  }
  // The byte lies outside the package CRC: no reseal needed.
  void setMoviePlayer(MoviePlayerNeed need) {
    bytes.at(headerAt + INTEGRITY_RECORD_OFFSET + offsetof(IntegrityRecord, moviePlayer)) =
        static_cast<uint8_t>(need);
  }
};

#endif
