// The readers on a small package and data file cut at every length.
#include "package/dataFileFormat.h"
#include "package/packageFormat.h"
#include "common/statusCodes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

const int64_t PROGRAM_SIZE = 100;

int64_t memberOffsetAfterTable(int memberCount) { return memberRecordOffset(memberCount + 1); }

template <typename Record>
void put(std::vector<uint8_t> &file, int64_t offset, const Record &record) {
  if (file.size() < offset + sizeof(record)) file.resize(offset + sizeof(record));
  std::memcpy(&file[offset], &record, sizeof(record));
}

// A program of PROGRAM_SIZE bytes, the header, then entry 1's bytes "codec".
std::vector<uint8_t> smallPackage() {
  std::vector<uint8_t> file(PROGRAM_SIZE, 'P');
  InstallerHeader header{};
  PackageEntry &codec = header.entries[1];
  setEntryName(codec, "impborl.dat");
  codec.start = static_cast<int32_t>(PROGRAM_SIZE + sizeof(header));
  codec.end = codec.start + 4;
  codec.destKind = 4;
  put(file, PROGRAM_SIZE, header);
  const std::string data = "codec";
  file.insert(file.end(), data.begin(), data.end());
  return file;
}

TEST(PackageReader, CutsInsideTheHeaderAndInsideTheEntry) {
  const std::vector<uint8_t> whole = smallPackage();
  const int64_t entryStart = PROGRAM_SIZE + static_cast<int64_t>(sizeof(InstallerHeader));
  for (size_t length = 0; length <= whole.size(); ++length) {
    MemorySource source(whole.data(), length);
    InstallerHeader header;
    const int32_t headerStatus = readInstallerHeader(source, PROGRAM_SIZE, header);
    if (static_cast<int64_t>(length) < entryStart) {
      ASSERT_EQ(STATUS_SHORT_HEADER, headerStatus) << length;
      continue;
    }
    ASSERT_EQ(STATUS_OK, headerStatus) << length;
    std::vector<uint8_t> bytes;
    const int32_t entryStatus = readEntryBytes(source, header.entries[1], bytes);
    if (length < whole.size()) {
      ASSERT_EQ(STATUS_SHORT_ENTRY, entryStatus) << length;
    } else {
      ASSERT_EQ(STATUS_OK, entryStatus);
      EXPECT_EQ("codec", std::string(bytes.begin(), bytes.end()));
    }
  }
}

// Settings, a table of two members, then member 1 (plain "hello") and
// member 2 (compressed, 3 stored bytes).
std::vector<uint8_t> smallDataFile() {
  std::vector<uint8_t> file;
  SaverSettings settings{};
  settings.memberCount = 2;
  put(file, 0, settings);
  DataMemberRecord records[2] = {};
  std::strcpy(records[0].path, "a.txt");
  std::strcpy(records[1].path, "sub\\b.bin");
  records[0].headerOffset = static_cast<int32_t>(memberOffsetAfterTable(2));
  records[1].headerOffset = records[0].headerOffset + 44 + 5;
  put(file, 1240, records);
  DataMemberHeader plain{}, packed{};
  plain.expandedSize = 5;
  packed.expandedSize = 1000;
  packed.storedSize = 3;
  packed.compressed = 1;
  put(file, records[0].headerOffset, plain);
  const std::string hello = "hello";
  file.insert(file.end(), hello.begin(), hello.end());
  put(file, records[1].headerOffset, packed);
  file.insert(file.end(), {1, 2, 3});
  return file;
}

TEST(DataFileReader, CutsInsideTheTableAndInsideEachMember) {
  const std::vector<uint8_t> whole = smallDataFile();
  DataMemberRecord table[MEMBER_TABLE_SIZE];
  for (size_t length = 0; length <= whole.size(); ++length) {
    MemorySource source(whole.data(), length);
    SaverSettings settings;
    const int32_t tableStatus = readMemberTable(source, settings, table);
    if (length < static_cast<size_t>(memberOffsetAfterTable(2))) {
      ASSERT_EQ(STATUS_SHORT_ENTRY, tableStatus) << length;
      continue;
    }
    ASSERT_EQ(STATUS_OK, tableStatus) << length;
    for (int member = 1; member <= 2; ++member) {
      DataMemberHeader header;
      std::vector<uint8_t> bytes;
      int32_t status = readMemberHeader(source, table[member], header);
      if (status == STATUS_OK) status = readMemberBytes(source, table[member], header, bytes);
      const int64_t memberEnd = member == 1 ? table[2].headerOffset : static_cast<int64_t>(whole.size());
      ASSERT_EQ(static_cast<int64_t>(length) < memberEnd ? STATUS_SHORT_ENTRY : STATUS_OK, status)
          << length << " member " << member;
    }
  }
  MemorySource source(whole.data(), whole.size());
  SaverSettings settings;
  ASSERT_EQ(STATUS_OK, readMemberTable(source, settings, table));
  EXPECT_EQ("sub\\b.bin", std::string(table[2].path));
  EXPECT_EQ(0, table[3].headerOffset);
}

TEST(DataFileReader, TooManyMembersReadsNothingPastTheTable) {
  std::vector<uint8_t> file = smallDataFile();
  SaverSettings settings{};
  settings.memberCount = 1011;
  put(file, 0, settings);
  DataMemberRecord table[MEMBER_TABLE_SIZE];
  table[1].headerOffset = 77;
  MemorySource source(file.data(), file.size());
  EXPECT_EQ(STATUS_TOO_MANY_MEMBERS, readMemberTable(source, settings, table));
  EXPECT_EQ(0, table[1].headerOffset);
}

}  // namespace
