#include "tools/saverpack/dataFileWriter.h"

#include "package/dataStructures_shared.h"
#include "package/integrityRecord.h"
#include "package/packageLimits.h"
#include "tools/saverpack/fileAccess.h"
#include "tools/saverpack/implodeAhead.h"
#include "tools/saverpack/shrinkTrial.h"
#include "tools/saverpack/storedFile.h"

#include <cstring>
#include <vector>

namespace {

bool writeAt(std::FILE *output, int64_t offset, const void *bytes, size_t count) {
  return seekTo(output, offset) && std::fwrite(bytes, 1, count, output) == count;
}

// The member's header, its CRC tag included, for what was stored.
DataMemberHeader headerFor(const StoredFile &stored) {
  DataMemberHeader header;
  std::memset(&header, 0, sizeof(header));
  if (stored.expandedSize == 0) return header;  // nothing is written for it
  header.expandedSize = static_cast<int32_t>(stored.expandedSize);
  header.compressed = stored.compressed ? 1 : 0;
  header.storedSize = static_cast<int32_t>(stored.storedSize);
  setMemberExpandedCrc(header, stored.expandedCrc);
  return header;
}

// Stores one member at output's position and points its record at it.
// The data file as it is written: where it starts in the output, and the
// CRC of its bytes behind the member table.
struct DataFileWriter {
  std::FILE *output;
  int64_t base;
  bool fastImplode;
  ImplodeAhead &ahead;
  uint32_t bodyCrc = 0;
};

// Stores member index from what the workers made of it, else from its file.
bool storeMember(DataFileWriter &writer, size_t index, const std::string &source, bool compress,
                 StoredFile &stored, std::string &error) {
  ReadFile file;
  if (writer.ahead.take(index, file)) return storeReadFile(source, file, writer.output, stored, error);
  return storeFile(source, compress, writer.fastImplode, writer.output, stored, error);
}

// Stores one member at the output's position and points its record at it.
// compress: the plan asks for it and the member's first block shrinks.
bool writeMember(DataFileWriter &writer, size_t index, const MemberPlan &planned, bool compress,
                 DataMemberRecord &record, StoredFile &stored, std::string &error) {
  std::FILE *output = writer.output;
  if (planned.path.size() >= sizeof(record.path)) {
    error = "dataFile: member path longer than 255 bytes: " + planned.path;
    return false;
  }
  std::memcpy(record.path, planned.path.data(), planned.path.size());
  record.memberType = planned.type;
  const int64_t at = positionOf(output);
  record.headerOffset = static_cast<int32_t>(at - writer.base);
  const int64_t storedAt = at + static_cast<int64_t>(sizeof(DataMemberHeader));
  stored = StoredFile();
  const bool carried = planned.type != MEMBER_TYPE_MOVIE_COPY && !planned.sourcePath.empty();
  if (carried && !withinSizeLimit("dataFile.members " + planned.path, planned.sourcePath, MAX_MEMBER_BYTES,
                                  "member", error))
    return false;
  if (carried && (!seekTo(output, storedAt) ||
                  !storeMember(writer, index, planned.sourcePath, compress, stored, error))) {
    error = "dataFile.members: " + error;
    return false;
  }
  if (storedAt - writer.base + stored.storedSize > MAX_ENTRY_BYTES) {
    error = "dataFile: member " + planned.path +
            " takes the data file past the largest entry a package can carry (" +
            std::to_string(MAX_ENTRY_BYTES) + " bytes)";
    return false;
  }
  const DataMemberHeader header = headerFor(stored);
  if (!writeAt(output, at, &header, sizeof(header)) || !seekTo(output, storedAt + stored.storedSize)) {
    error = "dataFile: cannot write member " + planned.path;
    return false;
  }
  writer.bodyCrc = crc32Combine(writer.bodyCrc, crc32Of(&header, sizeof(header)), sizeof(header));
  writer.bodyCrc = crc32Combine(writer.bodyCrc, stored.storedCrc, stored.storedSize);
  return true;
}

bool settingsRecord(const DataFilePlan &plan, size_t memberCount, SaverSettings &record,
                    std::string &error) {
  std::memset(&record, 0, sizeof(record));
  std::vector<uint8_t> settings;
  if (!plan.settingsPath.empty() && !readWholeFile(plan.settingsPath, settings, error)) {
    error = "dataFile.settings: " + error;
    return false;
  }
  if (!settings.empty()) {
    if (settings.size() != sizeof(record)) {
      error = "dataFile: the settings record must be 1240 bytes, not " + std::to_string(settings.size());
      return false;
    }
    std::memcpy(&record, settings.data(), sizeof(record));
  }
  record.memberCount = static_cast<int32_t>(memberCount);
  return true;
}

// The settings record and member table, in front of the members.
bool writeFront(const DataFileWriter &writer, const SaverSettings &settings,
                const std::vector<DataMemberRecord> &table, std::string &error) {
  const size_t tableBytes = table.size() * sizeof(DataMemberRecord);
  if (writeAt(writer.output, writer.base, &settings, sizeof(settings)) &&
      std::fwrite(table.data(), 1, tableBytes, writer.output) == tableBytes)
    return true;
  error = "dataFile: cannot write its member table";
  return false;
}

// Which members to implode: those the plan asks for whose first block shrinks.
std::vector<bool> membersShrink(const DataFilePlan &plan, bool fastImplode) {
  std::vector<std::string> tried;
  for (const MemberPlan &planned : plan.members)
    tried.push_back(planned.compressed && planned.type != MEMBER_TYPE_MOVIE_COPY ? planned.sourcePath : "");
  return firstBlocksShrink(tried, fastImplode);
}

// The files of the members to implode, empty for the others.
std::vector<std::string> sourcesToImplode(const DataFilePlan &plan, const std::vector<bool> &shrinks) {
  std::vector<std::string> sources(plan.members.size());
  for (size_t i = 0; i < sources.size(); ++i)
    if (shrinks[i]) sources[i] = plan.members[i].sourcePath;
  return sources;
}

}  // namespace

bool writeDataFile(const DataFilePlan &plan, bool fastImplode, std::FILE *output, int64_t &size,
                   uint32_t &crc, std::string &error, Progress *progress, BuildNotes *notes) {
  if (plan.members.size() > static_cast<size_t>(MAX_DATA_MEMBERS)) {
    error = "dataFile: more than 1010 members: " + std::to_string(plan.members.size());
    return false;
  }
  SaverSettings settings;
  if (!settingsRecord(plan, plan.members.size(), settings, error)) return false;
  std::vector<DataMemberRecord> table(plan.members.size());
  std::memset(table.data(), 0, table.size() * sizeof(DataMemberRecord));
  const int64_t tableBytes = static_cast<int64_t>(table.size() * sizeof(DataMemberRecord));
  const std::vector<bool> shrinks = membersShrink(plan, fastImplode);
  uint64_t expandedSoFar = 0;
  ImplodeAhead ahead(sourcesToImplode(plan, shrinks), fastImplode);
  DataFileWriter writer{output, positionOf(output), fastImplode, ahead};
  const int64_t front = static_cast<int64_t>(sizeof(settings)) + tableBytes;
  if (!seekTo(output, writer.base + front)) {
    error = "dataFile: cannot write its member table";
    return false;
  }
  for (size_t i = 0; i < plan.members.size(); ++i) {
    const MemberPlan &planned = plan.members[i];
    StoredFile stored;
    if (!writeMember(writer, i, planned, shrinks[i], table[i], stored, error)) return false;
    if (planned.compressed && stored.expandedSize != 0 && !stored.compressed && notes != nullptr)
      notes->storedPlain.push_back("dataFile member " + planned.path);
    expandedSoFar += static_cast<uint64_t>(stored.expandedSize);
    if (progress != nullptr) {
      progress->inputRead(static_cast<uint64_t>(stored.expandedSize), stored.readSeconds);
      progress->memberDone(i + 1, plan.members.size(), expandedSoFar);
    }
  }
  size = positionOf(output) - writer.base;
  crc = crc32Combine(
      crc32Update(crc32Of(&settings, sizeof(settings)), table.data(), static_cast<size_t>(tableBytes)),
      writer.bodyCrc, size - front);
  return writeFront(writer, settings, table, error);
}
