#include "tools/saverpack/packageReport.h"

#include "common/statusCodes.h"
#include "package/posterRange.h"
#include "package/dataFileFormat.h"
#include "package/integrityRecord.h"
#include "package/installedSaver.h"
#include "package/packageFormat.h"
#include "package/packageProperties.h"
#include "tools/saverpack/fileLayers.h"
#include "tools/saverpack/propertyKeys.h"

using json = nlohmann::ordered_json;

namespace {

json reportMember(ByteSource &source, int index, const DataMemberRecord &record) {
  json member = {{"index", index}, {"type", record.memberType}, {"path", memberPathOf(record)}};
  DataMemberHeader header;
  if (record.memberType == MEMBER_TYPE_MOVIE_COPY) {
    member["copyOfMovie"] = true;
  } else if (readMemberHeader(source, record, header) != STATUS_OK) {
    member["error"] = "header outside the file";
  } else {
    member["compressed"] = header.compressed != 0;
    member["storedSize"] = header.compressed ? header.storedSize : header.expandedSize;
    member["expandedSize"] = header.expandedSize;
    member["attribute"] = header.attribute & 0xFF;
  }
  return member;
}

json reportEntry(const std::vector<uint8_t> &file, const FileLayers &layers, int index) {
  const PackageEntry &entry = layers.header.entries[index];
  json report = {{"index", index},
                 {"name", entryNameOf(entry)},
                 {"destKind", entry.destKind},
                 {"compressed", entry.compressed != 0},
                 {"start", entry.start},
                 {"end", entry.end},
                 {"storedSize", static_cast<int64_t>(entry.end) - entry.start + 1},
                 {"expandedSize", entry.expandedSize}};
  if (index != ENTRY_DATA_FILE) return report;
  std::vector<uint8_t> stored, dataFile;
  std::string error;
  if (!entryStoredBytes(file, layers, index, stored, error) ||
      !expandStored(stored, entry.compressed != 0, entry.expandedSize, dataFile, error))
    report["dataFile"] = {{"error", "data file unreadable: " + error}};
  else
    report["dataFile"] = reportDataFile(dataFile);
  return report;
}

// Where the poster lies, its format and size, or why it cannot be read.
json reportPoster(ByteSource &installer, uint32_t programSize, const PackageProperties &stated) {
  std::vector<uint8_t> poster;
  if (readPoster(installer, programSize, stated, poster) != STATUS_OK)
    return {{"range", stated.posterRange}, {"error", "outside the package"}};
  const PosterFormat format = posterFormatOf(poster);
  return {{"range", stated.posterRange},
          {"format", format == PosterFormat::bitmap ? "bitmap"
                     : format == PosterFormat::jpeg ? "JPEG"
                                                    : "unknown"},
          {"size", poster.size()}};
}

// The header's fields and the properties as installers take them; those of
// a damaged property record are left out (verify names the damage).
json reportHeader(const std::vector<uint8_t> &file, const FileLayers &layers) {
  const InstallerHeader &header = layers.header;
  json report = {{"saverName", saverNameOf(header)},
                 {"installerType", header.installerType},
                 {"showLicense", header.showLicense},
                 {"carriesReadMe", header.carriesReadMe},
                 {"carriesFlashInstaller", header.carriesFlashInstaller},
                 {"flashInstallerVersionIndex", header.flashInstallerVersionIndex},
                 {"offerControlPanel", header.offerControlPanel}};
  MemorySource installer(file.data() + layers.installerOffset, file.size() - layers.installerOffset);
  PackageProperties stated;
  readPackageProperties(installer, layers.installerSize, header, stated);
  reportPropertyKeys(stated, report);
  if (!stated.posterRange.empty()) report["poster"] = reportPoster(installer, layers.installerSize, stated);
  return report;
}

}  // namespace

json reportDataFile(const std::vector<uint8_t> &dataFile) {
  MemorySource source(dataFile.data(), dataFile.size());
  SaverSettings settings;
  std::vector<DataMemberRecord> table(MEMBER_TABLE_SIZE);
  const int32_t status = readMemberTable(source, settings, table.data());
  if (status != STATUS_OK) return {{"error", "data file unreadable: status " + std::to_string(status)}};
  json report = {{"memberCount", settings.memberCount},
                 {"firstMemberType", settings.firstMemberType},
                 {"members", json::array()}};
  for (int i = 1; i <= settings.memberCount; ++i)
    report["members"].push_back(reportMember(source, i, table[i]));
  return report;
}

bool reportFile(const std::vector<uint8_t> &file, json &report) {
  FileLayers layers;
  std::string error;
  const FileKind kind = findLayers(file, layers, error);
  if (kind == FileKind::Unknown) return false;
  report = {{"size", file.size()}};
  if (kind == FileKind::DataFile) {
    report["dataFile"] = reportDataFile(file);
    return true;
  }
  if (layers.launcherSize != 0) report["launcher"] = {{"size", layers.launcherSize}};
  if (!error.empty()) {
    report["error"] = error;
    return true;
  }
  report["installer"] = {{"offset", layers.installerOffset}, {"size", layers.installerSize}};
  if (!layers.headerRead) {
    report["error"] = "package header unreadable: status " + std::to_string(layers.headerStatus);
    return true;
  }
  report["header"] = reportHeader(file, layers);
  report["entries"] = json::array();
  for (int index = 0; index < PACKAGE_ENTRY_COUNT; ++index)
    if (entryPresent(layers.header.entries[index]))
      report["entries"].push_back(reportEntry(file, layers, index));
  return true;
}

std::string jsonText(const json &value) {
  return value.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}
