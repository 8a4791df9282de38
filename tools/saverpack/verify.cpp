#include "tools/saverpack/verify.h"

#include "tools/saverpack/fileLayers.h"

#include "codec/dcl.h"
#include "codec/memoryCodec.h"
#include "common/crcUtils.h"
#include "common/pathRules.h"
#include "common/statusCodes.h"
#include "package/posterRange.h"
#include "package/dataFileFormat.h"
#include "package/installNames.h"
#include "package/integrityRecord.h"
#include "package/packageFormat.h"
#include "package/packageProperties.h"
#include "tools/saverpack/installerFile.h"
#include "tools/saverpack/programImage.h"
#include "tools/saverpack/signing.h"
#include "tools/saverpack/wingetNeeds.h"

#include <cctype>
#include <cstdio>

namespace {

std::string hex(uint32_t value) {
  char text[9];
  std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(value));
  return text;
}

// The bytes as the installer writes them: false when a compressed stream
// does not expand to expandedSize bytes.
bool installedBytes(std::vector<uint8_t> &stored, bool compressed, int32_t expandedSize,
                    std::vector<uint8_t> &bytes) {
  if (!compressed) {
    bytes.swap(stored);
    return true;
  }
  return dcl::explodeBuffer(stored.data(), stored.size(), bytes) == dcl::CMP_NO_ERROR &&
         bytes.size() == static_cast<size_t>(expandedSize);
}

// Compares installed bytes with the item's tag and notes the outcome.
void checkItem(const std::string &what, const std::vector<uint8_t> &bytes, const ExpandedCrc &tag,
               IntegrityReport &report) {
  const uint32_t crc = crc32Of(bytes.data(), bytes.size());
  if (!tag.present) {
    report.lines.push_back(what + ": no CRC-32");
  } else if (checkExpandedCrc(tag, crc) != STATUS_OK) {
    report.problems.push_back(what + " damaged: CRC-32 " + hex(crc) + ", recorded " + hex(tag.value));
  } else {
    report.lines.push_back(what + ": CRC-32 " + hex(crc) + " ok");
  }
}

void checkMembers(const std::vector<uint8_t> &dataFile, IntegrityReport &report) {
  MemorySource source(dataFile.data(), dataFile.size());
  SaverSettings settings;
  std::vector<DataMemberRecord> table(MEMBER_TABLE_SIZE);
  if (readMemberTable(source, settings, table.data()) != STATUS_OK) {
    report.problems.push_back("data file unreadable");
    return;
  }
  for (int i = 1; i <= settings.memberCount; ++i) {
    const DataMemberRecord &record = table[i];
    const std::string path = memberPathOf(record);
    const std::string what = "member " + std::to_string(i) + " \"" + path + "\"";
    if (!memberPathTerminated(record) || (!path.empty() && !isSafeMemberPath(path)))
      report.refused.push_back(what + ": unsafe path");
    DataMemberHeader header;
    std::vector<uint8_t> stored, bytes;
    if (record.memberType == MEMBER_TYPE_MOVIE_COPY) continue;  // copied at install, nothing stored
    if (readMemberHeader(source, record, header) != STATUS_OK ||
        readMemberBytes(source, record, header, stored) != STATUS_OK) {
      report.problems.push_back(what + ": stored bytes outside the data file");
    } else if (header.expandedSize == 0) {
      continue;  // nothing is written for it
    } else if (!installedBytes(stored, header.compressed != 0, header.expandedSize, bytes)) {
      report.problems.push_back(what + " damaged: does not expand to " +
                                std::to_string(header.expandedSize) + " bytes");
    } else {
      checkItem(what, bytes, memberExpandedCrc(header), report);
    }
  }
}

void checkEntry(ByteSource &file, int index, const PackageEntry &entry, IntegrityReport &report) {
  const std::string what = "entry " + std::to_string(index) + " \"" + entryNameOf(entry) + "\"";
  if (!isSafeEntryName(entryNameOf(entry))) report.refused.push_back(what + ": unsafe name");
  std::vector<uint8_t> stored, bytes;
  if (readEntryBytes(file, entry, stored) != STATUS_OK) {
    report.problems.push_back(what + ": stored bytes outside the file");
    return;
  }
  if (!installedBytes(stored, entry.compressed != 0, entry.expandedSize, bytes)) {
    report.problems.push_back(what + " damaged: does not expand to " + std::to_string(entry.expandedSize) +
                              " bytes");
    return;
  }
  checkItem(what, bytes, entryExpandedCrc(entry), report);
  if (index == ENTRY_DATA_FILE) checkMembers(bytes, report);
}

// The installer refuses a saver whose coded short name would lead out of the
// shared folder. Lower case as the installer's code page has it for ASCII.
void checkSaverName(const InstallerHeader &header, IntegrityReport &report) {
  const std::string name = saverNameOf(header);
  std::string lower = name;
  for (char &c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  uint32_t crc = 0;
  Crc32OfString(name, crc);
  if (!isSafeEntryName(codedShortNameFor(name, lower, crc)))
    report.refused.push_back("saver name \"" + name + "\": unsafe folder name");
}

// The property record, which the package CRC covers: a record of this
// version whose items do not fit it or its fields is damage.
void checkPropertyRecord(ByteSource &file, uint32_t programSize, const InstallerHeader &header,
                         IntegrityReport &report) {
  PropertyRecord record;
  PackageProperties properties;
  int32_t status = readPropertyRecord(file, programSize, header, record);
  if (status == STATUS_OK) status = takeRecordProperties(record, PACKAGE_PROPERTIES, properties);
  std::vector<uint8_t> poster;
  if (status != STATUS_OK) {
    report.problems.push_back("property record damaged: its items do not fit it or their fields");
  } else if (readPoster(file, programSize, properties, poster) != STATUS_OK) {
    report.problems.push_back("poster range \"" + properties.posterRange + "\" lies outside the package");
  } else if (record.present) {
    report.lines.push_back("property record version " + std::to_string(record.version) + ", " +
                           std::to_string(record.items.size()) + " items");
  }
}

// What winget would miss: a notice, never a failure of verify.
void printWingetNotices(const std::vector<uint8_t> &installer, uint32_t programSize, std::ostream &out) {
  MemorySource file(installer.data(), installer.size());
  InstallerHeader header;
  PackageProperties properties;
  if (readInstallerHeader(file, programSize, header) != STATUS_OK) return;
  readPackageProperties(file, programSize, header, properties);
  for (const std::string &line : wingetShortcomings(properties)) out << "notice: winget: " << line << "\n";
}

}  // namespace

IntegrityReport checkInstallerIntegrity(const std::vector<uint8_t> &installer, uint32_t programSize) {
  IntegrityReport report;
  MemorySource file(installer.data(), installer.size());
  InstallerHeader header;
  IntegrityCheck check;
  const int32_t status = readInstallerHeader(file, programSize, header);
  if (status == STATUS_SHORT_HEADER) {
    report.problems.push_back("file cut short: no whole package header");
    return report;
  }
  if (status != STATUS_OK || checkPackageIntegrity(file, programSize, header, check) != STATUS_OK) {
    report.problems.push_back("package header unreadable");
    return report;
  }
  report.recordPresent = check.verdict != IntegrityVerdict::noRecord;
  if (report.recordPresent) {
    const IntegrityRecord &record = check.record;
    report.lines.push_back("record version " + std::to_string(record.version));
    report.lines.push_back("package: " + std::to_string(record.packageLength) + " bytes, CRC-32 " +
                           hex(record.packageCrc));
    report.lines.push_back("installer program: " + std::to_string(record.programLength) +
                           " bytes, CRC-32 " + hex(record.programCrc));
    if (check.verdict == IntegrityVerdict::intact && check.packageBytes > record.packageLength)
      report.lines.push_back(std::to_string(check.packageBytes - record.packageLength) +
                             " bytes behind the package, not counted");
  }
  if (integrityStatus(check.verdict) != STATUS_OK) report.problems.push_back(integrityVerdictText(check));
  checkPropertyRecord(file, programSize, header, report);
  checkSaverName(header, report);
  // Entry 0 is never extracted.
  for (int index = 1; index < PACKAGE_ENTRY_COUNT; ++index)
    if (entryPresent(header.entries[index])) checkEntry(file, index, header.entries[index], report);
  return report;
}

void printIntegrityReport(const IntegrityReport &report, std::ostream &out) {
  out << (report.recordPresent ? "integrity record:\n" : "integrity record: none\n");
  for (const std::string &line : report.lines) out << "  " << line << "\n";
  for (const std::string &name : report.refused) out << "refused by the installer: " << name << "\n";
  for (const std::string &problem : report.problems) out << "integrity: " << problem << "\n";
  if (report.problems.empty())
    out << (report.recordPresent ? "integrity: ok\n" : "integrity: nothing recorded to check\n");
}

int verifyFile(const std::string &path, const std::string &caPath, std::ostream &out) {
  std::vector<uint8_t> file;
  std::string error;
  if (!readWholeFile(path, file, error)) {
    out << "saverpack: " << error << "\n";
    return 1;
  }
  FileLayers layers;
  if (findLayers(file, layers, error) != FileKind::Installer) {
    out << "saverpack: " << path << " is not an installer or launcher file\n";
    return 1;
  }
  if (!error.empty()) {
    out << "saverpack: " << path << ": " << error << "\n";
    return 1;
  }
  const bool signaturesGood = reportSignatures(file, caPath, out);
  // A launcher file carries the installer file behind its own image.
  file.erase(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(layers.installerOffset));
  const uint32_t programSize = layers.installerSize;
  const IntegrityReport report = checkInstallerIntegrity(file, programSize);
  printIntegrityReport(report, out);
  printWingetNotices(file, programSize, out);
  return signaturesGood && report.recordPresent && report.problems.empty() && report.refused.empty() ? 0
                                                                                                     : 1;
}
