// The package operations on the real (Wine) file system.
#include "packageWine.h"

#include "common/QRX_FileUtils.h"
#include "common/QRX_OSUtils.h"
#include "common/crcUtils.h"
#include "common/runningProgram.h"
#include "package/codedShortName.h"
#include "package/packageCopy.h"
#include "package/packageFormat.h"
#include "common/statusCodes.h"

#include <windows.h>

namespace {

TEST_F(PackageWineTest, BareInstallerCopyHasNoHeader) {
  bool linked = true;
  ASSERT_EQ(STATUS_OK, run([&](Failures &failures) {
              return CopyPackageToWorkFolder(ownProgramFile(), packagePath(), false, linked, failures);
            }));
  EXPECT_FALSE(linked);
  EXPECT_EQ(fileBytes(ownProgramFile()), fileBytes(packagePath()));
  EXPECT_EQ(STATUS_SHORT_HEADER, openPackage());
  EXPECT_EQ(Failures{fileFailure(STATUS_SHORT_HEADER, packagePath())}, told());
}

DWORD linkCount(const std::string &path) {
  BY_HANDLE_FILE_INFORMATION information = {};
  HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 0;
  GetFileInformationByHandle(file, &information);
  CloseHandle(file);
  return information.nNumberOfLinks;
}

// Started by its launcher, the installer reads its package through a second
// name of its own file; otherwise through a copy.
TEST_F(PackageWineTest, PackageIsALinkUnderTheLauncherAndACopyWithout) {
  const std::string installer = root() + "setup.exe";
  writeBytes(installer, bytesOf("installer and package"));
  for (bool launcher : {false, true}) {
    bool linked = !launcher;
    ASSERT_EQ(STATUS_OK, run([&](Failures &failures) {
                return CopyPackageToWorkFolder(installer, packagePath(), launcher, linked, failures);
              }));
    EXPECT_EQ(launcher, linked);
    EXPECT_EQ(launcher ? 2u : 1u, linkCount(packagePath())) << launcher;
    EXPECT_EQ("installer and package", fileText(packagePath()));
  }
  MovePackageLinkAside(installer, packagePath());
  EXPECT_FALSE(pathExists(packagePath())) << "a file not running is deleted";
  EXPECT_EQ(1u, linkCount(installer));
  EXPECT_TRUE(told().empty());
}

TEST_F(PackageWineTest, EveryDestKindLandsWhereItsRuleSays) {
  ASSERT_EQ(OS_64BIT_WINDOWS, GetOperatingSystem()) << "the test prefix is 64-bit";
  PackageFlags flags;
  writePackage(
      flags,
      {codecEntry(), carried(2, "install_flash_player_active_x.exe", 3, bytesOf("flash")),
       carried(3, "one.txt", 1, bytesOf("kind 1")), carried(4, "prog.scr", 2, bytesOf("kind 2")),
       carried(5, "saver1.dat", 3, bytesOf("kind 3")), carried(6, "tool.bin", 4, bytesOf("kind 4")),
       carried(7, "five.txt", 5, bytesOf("kind 5")),
       carried(8, "six.txt", 6, compressibleBytes(5000), true),
       carried(9, "seven.txt", 7, bytesOf("kind 7")), carried(10, "ten.txt", 10, bytesOf("kind 10"))});
  readHeader();
  EXPECT_EQ(fileBytes(IMPBORL_DLL), fileBytes(pathWorkFolder + "impborl.dll"));
  EXPECT_FALSE(pathExists(pathWorkFolder + "impborl.dat"));
  for (int index = 2; index <= 10; ++index) EXPECT_EQ(STATUS_OK, extract(index)) << index;
  EXPECT_EQ("flash", fileText(pathWorkFolder + "install_flash_player_active_x.exe"));
  EXPECT_EQ("kind 1", fileText(saverFolder() + "one.txt"));
  EXPECT_EQ("kind 2", fileText(pathSystem + "prog.scr"));
  EXPECT_EQ("kind 2", fileText(pathSysnative + "prog.scr")) << "second copy on 64-bit Windows";
  EXPECT_EQ("kind 3", fileText(pathCommonAppData + "saver1.dll"));
  EXPECT_FALSE(pathExists(pathCommonAppData + "saver1.dat"));
  EXPECT_EQ("kind 4", fileText(pathWorkFolder + "tool.bin"));
  EXPECT_EQ("kind 5", fileText(saverFolder() + "five.txt"));
  EXPECT_EQ(compressibleBytes(5000), fileBytes(saverFolder() + "six.txt")) << "expanded";
  EXPECT_EQ("kind 7", fileText(pathWorkFolder + "seven.txt"));
  EXPECT_EQ("kind 10", fileText(saverFolder() + "ten.txt"));
  EXPECT_TRUE(told().empty());
}

TEST_F(PackageWineTest, KindsWithoutDestinationFailWithTheFileMessage) {
  PackageFlags flags;
  writePackage(flags, {codecEntry(), carried(6, "a.txt", 0, bytesOf("x")),
                       carried(7, "b.txt", 9, bytesOf("x")), carried(8, "c.txt", 11, bytesOf("x"))});
  readHeader();
  for (int index = 6; index <= 8; ++index) {
    EXPECT_EQ(SYSTEM_ERROR_PATH_NOT_FOUND, extract(index)) << index;
    EXPECT_EQ(Failures{fileFailure(SYSTEM_ERROR_PATH_NOT_FOUND, "")}, told());
  }
}

TEST_F(PackageWineTest, AbsentEntryIsReportedWithAnEmptyPath) {
  PackageFlags flags;
  writePackage(flags, {codecEntry()});
  readHeader();
  EXPECT_EQ(STATUS_ENTRY_ABSENT, extract(7));
  EXPECT_EQ(Failures{fileFailure(STATUS_ENTRY_ABSENT, "")}, told());
}

TEST_F(PackageWineTest, BusyDestinationIsSkippedAsSuccess) {
  PackageFlags flags;
  writePackage(flags, {codecEntry(), carried(6, "busy.scr", 2, bytesOf("new"))});
  readHeader();
  writeBytes(pathSystem + "busy.scr", bytesOf("old"));
  HANDLE holder =
      CreateFileA((pathSystem + "busy.scr").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, holder);
  EXPECT_EQ(STATUS_OK, extract(6));
  CloseHandle(holder);
  EXPECT_EQ("old", fileText(pathSystem + "busy.scr"));
  EXPECT_TRUE(told().empty());
}

void oneByteEntry(std::vector<uint8_t> &package) {
  InstallerHeader *header = reinterpret_cast<InstallerHeader *>(package.data());
  header->entries[6].end = header->entries[6].start;
}

TEST_F(PackageWineTest, EntryWithEndAtStartHoldsOneByte) {
  PackageFlags flags;
  writePackage(flags, {codecEntry(), carried(6, "one.txt", 1, bytesOf("AB"))}, oneByteEntry);
  readHeader();
  EXPECT_EQ(STATUS_OK, extract(6));
  EXPECT_EQ("A", fileText(saverFolder() + "one.txt"));
}

void entryPastTheEnd(std::vector<uint8_t> &package) {
  InstallerHeader *header = reinterpret_cast<InstallerHeader *>(package.data());
  header->entries[6].end = 0x7fffffff;  // would ask for 2 GB
  header->entries[7].start = -5;
}

// A header naming bytes no package can hold is refused before any entry is
// read or any file touched.
TEST_F(PackageWineTest, EntryOutsideAnyPackageIsRefusedWithTheHeader) {
  PackageFlags flags;
  writePackage(
      flags, {codecEntry(), carried(6, "a.txt", 1, bytesOf("new")), carried(7, "b.txt", 1, bytesOf("new"))},
      entryPastTheEnd);
  writeBytes(saverFolder() + "a.txt", bytesOf("old"));
  EXPECT_EQ(STATUS_INVALID_HEADER, openPackage());
  EXPECT_EQ("old", fileText(saverFolder() + "a.txt"));
}

void truncatedEntry(std::vector<uint8_t> &package) { package.resize(package.size() - 10); }

TEST_F(PackageWineTest, TruncatedPackageGivesShortEntry) {
  PackageFlags flags;
  writePackage(flags, {codecEntry(), carried(6, "a.txt", 1, compressibleBytes(100), false)},
               truncatedEntry);
  readHeader();
  EXPECT_EQ(STATUS_SHORT_ENTRY, extract(6));
  EXPECT_FALSE(pathExists(saverFolder() + "a.txt"));
  EXPECT_EQ(Failures{fileFailure(STATUS_SHORT_ENTRY, saverFolder() + "a.txt")}, told());
}

void climbingName(std::vector<uint8_t> &package) {
  InstallerHeader *header = reinterpret_cast<InstallerHeader *>(package.data());
  header->entries[6].name[0] = '.';
  header->entries[6].name[1] = '.';
  header->entries[6].name[2] = '\\';
}

TEST_F(PackageWineTest, EntryNameWithAFolderIsRefused) {
  PackageFlags flags;
  writePackage(flags, {codecEntry(), carried(6, "xxxevil.txt", 1, bytesOf("evil"))}, climbingName);
  readHeader();
  EXPECT_EQ(STATUS_UNSAFE_NAME, extract(6));
  EXPECT_FALSE(pathExists(pathCommonAppData + "evil.txt"));
  EXPECT_EQ(Failures{fileFailure(STATUS_UNSAFE_NAME, "..\\evil.txt")}, told());
}

void climbingLibraryName(std::vector<uint8_t> &package) {
  InstallerHeader *header = reinterpret_cast<InstallerHeader *>(package.data());
  setEntryName(header->entries[9], "..\\evil.dll");
}

TEST_F(PackageWineTest, RefusedLibraryNameIsReportedToo) {
  PackageFlags flags;
  writePackage(flags, {codecEntry(), carried(9, "evil.dll", 3, bytesOf("evil"))}, climbingLibraryName);
  readHeader();
  EXPECT_EQ(STATUS_UNSAFE_NAME, extract(9));
  EXPECT_FALSE(pathExists(root() + "evil.dll"));
  EXPECT_EQ(Failures{fileFailure(STATUS_UNSAFE_NAME, "..\\evil.dll")}, told())
      << "only a library's own write failures stay silent";
}

void wrongExpandedSize(std::vector<uint8_t> &package) {
  reinterpret_cast<InstallerHeader *>(package.data())->entries[6].expandedSize += 1;
}

TEST_F(PackageWineTest, CompressedEntryOfTheWrongSizeStaysInPlace) {
  PackageFlags flags;
  writePackage(flags, {codecEntry(), carried(6, "big.txt", 1, compressibleBytes(3000), true)},
               wrongExpandedSize);
  readHeader();
  EXPECT_EQ(STATUS_EXPANDED_SIZE_MISMATCH, extract(6));
  EXPECT_EQ(compressibleBytes(3000), fileBytes(saverFolder() + "big.txt"));
  EXPECT_EQ(Failures{fileFailure(STATUS_EXPANDED_SIZE_MISMATCH, saverFolder() + "big.txt")}, told());
}

TEST_F(PackageWineTest, CompressedEntryWithoutTheLibraryFails) {
  PackageFlags flags;
  writePackage(flags, {carried(6, "big.txt", 1, compressibleBytes(3000), true)});
  EXPECT_EQ(STATUS_OK, openPackage());
  EXPECT_EQ(STATUS_ENTRY_ABSENT, extract(ENTRY_CODEC_LIBRARY)) << "no entry 1";
  EXPECT_EQ(Failures{fileFailure(STATUS_ENTRY_ABSENT, "")}, told());
  EXPECT_EQ(STATUS_CODEC_NOT_LOADED, extract(6));
  EXPECT_EQ(Failures{fileFailure(STATUS_CODEC_NOT_LOADED, saverFolder() + "big.txt")}, told());
}

std::string lastFourDigits(const std::string &name) {
  uint32_t crc = 0;
  EXPECT_TRUE(Crc32OfString(name, crc));
  const std::string digits = std::to_string(crc);
  return digits.substr(digits.size() < 4 ? 0 : digits.size() - 4);
}

TEST_F(PackageWineTest, CodedNamesFollowTheSystemsLowerCase) {
  EXPECT_EQ("My B" + lastFourDigits("My Big Screensaver"),
            getCodedShortFilenameForScreensaver("My Big Screensaver"));
  EXPECT_EQ("aquarium", getCodedShortFilenameForScreensaver("aquarium"));
  EXPECT_EQ("Aqua" + lastFourDigits("Aquariums"), getCodedShortFilenameForScreensaver("Aquariums"));
  EXPECT_EQ("Aquarium", getCodedShortFilenameForScreensaver("Aquarium"));
  EXPECT_EQ("long lower case name", getCodedShortFilenameForScreensaver("long lower case name"));
}

void invalidFlashRow(std::vector<uint8_t> &package) {
  InstallerHeader *header = reinterpret_cast<InstallerHeader *>(package.data());
  header->carriesFlashInstaller = 1;
  header->flashInstallerVersionIndex = 2;
}

TEST_F(PackageWineTest, UnknownFlashInstallerRowIsRefusedAtHeaderReading) {
  PackageFlags flags;
  writePackage(flags, {codecEntry()}, invalidFlashRow);
  EXPECT_EQ(STATUS_INVALID_HEADER, openPackage());
  EXPECT_EQ(Failures{fileFailure(STATUS_INVALID_HEADER, packagePath())}, told());
}

}  // namespace
