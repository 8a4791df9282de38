// The space an install needs, volume by volume, and the message of a
// volume without it.
#include <gtest/gtest.h>

#include "installer/diskSpaceRule.h"
#include "installer/stringTableIds.h"
#include "package/packageFormat.h"
#include "programTables.h"

#include <map>

namespace {

const uint64_t MB = uint64_t{1} << 20;

InstallPlan planOnTwoVolumes() {
  InstallPlan plan;
  plan.folders = {"C:\\Work\\", "D:\\Savers\\Ocean\\", "D:\\Savers\\", "C:\\Windows\\system32\\"};
  plan.entries[ENTRY_SAVER_PROGRAM].path = "C:\\Windows\\system32\\ocean.scr";
  plan.entries[ENTRY_SAVER_PROGRAM].nativeCopy = "C:\\Windows\\Sysnative\\ocean.scr";
  plan.entries[7].path = "D:\\Savers\\waves.dll";
  plan.entries[ENTRY_DATA_FILE].path = "C:\\Work\\ocean.dat";
  plan.entries[ENTRY_DATA_FILE].keptForMembers = true;
  plan.entries[9].status = -34;  // an unsafe name is never written
  return plan;
}

InstallerHeader headerOf(int32_t dataFileBytes, uint8_t dataFileImploded) {
  InstallerHeader header{};
  const int indexes[] = {ENTRY_SAVER_PROGRAM, 7, ENTRY_DATA_FILE, 9, ENTRY_LICENSE};
  for (const int index : indexes) {
    setEntryName(header.entries[index], "f" + std::to_string(index));
    header.entries[index].expandedSize = 10000;
  }
  header.entries[ENTRY_DATA_FILE].expandedSize = dataFileBytes;
  header.entries[ENTRY_DATA_FILE].compressed = dataFileImploded;
  header.showLicense = 1;
  return header;
}

std::map<std::string, uint64_t> byFolder(const std::vector<SpaceNeed> &needs) {
  std::map<std::string, uint64_t> sums;
  for (const SpaceNeed &need : needs) sums[need.folder] += need.bytes;
  return sums;
}

// The volumes of needs, on C: and D: by their folders' first letter; E:
// cannot be read.
std::vector<VolumeSpace> volumesWithFree(const std::vector<SpaceNeed> &needs, uint64_t freeOnC,
                                         uint64_t freeOnD) {
  std::vector<VolumeSpace> volumes;
  for (const SpaceNeed &need : needs) {
    const char letter = need.folder[0];
    volumes.push_back(
        VolumeSpace{letter != 'E', std::string(1, letter), letter == 'C' ? freeOnC : freeOnD});
  }
  return volumes;
}

}  // namespace

TEST(DiskSpaceRule, EachFileCountsInTheFolderItIsWrittenTo) {
  const InstallPlan plan = planOnTwoVolumes();
  const std::map<std::string, uint64_t> plain = byFolder(entrySpaceNeeds(headerOf(50000, 0), plan, 7 * MB));
  const std::map<std::string, uint64_t> expected = {
      {"C:\\Windows\\system32\\", 12288},  // whole allocation units
      {"C:\\Windows\\Sysnative\\", 12288},
      {"D:\\Savers\\", 12288},
      {"D:\\Savers\\Ocean\\", 7 * MB + 12288},  // the members and the licence's copy
  };
  EXPECT_EQ(plain, expected) << "a plain data file is read where it lies; an unsafe entry writes nothing";
  const std::map<std::string, uint64_t> imploded =
      byFolder(entrySpaceNeeds(headerOf(50000, 1), plan, 7 * MB));
  EXPECT_EQ(imploded.at("C:\\Work\\"), 53248u) << "an imploded data file is expanded in the work folder";
}

TEST(DiskSpaceRule, MembersNeedAtLeastTheDataFileLessItsTables) {
  EXPECT_EQ(membersBytesAtLeast(headerOf(1000, 0)), 0u);
  const uint64_t big = membersBytesAtLeast(headerOf(200 * MB, 0));
  EXPECT_GT(big, 199 * MB);
  EXPECT_LT(big, 200 * MB);
  EXPECT_EQ(saverFolderNeed(headerOf(0, 0), planOnTwoVolumes(), {1, 4096, 4097}).bytes,
            4096u + 4096u + 8192u + 12288u);
}

TEST(DiskSpaceRule, AVolumeIsShortWhenItsFoldersTogetherNeedMoreThanIsFree) {
  const std::vector<SpaceNeed> needs = {
      {"C:\\Windows\\", 20 * MB}, {"D:\\Savers\\", 40 * MB}, {"C:\\Work\\", 40 * MB}, {"E:\\", 900 * MB}};
  struct Case {
    uint64_t freeOnC, freeOnD;
    bool short_;
    std::string folder;
    uint64_t needed;
  } cases[] = {
      {60 * MB, 40 * MB, false, "", 0},                     // each just enough; E: is not known
      {60 * MB - 1, 40 * MB, true, "C:\\Work\\", 60 * MB},  // the two on C: add up; the larger is named
      {90 * MB, 39 * MB, true, "D:\\Savers\\", 40 * MB},
  };
  for (const Case &c : cases) {
    SpaceShortfall shortfall;
    EXPECT_EQ(findSpaceShortfall(needs, volumesWithFree(needs, c.freeOnC, c.freeOnD), shortfall), c.short_);
    EXPECT_EQ(shortfall.folder, c.folder);
    EXPECT_EQ(shortfall.needed, c.needed);
  }
}

TEST(DiskSpaceRule, TheMessageRoundsTheNeedUpAndTheFreeSpaceDown) {
  struct Case {
    uint64_t needed, freeBytes;
    const char *neededText, *freeText;
  } cases[] = {
      {200 * MB + 1, 100 * MB - 1, "201 MB", "99 MB"},
      {1500, 10, "2 KB", "0 KB"},
  };
  for (const Case &c : cases) {
    const std::string text =
        diskFullText(SpaceShortfall{"D:\\Ocean\\", c.needed, c.freeBytes}, installerText);
    const std::string expected =
        expandText(installerText(IDS_DISK_FULL), {c.neededText, "D:\\Ocean\\", c.freeText});
    EXPECT_EQ(text, expected);
  }
}
