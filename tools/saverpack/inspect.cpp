#include "tools/saverpack/inspect.h"

#include "codec/memoryCodec.h"
#include "package/dataFileFormat.h"
#include "package/packageFormat.h"
#include "common/statusCodes.h"
#include "tools/saverpack/programImage.h"
#include "tools/saverpack/verify.h"

#include <string>

namespace {

void printDataFile(const std::vector<uint8_t> &dataFile, std::ostream &out) {
  MemorySource source(dataFile.data(), dataFile.size());
  SaverSettings settings;
  std::vector<DataMemberRecord> table(MEMBER_TABLE_SIZE);
  const int32_t status = readMemberTable(source, settings, table.data());
  if (status != STATUS_OK) {
    out << "  data file unreadable: status " << status << "\n";
    return;
  }
  out << "  data file: memberCount " << settings.memberCount << ", settings value at 1208: "
      << settings.firstMemberType << "\n";
  for (int i = 1; i <= settings.memberCount; ++i) {
    const DataMemberRecord &record = table[i];
    out << "    member " << i << ": type " << int(record.memberType) << " \""
        << memberPathOf(record) << "\"";
    DataMemberHeader header;
    if (record.memberType == MEMBER_TYPE_MOVIE_COPY) {
      out << " copy of the movie\n";
    } else if (readMemberHeader(source, record, header) != STATUS_OK) {
      out << " header outside the file\n";
    } else {
      out << (header.compressed ? " compressed " : " stored ")
          << (header.compressed ? header.storedSize : header.expandedSize) << " bytes, expands to "
          << header.expandedSize << ", attribute " << (header.attribute & 0xFF) << "\n";
    }
  }
}

void printEntry(ByteSource &package, int index, const PackageEntry &entry, std::ostream &out) {
  out << "  entry " << index << ": \"" << entryNameOf(entry) << "\" destKind " << entry.destKind
      << (entry.compressed ? " compressed" : " stored") << " bytes " << entry.start << ".."
      << entry.end << " expandedSize " << entry.expandedSize << "\n";
  if (index != ENTRY_DATA_FILE) return;
  std::vector<uint8_t> stored, dataFile;
  if (readEntryBytes(package, entry, stored) != STATUS_OK) {
    out << "  data file lies outside the package\n";
    return;
  }
  if (entry.compressed)
    dcl::explodeBuffer(stored.data(), stored.size(), dataFile);
  else
    dataFile.swap(stored);
  printDataFile(dataFile, out);
}

void printPackage(const std::vector<uint8_t> &installer, uint32_t programSize, std::ostream &out) {
  MemorySource package(installer.data(), installer.size());
  InstallerHeader header;
  const int32_t status = readInstallerHeader(package, programSize, header);
  if (status != STATUS_OK) {
    out << "package header unreadable: status " << status << "\n";
    return;
  }
  out << "package header at " << programSize << ":\n"
      << "  saverName \"" << saverNameOf(header) << "\"\n"
      << "  installerType " << int(header.installerType) << ", showLicense "
      << int(header.showLicense) << ", carriesReadMe " << int(header.carriesReadMe)
      << ", carriesFlashInstaller " << int(header.carriesFlashInstaller)
      << ", flashInstallerVersionIndex " << int(header.flashInstallerVersionIndex)
      << ", offerControlPanel " << int(header.offerControlPanel) << "\n";
  for (int index = 0; index < PACKAGE_ENTRY_COUNT; ++index)
    if (entryPresent(header.entries[index])) printEntry(package, index, header.entries[index], out);
  printIntegrityReport(checkInstallerIntegrity(installer, programSize), out);
}

bool startsProgram(const std::vector<uint8_t> &file, size_t offset) {
  return offset + 2 <= file.size() && file[offset] == 'M' && file[offset + 1] == 'Z';
}

}  // namespace

bool inspectFile(const std::vector<uint8_t> &file, std::ostream &out) {
  uint32_t outerSize = 0;
  if (!findProgramSize(file, 0, file.size(), outerSize)) {
    MemorySource source(file.data(), file.size());
    SaverSettings settings;
    if (readSaverSettings(source, settings) != STATUS_OK) return false;
    printDataFile(file, out);
    return true;
  }
  if (outerSize > file.size()) return false;
  if (!startsProgram(file, outerSize)) {
    out << "installer program: " << outerSize << " bytes\n";
    printPackage(file, outerSize, out);
    return true;
  }
  const std::vector<uint8_t> installer(file.begin() + outerSize, file.end());
  uint32_t installerSize = 0;
  out << "launcher program: " << outerSize << " bytes\n";
  if (!findProgramSize(installer, 0, installer.size(), installerSize) ||
      installerSize > installer.size()) {
    out << "appended program has no valid size constant\n";
    return true;
  }
  out << "installer program: " << installerSize << " bytes at " << outerSize << "\n";
  printPackage(installer, installerSize, out);
  return true;
}
