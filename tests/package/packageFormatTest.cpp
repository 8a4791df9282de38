#include "package/packageFormat.h"
#include "common/statusCodes.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

std::vector<uint8_t> headerBytes(const InstallerHeader &header) {
  const uint8_t *bytes = reinterpret_cast<const uint8_t *>(&header);
  return std::vector<uint8_t>(bytes, bytes + sizeof(header));
}

TEST(InstallerHeaderParsing, EveryTruncationIsAShortHeader) {
  InstallerHeader header{};
  header.installerType = 2;
  const std::vector<uint8_t> bytes = headerBytes(header);
  for (size_t count = 0; count < bytes.size(); ++count) {
    InstallerHeader parsed;
    ASSERT_EQ(STATUS_SHORT_HEADER, parseInstallerHeader(bytes.data(), count, parsed)) << count;
  }
  InstallerHeader parsed{};
  EXPECT_EQ(STATUS_OK, parseInstallerHeader(bytes.data(), bytes.size(), parsed));
  EXPECT_EQ(2, parsed.installerType);
}

TEST(InstallerHeaderParsing, FlashVersionRowIsCheckedOnlyWhenAnInstallerIsCarried) {
  InstallerHeader header{};
  header.flashInstallerVersionIndex = 2;
  InstallerHeader parsed;
  EXPECT_EQ(STATUS_OK, parseInstallerHeader(headerBytes(header).data(), sizeof(header), parsed));
  header.carriesFlashInstaller = 1;
  EXPECT_EQ(STATUS_INVALID_HEADER,
            parseInstallerHeader(headerBytes(header).data(), sizeof(header), parsed));
  header.flashInstallerVersionIndex = 1;
  EXPECT_EQ(STATUS_OK, parseInstallerHeader(headerBytes(header).data(), sizeof(header), parsed));
}

// A header naming an entry beyond the format's limits is damaged: it is
// refused before a byte of the entry is read.
TEST(InstallerHeaderParsing, EntriesBeyondTheLimitsAreInvalid) {
  struct Case {
    int32_t start, end, expandedSize;
    int32_t status;
  } const cases[] = {
      {2000, 2999, 5000, STATUS_OK},
      {2000, 1999, 0, STATUS_OK},  // empty
      {2000, INT32_MAX - 1, INT32_MAX, STATUS_OK},
      {2000, INT32_MAX, 10, STATUS_INVALID_HEADER},  // the package passes 2 GiB
      {2000, INT32_MIN, 10, STATUS_INVALID_HEADER},  // an end past 2 GiB reads negative
      {INT32_MIN, 10, 10, STATUS_INVALID_HEADER},
      {2000, 2999, INT32_MIN, STATUS_INVALID_HEADER},  // expands past 2 GiB
      {2000, 2999, -1, STATUS_INVALID_HEADER},
  };
  for (const Case &c : cases) {
    InstallerHeader header{};
    setEntryName(header.entries[7], "big.scr");
    header.entries[7].start = c.start;
    header.entries[7].end = c.end;
    header.entries[7].expandedSize = c.expandedSize;
    InstallerHeader parsed;
    EXPECT_EQ(c.status, parseInstallerHeader(headerBytes(header).data(), sizeof(header), parsed))
        << c.start << ".." << c.end << " expanding to " << c.expandedSize;
  }
}

TEST(InstallerHeaderParsing, SaverNameEndsAtNulOrFieldEnd) {
  InstallerHeader header{};
  std::strcpy(header.saverName, "Ocean");
  EXPECT_EQ("Ocean", saverNameOf(header));
  std::memset(header.saverName, 'x', sizeof(header.saverName));
  header.reserved[0] = 'y';
  EXPECT_EQ(std::string(64, 'x'), saverNameOf(header));
}

TEST(PackageEntryName, LongNamesAreCutToTheField) {
  PackageEntry entry{};
  EXPECT_FALSE(entryPresent(entry));
  setEntryName(entry, std::string(300, 'n'));
  EXPECT_EQ(255, entry.nameLength);
  EXPECT_EQ(std::string(255, 'n'), entryNameOf(entry));
  setEntryName(entry, "a.scr");
  EXPECT_TRUE(entryPresent(entry));
  EXPECT_EQ("a.scr", entryNameOf(entry));
}

struct SpanCase {
  int32_t start, end;
  int64_t fileSize;
  int32_t status;
  uint32_t length;
};

TEST(PackageEntrySpan, StoredBytesMustLieInsideTheFile) {
  const SpanCase cases[] = {
      {100, 100, 101, STATUS_OK, 1},           // end = start holds one byte
      {100, 99, 100, STATUS_OK, 0},            // an empty file
      {100, 199, 200, STATUS_OK, 100},         // ends at the last byte
      {100, 200, 200, STATUS_SHORT_ENTRY, 0},  // one byte past the end
      {100, 98, 200, STATUS_SHORT_ENTRY, 0},   // negative length
      {-1, 10, 200, STATUS_SHORT_ENTRY, 0},
      {INT_MAX, INT_MAX, 200, STATUS_SHORT_ENTRY, 0},
      {0, INT_MAX, 200, STATUS_SHORT_ENTRY, 0},  // would allocate 2 GB
      {INT_MIN, INT_MAX, 200, STATUS_SHORT_ENTRY, 0},
  };
  for (const SpanCase &c : cases) {
    PackageEntry entry{};
    entry.start = c.start;
    entry.end = c.end;
    uint32_t length = 0;
    EXPECT_EQ(c.status, entryStoredLength(entry, c.fileSize, length)) << c.start << ".." << c.end;
    if (c.status == STATUS_OK) {
      EXPECT_EQ(c.length, length);
    }
  }
}

// A 32-bit program cannot hold every length a 32-bit field can name: the
// buffer is refused with a status, also where the vector could name it but
// the heap cannot give it, rather than ending the program.
TEST(PackageBuffer, LengthPastWhatAProgramCanHoldIsOutOfMemory) {
  std::vector<uint8_t> bytes;
  if (bytes.max_size() >= UINT32_MAX) GTEST_SKIP() << "a 64-bit build can name any 32-bit length";
  EXPECT_EQ(STATUS_OUT_OF_MEMORY, allocateBuffer(bytes, UINT32_MAX));
  EXPECT_EQ(STATUS_OUT_OF_MEMORY, allocateBuffer(bytes, static_cast<uint32_t>(bytes.max_size()) + 1));
  EXPECT_EQ(STATUS_OUT_OF_MEMORY, allocateBuffer(bytes, static_cast<uint32_t>(bytes.max_size())));
  EXPECT_EQ(STATUS_OK, allocateBuffer(bytes, 1 << 20));
  EXPECT_EQ(bytes.size(), 1u << 20);
}

}  // namespace
