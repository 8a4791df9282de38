#include "package/dataFileFormat.h"
#include "common/statusCodes.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(DataFileFormat, MemberCountMustFitTheTable) {
  EXPECT_EQ(STATUS_OK, checkMemberCount(0));
  EXPECT_EQ(STATUS_OK, checkMemberCount(1010));
  EXPECT_EQ(STATUS_TOO_MANY_MEMBERS, checkMemberCount(1011));
  EXPECT_EQ(STATUS_TOO_MANY_MEMBERS, checkMemberCount(-1));
}

TEST(DataFileFormat, MemberRecordsFollowTheSettings) {
  EXPECT_EQ(1240, memberRecordOffset(1));
  EXPECT_EQ(1240 + 1009 * 264, memberRecordOffset(1010));
}

TEST(DataFileFormat, MemberPathWithoutNulIsRefused) {
  DataMemberRecord record{};
  std::strcpy(record.path, "movies\\main.swf");
  EXPECT_EQ("movies\\main.swf", memberPathOf(record));
  std::memset(record.path, 'p', sizeof(record.path));
  EXPECT_EQ("", memberPathOf(record));
}

TEST(DataFileFormat, PlainMemberCutAnywhereInsideItsData) {
  DataMemberHeader header{};
  header.expandedSize = 50;
  header.storedSize = 7;  // ignored for a plain member
  const int64_t offset = 2000, complete = offset + 44 + 50;
  for (int64_t fileSize = 0; fileSize < complete; ++fileSize) {
    uint32_t length = 0;
    ASSERT_EQ(STATUS_SHORT_ENTRY, memberStoredLength(header, offset, fileSize, length)) << fileSize;
  }
  uint32_t length = 0;
  EXPECT_EQ(STATUS_OK, memberStoredLength(header, offset, complete, length));
  EXPECT_EQ(50u, length);
}

TEST(DataFileFormat, CompressedMemberIsMeasuredByItsStoredSize) {
  DataMemberHeader header{};
  header.compressed = 1;
  header.expandedSize = 1000000;
  header.storedSize = 20;
  uint32_t length = 0;
  EXPECT_EQ(STATUS_OK, memberStoredLength(header, 0, 64, length));
  EXPECT_EQ(20u, length);
  EXPECT_EQ(STATUS_SHORT_ENTRY, memberStoredLength(header, 0, 63, length));
  header.storedSize = -5;
  EXPECT_EQ(STATUS_SHORT_ENTRY, memberStoredLength(header, 0, 1 << 20, length));
}

TEST(DataFileFormat, EmptyMemberReadsNothingWhateverItsOtherFields) {
  DataMemberHeader header{};
  header.compressed = 1;
  header.storedSize = 0x7fffffff;
  uint32_t length = 99;
  EXPECT_EQ(STATUS_OK, memberStoredLength(header, 10, 54, length));
  EXPECT_EQ(0u, length);
  EXPECT_EQ(STATUS_SHORT_ENTRY, memberStoredLength(header, -1, 54, length));
  EXPECT_EQ(STATUS_SHORT_ENTRY, memberStoredLength(header, 11, 54, length));
}

}  // namespace
