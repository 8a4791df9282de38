// The data-file operations on the real (Wine) file system.
#include "packageWine.h"

#include "common/QRX_FileUtils.h"
#include "package/integrityRecord.h"
#include "common/statusCodes.h"
#include "tools/saverpack/dataFileBuilder.h"
#include "tools/saverpack/packageBuilder.h"

#include <windows.h>

#include <climits>
#include <cstring>

namespace {

DataMember member(const std::string &path, const std::vector<uint8_t> &bytes, bool compressed,
                  uint32_t attribute = 0) {
  DataMember result;
  result.path = path;
  result.bytes = bytes;
  result.compressed = compressed;
  result.attribute = attribute;
  return result;
}

std::vector<uint8_t> dataFileBytes(const std::vector<DataMember> &members) {
  std::vector<uint8_t> bytes;
  std::string error;
  EXPECT_TRUE(buildDataFile({}, members, bytes, error)) << error;
  return bytes;
}

// Counts the pauses of a long member and says "Cancel" at the given one.
class CancellingObserver : public InstallObserver {
 public:
  explicit CancellingObserver(int cancelAt) : cancelAt_(cancelAt) {}
  void installStarted() override {}
  void installEnded(int32_t, bool) override {}
  void status(const std::string &) override {}
  void progress() override {}
  bool ask(Question, const std::string &) override { return true; }
  void failed(const Failure &) override {}
  void pause() override { ++pauses; }
  bool cancelled() const override { return pauses >= cancelAt_; }
  int pauses = 0;

 private:
  int cancelAt_;
};

// The data file is read where the package keeps it: stored plain in the
// package, or expanded into the work folder.
class DataFileWineTest : public PackageWineTest {
 protected:
  void SetUp() override {
    PackageWineTest::SetUp();
    CopyFileA(IMPBORL_DLL, (pathWorkFolder + "impborl.dll").c_str(), FALSE);
  }

  void keepDataFile(const std::vector<uint8_t> &bytes, bool compressed = false) {
    writePackage(PackageFlags(),
                 {carried(ENTRY_DATA_FILE, "saver.qrd", DEST_WORK_FOLDER, bytes, compressed)});
    ASSERT_EQ(STATUS_OK, openPackage());
    ASSERT_EQ(STATUS_OK, extract(ENTRY_DATA_FILE));
  }
  void keepDataFile(const std::vector<DataMember> &members) { keepDataFile(dataFileBytes(members)); }

  int32_t open() {
    return run([&](Failures &failures) { return package().openDataFile(dataFile(), failures); });
  }
  int32_t readSettings() {
    return run([&](Failures &failures) { return package().readSaverSettings(dataFile(), failures); });
  }
  int32_t close() {
    return run([&](Failures &failures) { return package().closeDataFile(failures); });
  }

  int32_t expand(int index, InstallObserver &watching) {
    return run([&](Failures &failures) {
      return package().expandMember(saverFolder(), index, watching, failures);
    });
  }
  int32_t expand(int index) {
    CancellingObserver never(INT_MAX);
    return expand(index, never);
  }
};

TEST_F(DataFileWineTest, MembersArePlacedInTheirFolders) {
  const std::vector<uint8_t> bytes = dataFileBytes(
      {member("main.swf", compressibleBytes(20000), true, 0x21),
       member("pictures\\deep\\a.jpg", randomBytes(3000, 7), false),
       member("pictures\\b.txt", compressibleBytes(700), true), member("empty.txt", {}, false)});
  // Imploded, the data file is expanded into the work folder and read back
  // through the handle that wrote it.
  keepDataFile(bytes, true);
  EXPECT_EQ(bytes, fileBytes(dataFile()));
  EXPECT_FALSE(DeleteFileA(dataFile().c_str())) << "the kept data file cannot be swapped while it is read";
  ASSERT_EQ(STATUS_OK, readSettings());
  EXPECT_EQ(4, package().settings().memberCount);
  ASSERT_EQ(STATUS_OK, open());
  ASSERT_EQ(STATUS_OK, expand(1));
  EXPECT_EQ(0x21, package().lastMemberAttribute());
  for (int index = 2; index <= 4; ++index) EXPECT_EQ(STATUS_OK, expand(index)) << index;
  EXPECT_EQ(compressibleBytes(20000), fileBytes(saverFolder() + "main.swf"));
  EXPECT_EQ(randomBytes(3000, 7), fileBytes(saverFolder() + "pictures\\deep\\a.jpg"));
  EXPECT_EQ(compressibleBytes(700), fileBytes(saverFolder() + "pictures\\b.txt"));
  EXPECT_FALSE(pathExists(saverFolder() + "empty.txt")) << "an empty member writes nothing";
  EXPECT_EQ(STATUS_MEMBER_INDEX_TOO_HIGH, expand(5));
  EXPECT_EQ(STATUS_OK, close());
  EXPECT_EQ(STATUS_DATA_FILE_NOT_OPEN, expand(1));
  EXPECT_TRUE(DeleteFileA(dataFile().c_str())) << "closed, the work file can go";
  EXPECT_TRUE(told().empty());
}

// Stored plain, the data file is checked and read where it lies in the
// package; a damaged one is told and leaves nothing to read there.
TEST_F(DataFileWineTest, PlainDataFileIsReadInThePackage) {
  std::vector<uint8_t> bytes;
  std::string error;
  ASSERT_TRUE(buildDataFile(
      {}, {member("a\\one.txt", bytesOf("one"), false), member("two.txt", compressibleBytes(3000), true)},
      bytes, error))
      << error;
  static std::vector<uint8_t> stored;
  stored = bytes;
  writePackage(PackageFlags(), {carried(ENTRY_DATA_FILE, "saver.qrd", DEST_WORK_FOLDER, bytes)},
               [](std::vector<uint8_t> &package) {
                 setEntryExpandedCrc(
                     reinterpret_cast<InstallerHeader *>(package.data())->entries[ENTRY_DATA_FILE],
                     crc32Of(stored.data(), stored.size()));
               });
  ASSERT_EQ(STATUS_OK, openPackage());
  ASSERT_EQ(STATUS_OK, extract(ENTRY_DATA_FILE));
  EXPECT_FALSE(pathExists(dataFile())) << "nothing written to the work folder";
  ASSERT_EQ(STATUS_OK, readSettings());
  ASSERT_EQ(STATUS_OK, open());
  EXPECT_EQ(STATUS_OK, expand(1));
  EXPECT_EQ(STATUS_OK, expand(2));
  EXPECT_EQ("one", fileText(saverFolder() + "a\\one.txt"));
  EXPECT_EQ(compressibleBytes(3000), fileBytes(saverFolder() + "two.txt"));
  EXPECT_EQ(STATUS_OK, close());
  EXPECT_TRUE(told().empty());

  package().close();
  writePackage(PackageFlags(), {carried(ENTRY_DATA_FILE, "saver.qrd", DEST_WORK_FOLDER, bytes)},
               [](std::vector<uint8_t> &package) {
                 setEntryExpandedCrc(
                     reinterpret_cast<InstallerHeader *>(package.data())->entries[ENTRY_DATA_FILE],
                     crc32Of(stored.data(), stored.size()) ^ 1);
               });
  ASSERT_EQ(STATUS_OK, openPackage());
  EXPECT_EQ(STATUS_EXPANDED_CRC_MISMATCH, extract(ENTRY_DATA_FILE));
  EXPECT_EQ(Failures{fileFailure(STATUS_EXPANDED_CRC_MISMATCH, dataFile())}, told());
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, readSettings()) << "nothing is left to read";
  told();
}

TEST_F(DataFileWineTest, SecondOpenIsRefusedAndTold) {
  keepDataFile({member("a.txt", bytesOf("a"), false)});
  ASSERT_EQ(STATUS_OK, open());
  EXPECT_EQ(STATUS_OK, open());
  EXPECT_EQ((Failures{Failure{FailureKind::DataFileInUse, STATUS_OK, dataFile()}}), told());
}

TEST_F(DataFileWineTest, TooManyMembersIsRefusedOnOpening) {
  std::vector<uint8_t> bytes = dataFileBytes({member("a.txt", bytesOf("a"), false)});
  const int32_t tooMany = 1011;
  std::memcpy(&bytes[212], &tooMany, sizeof(tooMany));
  keepDataFile(bytes);
  EXPECT_EQ(STATUS_TOO_MANY_MEMBERS, open());
  EXPECT_EQ((Failures{Failure{FailureKind::DataFileOpen, STATUS_TOO_MANY_MEMBERS, dataFile()}}), told());
}

TEST_F(DataFileWineTest, MemberPathOutsideTheSaverFolderIsRefused) {
  keepDataFile(
      {member("..\\escaped.txt", bytesOf("x"), false), member("C:\\escaped.txt", bytesOf("x"), false)});
  ASSERT_EQ(STATUS_OK, open());
  EXPECT_EQ(STATUS_UNSAFE_NAME, expand(1));
  EXPECT_EQ(STATUS_UNSAFE_NAME, expand(2));
  EXPECT_FALSE(pathExists(pathCommonAppData + "escaped.txt"));
  EXPECT_EQ((Failures{fileFailure(STATUS_UNSAFE_NAME, saverFolder() + "..\\escaped.txt"),
                      fileFailure(STATUS_UNSAFE_NAME, saverFolder() + "C:\\escaped.txt")}),
            told());
}

TEST_F(DataFileWineTest, MemberCutInsideItsDataLeavesNoFile) {
  std::vector<uint8_t> bytes = dataFileBytes(
      {member("a.txt", compressibleBytes(500), false), member("b.txt", compressibleBytes(500), true)});
  bytes.resize(bytes.size() - 5);
  keepDataFile(bytes);
  ASSERT_EQ(STATUS_OK, open());
  EXPECT_EQ(STATUS_OK, expand(1));
  EXPECT_EQ(STATUS_SHORT_ENTRY, expand(2));
  EXPECT_FALSE(pathExists(saverFolder() + "b.txt"));
  EXPECT_EQ((Failures{Failure{FailureKind::DataFileRead, STATUS_SHORT_ENTRY, saverFolder() + "b.txt"}}),
            told());
}

// "Cancel" inside a member of several blocks, copied or expanded, stops it
// at the next block and leaves none of it.
TEST_F(DataFileWineTest, CancelInsideALongMemberStopsWithinABlockAndLeavesNoFile) {
  const uint32_t length = 3 << 20;
  DataMember imploded = member("imploded.bin", randomBytes(length, 4), true);
  // Random bytes grow when imploded: more blocks to read than the plain copy.
  ASSERT_TRUE(implodeBytes(imploded.bytes, imploded.imploded, true));
  keepDataFile({member("plain.bin", randomBytes(length, 3), false), imploded});
  ASSERT_EQ(STATUS_OK, open());
  for (const int index : {1, 2}) {
    SCOPED_TRACE(index);
    CancellingObserver watching(2);
    EXPECT_EQ(STATUS_USER_ABORT, expand(index, watching));
    EXPECT_EQ(2, watching.pauses) << "no block is read once cancelled";
    EXPECT_FALSE(pathExists(saverFolder() + (index == 1 ? "plain.bin" : "imploded.bin")));
  }
  CancellingObserver never(INT_MAX);
  EXPECT_EQ(STATUS_OK, expand(1, never));
  EXPECT_EQ(3, never.pauses) << "a pause before each block";
  EXPECT_TRUE(told().empty());
}

TEST_F(DataFileWineTest, CompressedMemberOfTheWrongSizeIsDeleted) {
  std::vector<uint8_t> bytes = dataFileBytes({member("a.txt", compressibleBytes(500), true)});
  DataMemberRecord record;
  std::memcpy(&record, &bytes[1240], sizeof(record));
  bytes[record.headerOffset + 8] += 1;  // expandedSize
  keepDataFile(bytes);
  ASSERT_EQ(STATUS_OK, open());
  EXPECT_EQ(STATUS_EXPANDED_SIZE_MISMATCH, expand(1));
  EXPECT_FALSE(pathExists(saverFolder() + "a.txt"));
}

TEST_F(DataFileWineTest, CompressedMemberWithoutTheLibraryLeavesAnOlderFileAlone) {
  DeleteFileA((pathWorkFolder + "impborl.dll").c_str());
  keepDataFile({member("a.txt", compressibleBytes(500), true)});
  writeBytes(saverFolder() + "a.txt", bytesOf("older"));
  ASSERT_EQ(STATUS_OK, open());
  EXPECT_EQ(STATUS_CODEC_NOT_LOADED, expand(1));
  EXPECT_EQ("older", fileText(saverFolder() + "a.txt")) << "nothing was written, so nothing is removed";
}

TEST_F(DataFileWineTest, MissingDataFileIsReported) {
  writePackage(PackageFlags(), {codecEntry()});
  ASSERT_EQ(STATUS_OK, openPackage());
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, readSettings());
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, open());
  EXPECT_EQ((Failures{fileFailure(ERROR_FILE_NOT_FOUND, dataFile()),
                      Failure{FailureKind::DataFileOpen, ERROR_FILE_NOT_FOUND, dataFile()}}),
            told());
}

}  // namespace
