// The property record and the typed properties read through it: what is
// skipped, what is refused, and that nothing is read outside the record.
#include "package/integrityRecord.h"
#include "package/packageProperties.h"
#include "package/propertyRecord.h"
#include "package/uninstallMark.h"
#include "common/statusCodes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

const uint32_t PROGRAM_SIZE = 100;

// Two fields the header holds, placed in the record as properties of the
// record are: a text of at most 8 bytes and a byte.
const PropertyField RECORD_FIELDS[] = {
    {.text = &PackageProperties::publisher, .maxLength = 8, .tag = 1},
    {.byte = &PackageProperties::uninstallMark, .maxLength = 1, .tag = 2},
};
const PropertyTable RECORD_TABLE = {RECORD_FIELDS, 2};

// "SPPR", version, body as given.
Bytes record(uint8_t version, const Bytes &body) {
  Bytes bytes = {'S', 'P', 'P', 'R', version};
  bytes.insert(bytes.end(), body.begin(), body.end());
  return bytes;
}

const Bytes END_MARK = {0, 0, 0, 0};

Bytes operator+(Bytes left, const Bytes &right) {
  left.insert(left.end(), right.begin(), right.end());
  return left;
}

struct ParseCase {
  const char *what;
  Bytes bytes;
  int32_t status;
  bool present;
  size_t items;
};

TEST(PropertyRecord, WhatIsReadSkippedOrRefused) {
  const Bytes written = propertyRecordBytes({{7, "seven"}, {3, "x"}});
  const ParseCase cases[] = {
      {"as written", written, STATUS_OK, true, 2},
      {"no items", record(1, END_MARK), STATUS_OK, true, 0},
      {"no magic", {'S', 'P', 'I', 'R', 1, 0, 0, 0, 0}, STATUS_OK, false, 0},
      {"another version, skipped whole", record(2, {9, 9, 200, 200, 1}), STATUS_OK, true, 0},
      {"item longer than the record", record(1, Bytes{7, 0, 9, 0, 'a', 'b'} + END_MARK),
       STATUS_PACKAGE_DAMAGED, true, 0},
      {"tag given twice", record(1, Bytes{7, 0, 1, 0, 'a', 7, 0, 1, 0, 'b'} + END_MARK),
       STATUS_PACKAGE_DAMAGED, true, 0},
      {"no end mark", record(1, {7, 0, 1, 0, 'a'}), STATUS_PACKAGE_DAMAGED, true, 0},
      {"end mark with a length", record(1, {0, 0, 1, 0, 'a'}), STATUS_PACKAGE_DAMAGED, true, 0},
      {"bytes behind the end mark", record(1, END_MARK + Bytes{0}), STATUS_PACKAGE_DAMAGED, true, 0},
  };
  for (const ParseCase &each : cases) {
    PropertyRecord parsed;
    EXPECT_EQ(each.status, parsePropertyRecord(each.bytes.data(), each.bytes.size(), parsed)) << each.what;
    EXPECT_EQ(each.present, parsed.present) << each.what;
    EXPECT_EQ(each.items, parsed.items.size()) << each.what;
  }
  PropertyRecord parsed;
  ASSERT_EQ(STATUS_OK, parsePropertyRecord(written.data(), written.size(), parsed));
  EXPECT_EQ(7, parsed.items[0].tag);
  EXPECT_EQ("seven", parsed.items[0].value);
  EXPECT_EQ("x", parsed.items[1].value);
}

TEST(PropertyRecord, EveryTruncationIsRefusedOrNoRecord) {
  const Bytes whole = propertyRecordBytes({{7, "seven"}, {3, "x"}});
  for (size_t count = 0; count < whole.size(); ++count) {
    // Each cut copied alone, so that the sanitizer sees any read past it.
    const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(count));
    PropertyRecord parsed;
    const int32_t status = parsePropertyRecord(cut.data(), cut.size(), parsed);
    if (count < PROPERTY_RECORD_HEAD) {
      EXPECT_EQ(STATUS_OK, status) << count;
      EXPECT_FALSE(parsed.present) << count;
    } else {
      EXPECT_EQ(STATUS_PACKAGE_DAMAGED, status) << count;
      EXPECT_TRUE(parsed.items.empty()) << count;
    }
  }
}

// A program, the header (with an integrity record unless told otherwise),
// an entry's bytes, then the record appended as the packer appends it.
Bytes packageFile(const Bytes &propertyRecord, bool integrityRecord = true) {
  InstallerHeader header{};
  IntegrityRecord integrity{};
  integrity.version = INTEGRITY_VERSION;
  if (integrityRecord) writeIntegrityRecord(header, integrity);
  Bytes package(sizeof(header));
  std::memcpy(package.data(), &header, sizeof(header));
  package.insert(package.end(), 50, 'E');
  EXPECT_TRUE(appendPropertyRecord(package, PROGRAM_SIZE, propertyRecord));
  Bytes file(PROGRAM_SIZE, 'P');
  return file + package;
}

int32_t readBack(const Bytes &file, PackageProperties &properties) {
  MemorySource source(file.data(), file.size());
  InstallerHeader header;
  EXPECT_EQ(STATUS_OK, readInstallerHeader(source, PROGRAM_SIZE, header));
  return readPackageProperties(source, PROGRAM_SIZE, header, properties, RECORD_TABLE);
}

TEST(PackageProperties, RecordFieldsComeBackAsWritten) {
  PackageProperties written;
  written.publisher = "Lumen";
  written.uninstallMark = UNINSTALLER_CARRIED;
  const std::vector<PropertyItem> items = recordPropertyItems(written, RECORD_TABLE);
  PackageProperties read;
  ASSERT_EQ(STATUS_OK, readBack(packageFile(propertyRecordBytes(items)), read));
  EXPECT_EQ("Lumen", read.publisher);
  EXPECT_EQ(UNINSTALLER_CARRIED, read.uninstallMark);

  // Empty fields make no record: the package keeps the bytes it had without one.
  EXPECT_TRUE(recordPropertyItems(PackageProperties(), RECORD_TABLE).empty());
  EXPECT_TRUE(propertyRecordBytes({}).empty());
  // The record is read only where an integrity record vouches for the header.
  ASSERT_EQ(STATUS_OK, readBack(packageFile(propertyRecordBytes(items), false), read));
  EXPECT_EQ("", read.publisher);
}

struct FieldCase {
  const char *what;
  std::vector<PropertyItem> items;
  int32_t status;
  std::string publisher;
};

TEST(PackageProperties, UnknownTagsAreSkippedAndValuesThatDoNotFitRefused) {
  const FieldCase cases[] = {
      {"unknown tag", {{9, "newer"}, {1, "Lumen"}}, STATUS_OK, "Lumen"},
      {"text at its limit", {{1, "12345678"}}, STATUS_OK, "12345678"},
      {"text too long", {{1, "123456789"}}, STATUS_PACKAGE_DAMAGED, ""},
      {"text with a zero byte", {{1, std::string("a\0b", 3)}}, STATUS_PACKAGE_DAMAGED, ""},
      {"byte of two bytes", {{2, "UU"}}, STATUS_PACKAGE_DAMAGED, ""},
      {"byte of none", {{2, ""}}, STATUS_PACKAGE_DAMAGED, ""},
      {"good text before a bad byte", {{1, "Lumen"}, {2, "UU"}}, STATUS_PACKAGE_DAMAGED, ""},
  };
  for (const FieldCase &each : cases) {
    PackageProperties read;
    EXPECT_EQ(each.status, readBack(packageFile(propertyRecordBytes(each.items)), read)) << each.what;
    EXPECT_EQ(each.publisher, read.publisher) << each.what;
  }
}

PackageEntry &entryZero(Bytes &file) {
  return reinterpret_cast<InstallerHeader *>(&file[PROGRAM_SIZE])->entries[0];
}

struct LocatorCase {
  const char *what;
  int32_t start, end;  // entry 0's, counted from the program's first byte
  int32_t status;
  bool read;
};

TEST(PackageProperties, EntryZeroLocatesTheRecordOnlyBehindTheHeaderAndInsideTheFile) {
  const Bytes body = propertyRecordBytes({{1, "Lumen"}});
  const int32_t headerEnd = static_cast<int32_t>(PROGRAM_SIZE + sizeof(InstallerHeader));
  const int32_t recordAt = headerEnd + 50;
  const int32_t recordEnd = recordAt + static_cast<int32_t>(body.size()) - 1;
  const LocatorCase cases[] = {
      {"as appended", recordAt, recordEnd, STATUS_OK, true},
      {"zero, as in every older package", 0, 0, STATUS_OK, false},
      {"inside the header", headerEnd - 10, recordEnd, STATUS_OK, false},
      {"past the file's end", recordAt, recordEnd + 1, STATUS_OK, false},
      {"end before start", recordAt, recordAt - 2, STATUS_OK, false},
      {"at bytes without the magic", headerEnd, recordEnd, STATUS_OK, false},
      {"cut short", recordAt, recordEnd - 1, STATUS_PACKAGE_DAMAGED, false},
  };
  for (const LocatorCase &each : cases) {
    Bytes file = packageFile(body);
    entryZero(file).start = each.start;
    entryZero(file).end = each.end;
    PackageProperties read;
    EXPECT_EQ(each.status, readBack(file, read)) << each.what;
    EXPECT_EQ(each.read ? "Lumen" : "", read.publisher) << each.what;
  }
}

TEST(PackageProperties, ARecordTooLongIsRefusedUnlessOfAnotherVersion) {
  for (uint8_t version : {PROPERTY_RECORD_VERSION, static_cast<uint8_t>(2)}) {
    Bytes bytes = record(version, {9, 0, 0xFF, 0xFF}) + Bytes(0xFFFF, 'v');
    bytes = bytes + END_MARK;
    ASSERT_GT(bytes.size(), PROPERTY_RECORD_MAX);
    Bytes file = packageFile(record(version, END_MARK));
    const int32_t start = entryZero(file).start;
    file.resize(static_cast<size_t>(start));
    file = file + bytes;
    entryZero(file).end = start + static_cast<int32_t>(bytes.size()) - 1;
    PackageProperties read;
    EXPECT_EQ(version == PROPERTY_RECORD_VERSION ? STATUS_PACKAGE_DAMAGED : STATUS_OK, readBack(file, read))
        << static_cast<int>(version);
  }
}

// The fields that packages carried in the header before the record count
// only under an integrity record, the movie player only under one of the
// known version; extract keeps them as they are, the one inside the
// integrity record only with its magic.
struct RecordState {
  const char *what;
  bool written;
  uint8_t version;
};

TEST(PackageProperties, HeaderFieldsStatedAndStored) {
  const RecordState states[] = {
      {"no integrity record", false, 0},
      {"integrity record", true, INTEGRITY_VERSION},
      {"integrity record of another version", true, INTEGRITY_VERSION + 1},
  };
  for (const RecordState &state : states) {
    InstallerHeader header{};
    IntegrityRecord integrity{};
    integrity.version = state.version;
    integrity.moviePlayer = static_cast<uint8_t>(MoviePlayerNeed::none);
    if (state.written) writeIntegrityRecord(header, integrity);
    setUninstallMark(header, UNINSTALLER_CARRIED);
    std::memcpy(reinterpret_cast<char *>(&header) + PUBLISHER_OFFSET, "Lumen", 5);

    EXPECT_EQ(state.written, carriesUninstaller(header)) << state.what;
    EXPECT_EQ(state.written ? "Lumen" : "", publisherOf(header)) << state.what;
    const bool known = state.written && state.version == INTEGRITY_VERSION;
    EXPECT_EQ(known ? MoviePlayerNeed::none : MoviePlayerNeed::notStated, moviePlayerNeedOf(header))
        << state.what;
    const PackageProperties stored = storedHeaderProperties(header);
    EXPECT_EQ(UNINSTALLER_CARRIED, stored.uninstallMark) << state.what;
    EXPECT_EQ("Lumen", stored.publisher) << state.what;
    EXPECT_EQ(state.written ? integrity.moviePlayer : 0, stored.moviePlayer) << state.what;
  }
}

}  // namespace
