#include "tools/saverpack/dataFileBuilder.h"

#include "package/packageLimits.h"
#include "tools/saverpack/packageBuilder.h"

#include <cstring>

static bool addMember(const DataMember &member, DataMemberRecord &record, std::vector<uint8_t> &dataFile,
                      std::string &error) {
  if (member.path.size() >= sizeof(record.path)) {
    error = "member path longer than 255 bytes: " + member.path;
    return false;
  }
  std::memcpy(record.path, member.path.data(), member.path.size());
  record.memberType = member.type;
  record.headerOffset = static_cast<int32_t>(dataFile.size());

  DataMemberHeader header;
  std::memset(&header, 0, sizeof(header));
  header.attribute = member.attribute;
  std::vector<uint8_t> imploded;
  const bool compressed =
      member.compressed && member.type != MEMBER_TYPE_MOVIE_COPY && !member.bytes.empty();
  if (compressed && member.imploded.empty() && !implodeBytes(member.bytes, imploded)) {
    error = "cannot compress member " + member.path;
    return false;
  }
  const std::vector<uint8_t> &stored = !compressed               ? member.bytes
                                       : member.imploded.empty() ? imploded
                                                                 : member.imploded;
  if (member.type != MEMBER_TYPE_MOVIE_COPY && !member.bytes.empty()) {
    header.expandedSize = static_cast<int32_t>(member.bytes.size());
    header.compressed = compressed ? 1 : 0;
    header.storedSize = static_cast<int32_t>(stored.size());
  }
  const size_t storedCount = header.expandedSize == 0 ? 0 : stored.size();
  if (static_cast<int64_t>(dataFile.size() + sizeof(header) + storedCount) > MAX_ENTRY_BYTES) {
    error = "member " + member.path + " takes the data file past the largest entry a package can carry (" +
            std::to_string(MAX_ENTRY_BYTES) + " bytes)";
    return false;
  }
  const uint8_t *headerBytes = reinterpret_cast<const uint8_t *>(&header);
  dataFile.insert(dataFile.end(), headerBytes, headerBytes + sizeof(header));
  const auto storedEnd = stored.begin() + static_cast<std::ptrdiff_t>(storedCount);
  dataFile.insert(dataFile.end(), stored.begin(), storedEnd);
  return true;
}

bool buildDataFile(const std::vector<uint8_t> &settings, const std::vector<DataMember> &members,
                   std::vector<uint8_t> &dataFile, std::string &error) {
  if (members.size() > static_cast<size_t>(MAX_DATA_MEMBERS)) {
    error = "more than 1010 members: " + std::to_string(members.size());
    return false;
  }
  SaverSettings record;
  std::memset(&record, 0, sizeof(record));
  if (!settings.empty()) {
    if (settings.size() != sizeof(record)) {
      error = "the settings record must be 1240 bytes, not " + std::to_string(settings.size());
      return false;
    }
    std::memcpy(&record, settings.data(), sizeof(record));
  }
  record.memberCount = static_cast<int32_t>(members.size());

  std::vector<DataMemberRecord> table(members.size());
  std::memset(table.data(), 0, table.size() * sizeof(DataMemberRecord));
  dataFile.assign(sizeof(record) + table.size() * sizeof(DataMemberRecord), 0);
  for (size_t i = 0; i < members.size(); ++i)
    if (!addMember(members[i], table[i], dataFile, error)) return false;
  std::memcpy(dataFile.data(), &record, sizeof(record));
  if (!table.empty())
    std::memcpy(dataFile.data() + sizeof(record), table.data(), table.size() * sizeof(DataMemberRecord));
  return true;
}
