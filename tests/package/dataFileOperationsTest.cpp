// The data-file operations on the real (Wine) file system.
#include "packageWine.h"

#include "common/QRX_FileUtils.h"
#include "package/installerRun.h"
#include "package/integrityRecord.h"
#include "package/packageExtraction.h"
#include "common/statusCodes.h"
#include "package/saverDataFile.h"
#include "tools/saverpack/dataFileBuilder.h"

#include <windows.h>

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

class DataFileWineTest : public PackageWineTest {
 protected:
  void SetUp() override {
    PackageWineTest::SetUp();
    installerRun.dataFile = pathWorkFolder + "saver.qrd";
    CopyFileA(IMPBORL_DLL, (pathWorkFolder + "impborl.dll").c_str(), FALSE);
  }
  void TearDown() override {
    run(CloseDataFile);
    PackageWineTest::TearDown();
  }

  static void writeDataFile(const std::vector<DataMember> &members) {
    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(buildDataFile({}, members, bytes, error)) << error;
    writeBytes(installerRun.dataFile, bytes);
  }

  int32_t open() {
    bool isOpen = false;
    const int32_t status =
        run([&](Failures &failures) { return OpenDataFile(installerRun.dataFile, isOpen, failures); });
    EXPECT_EQ(status == STATUS_OK, isOpen);
    return status;
  }

  int32_t expand(int index, uint8_t *attribute = nullptr) {
    uint8_t ignored = 0;
    return run([&](Failures &failures) {
      return ExpandDataMember(installerRun.saverFolder, index, attribute != nullptr ? *attribute : ignored,
                              attribute != nullptr, failures);
    });
  }
};

TEST_F(DataFileWineTest, MembersArePlacedInTheirFolders) {
  writeDataFile({member("main.swf", compressibleBytes(20000), true, 0x21),
                 member("pictures\\deep\\a.jpg", randomBytes(3000, 7), false),
                 member("pictures\\b.txt", compressibleBytes(700), true), member("empty.txt", {}, false)});
  ASSERT_EQ(STATUS_OK, run(ReadSaverSettings));
  EXPECT_EQ(4, installerRun.settings.memberCount);
  ASSERT_EQ(STATUS_OK, open());
  uint8_t attribute = 0;
  ASSERT_EQ(STATUS_OK, expand(1, &attribute));
  EXPECT_EQ(0x21, attribute);
  for (int index = 2; index <= 4; ++index) EXPECT_EQ(STATUS_OK, expand(index)) << index;
  EXPECT_EQ(compressibleBytes(20000), fileBytes(installerRun.saverFolder + "main.swf"));
  EXPECT_EQ(randomBytes(3000, 7), fileBytes(installerRun.saverFolder + "pictures\\deep\\a.jpg"));
  EXPECT_EQ(compressibleBytes(700), fileBytes(installerRun.saverFolder + "pictures\\b.txt"));
  EXPECT_FALSE(pathExists(installerRun.saverFolder + "empty.txt")) << "an empty member writes nothing";
  EXPECT_EQ(STATUS_MEMBER_INDEX_TOO_HIGH, expand(5));
  EXPECT_EQ(STATUS_OK, run(CloseDataFile));
  EXPECT_EQ(STATUS_DATA_FILE_NOT_OPEN, expand(1));
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
  writePackage(PackageFlags(),
               {codecEntry(), carried(ENTRY_DATA_FILE, "saver.qrd", DEST_WORK_FOLDER, bytes)});
  readHeader();
  PackageEntry &entry = installerRun.header.entries[ENTRY_DATA_FILE];
  setEntryExpandedCrc(entry, crc32Of(bytes.data(), bytes.size()));
  ASSERT_EQ(STATUS_OK, extract(ENTRY_DATA_FILE));
  EXPECT_TRUE(installerRun.dataFileInPackage);
  EXPECT_FALSE(pathExists(installerRun.dataFile)) << "nothing written to the work folder";
  ASSERT_EQ(STATUS_OK, run(ReadSaverSettings));
  ASSERT_EQ(STATUS_OK, open());
  EXPECT_EQ(STATUS_OK, expand(1));
  EXPECT_EQ(STATUS_OK, expand(2));
  EXPECT_EQ("one", fileText(installerRun.saverFolder + "a\\one.txt"));
  EXPECT_EQ(compressibleBytes(3000), fileBytes(installerRun.saverFolder + "two.txt"));
  EXPECT_EQ(STATUS_OK, run(CloseDataFile));
  EXPECT_TRUE(told().empty());

  setEntryExpandedCrc(entry, crc32Of(bytes.data(), bytes.size()) ^ 1);
  EXPECT_EQ(STATUS_EXPANDED_CRC_MISMATCH, extract(ENTRY_DATA_FILE));
  EXPECT_FALSE(installerRun.dataFileInPackage);
  EXPECT_EQ(Failures{fileFailure(STATUS_EXPANDED_CRC_MISMATCH, installerRun.dataFile)}, told());
}

TEST_F(DataFileWineTest, SecondOpenIsRefusedAndTold) {
  writeDataFile({member("a.txt", bytesOf("a"), false)});
  ASSERT_EQ(STATUS_OK, open());
  EXPECT_EQ(STATUS_OK, open());
  EXPECT_EQ((Failures{Failure{FailureKind::DataFileInUse, STATUS_OK, installerRun.dataFile}}), told());
}

TEST_F(DataFileWineTest, TooManyMembersIsRefusedOnOpening) {
  writeDataFile({member("a.txt", bytesOf("a"), false)});
  std::vector<uint8_t> bytes = fileBytes(installerRun.dataFile);
  const int32_t tooMany = 1011;
  std::memcpy(&bytes[212], &tooMany, sizeof(tooMany));
  writeBytes(installerRun.dataFile, bytes);
  EXPECT_EQ(STATUS_TOO_MANY_MEMBERS, open());
  EXPECT_EQ((Failures{Failure{FailureKind::DataFileOpen, STATUS_TOO_MANY_MEMBERS, installerRun.dataFile}}),
            told());
}

TEST_F(DataFileWineTest, MemberPathOutsideTheSaverFolderIsRefused) {
  writeDataFile(
      {member("..\\escaped.txt", bytesOf("x"), false), member("C:\\escaped.txt", bytesOf("x"), false)});
  ASSERT_EQ(STATUS_OK, open());
  EXPECT_EQ(STATUS_UNSAFE_NAME, expand(1));
  EXPECT_EQ(STATUS_UNSAFE_NAME, expand(2));
  EXPECT_FALSE(pathExists(pathCommonAppData + "escaped.txt"));
  EXPECT_EQ((Failures{fileFailure(STATUS_UNSAFE_NAME, installerRun.saverFolder + "..\\escaped.txt"),
                      fileFailure(STATUS_UNSAFE_NAME, installerRun.saverFolder + "C:\\escaped.txt")}),
            told());
}

TEST_F(DataFileWineTest, MemberCutInsideItsDataLeavesNoFile) {
  writeDataFile(
      {member("a.txt", compressibleBytes(500), false), member("b.txt", compressibleBytes(500), true)});
  std::vector<uint8_t> bytes = fileBytes(installerRun.dataFile);
  bytes.resize(bytes.size() - 5);
  writeBytes(installerRun.dataFile, bytes);
  ASSERT_EQ(STATUS_OK, open());
  EXPECT_EQ(STATUS_OK, expand(1));
  EXPECT_EQ(STATUS_SHORT_ENTRY, expand(2));
  EXPECT_FALSE(pathExists(installerRun.saverFolder + "b.txt"));
  EXPECT_EQ((Failures{Failure{FailureKind::DataFileRead, STATUS_SHORT_ENTRY,
                              installerRun.saverFolder + "b.txt"}}),
            told());
}

TEST_F(DataFileWineTest, CompressedMemberOfTheWrongSizeIsDeleted) {
  writeDataFile({member("a.txt", compressibleBytes(500), true)});
  std::vector<uint8_t> bytes = fileBytes(installerRun.dataFile);
  DataMemberRecord record;
  std::memcpy(&record, &bytes[1240], sizeof(record));
  bytes[record.headerOffset + 8] += 1;  // expandedSize
  writeBytes(installerRun.dataFile, bytes);
  ASSERT_EQ(STATUS_OK, open());
  EXPECT_EQ(STATUS_EXPANDED_SIZE_MISMATCH, expand(1));
  EXPECT_FALSE(pathExists(installerRun.saverFolder + "a.txt"));
}

TEST_F(DataFileWineTest, CompressedMemberWithoutTheLibraryLeavesAnOlderFileAlone) {
  DeleteFileA((pathWorkFolder + "impborl.dll").c_str());
  writeDataFile({member("a.txt", compressibleBytes(500), true)});
  writeBytes(installerRun.saverFolder + "a.txt", bytesOf("older"));
  ASSERT_EQ(STATUS_OK, open());
  EXPECT_EQ(STATUS_CODEC_NOT_LOADED, expand(1));
  EXPECT_EQ("older", fileText(installerRun.saverFolder + "a.txt"))
      << "nothing was written, so nothing is removed";
}

TEST_F(DataFileWineTest, MissingDataFileIsReported) {
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, run(ReadSaverSettings));
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, open());
  EXPECT_EQ((Failures{fileFailure(ERROR_FILE_NOT_FOUND, installerRun.dataFile),
                      Failure{FailureKind::DataFileOpen, ERROR_FILE_NOT_FOUND, installerRun.dataFile}}),
            told());
}

}  // namespace
