// The install plan as tables: one header, command line and system in, every
// name and place out.
#include <gtest/gtest.h>

#include "common/crcUtils.h"
#include "common/statusCodes.h"
#include "installer/installPlan.h"
#include "package/packageFormat.h"
#include "package/uninstallMark.h"

#include <algorithm>
#include <cctype>

namespace {

std::string asciiLower(const std::string &text) {
  std::string lower = text;
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower;
}

PlanSystem testSystem(bool nativeSystemFolder = false) {
  PlanSystem system;
  system.system = "C:\\Windows\\system32\\";
  system.nativeSystem = nativeSystemFolder ? "C:\\Windows\\Sysnative\\" : "";
  system.shared = "C:\\ProgramData\\Lumavane\\";
  system.work = "C:\\Users\\u\\AppData\\Local\\Lumavane\\QRP3\\";
  system.installerFile = "C:\\Users\\u\\AppData\\Local\\Lumavane\\QRP2\\Setup.exe";
  system.lowerCase = asciiLower;
  system.installText = "Install";
  system.screenSaverText = "Screen Saver";
  return system;
}

void carry(InstallerHeader &header, int index, const std::string &name, int32_t destKind) {
  setEntryName(header.entries[index], name);
  header.entries[index].destKind = destKind;
}

InstallerHeader oceanHeader() {
  InstallerHeader header{};
  header.installerType = BITMAP_TYPE;
  const std::string name = "Ocean Saver";
  std::copy(name.begin(), name.end(), header.saverName);
  carry(header, ENTRY_CODEC_LIBRARY, "impborl.dat", DEST_WORK_FOLDER_LIBRARY);
  carry(header, ENTRY_SPLASH, "splash.gif", DEST_WORK_FOLDER);
  carry(header, ENTRY_LICENSE, "license.rtf", DEST_WORK_FOLDER);
  carry(header, ENTRY_SAVER_PROGRAM, "ocean.scr", DEST_SYSTEM_FOLDER);
  carry(header, 7, "waves.dll", DEST_SHARED_LIBRARY);
  carry(header, ENTRY_DATA_FILE, "ocean.dat", DEST_WORK_FOLDER);
  carry(header, 9, "WAVES.dat", DEST_SHARED_LIBRARY);
  return header;
}

std::string codedOcean() {
  uint32_t crc = 0;
  Crc32OfString("Ocean Saver", crc);
  const std::string digits = std::to_string(crc);
  return "Ocea" + digits.substr(digits.size() - 4);
}

TEST(InstallPlan, NamesAndPlacesFollowFromTheHeader) {
  const InstallPlan plan = makeInstallPlan(oceanHeader(), {}, testSystem());
  const PlanSystem system = testSystem();
  EXPECT_EQ(plan.status, STATUS_OK);
  EXPECT_EQ(plan.codedShortName, codedOcean());
  EXPECT_EQ(plan.folders.saver, system.shared + codedOcean() + "\\");
  EXPECT_EQ(plan.packagePath, system.work + "temp.dat");
  EXPECT_EQ(plan.dataFile, system.work + "ocean.dat");
  EXPECT_EQ(plan.splashFile, system.work + "splash.BMP") << "named for the bitmap type";
  EXPECT_EQ(plan.windowTitle, "Install: Ocean Saver");
  EXPECT_EQ(plan.displayName, "Ocean Saver");
  EXPECT_EQ(plan.programName, "ocean.scr");
  EXPECT_EQ(plan.icon, system.system + codedOcean() + ".scr");
  EXPECT_EQ(plan.firstInstallEntry, ENTRY_SAVER_PROGRAM);
  EXPECT_EQ(plan.placedReadMe, "") << "no read-me carried";
  EXPECT_TRUE(plan.carriedUninstallCommand.empty()) << "no integrity record, no carried uninstaller";

  struct Case {
    int index;
    std::string path;
    bool kept;
  } cases[] = {
      {ENTRY_CODEC_LIBRARY, system.work + "impborl.dll", false},
      {ENTRY_SPLASH, system.work + "splash.BMP", false},
      {ENTRY_SAVER_PROGRAM, system.system + "ocean.scr", false},
      {7, system.shared + "waves.dll", false},
      {ENTRY_DATA_FILE, system.work + "ocean.dat", true},
      {9, system.shared + "WAVES.dll", false},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(plan.entries[c.index].status, STATUS_OK) << c.index;
    EXPECT_EQ(plan.entries[c.index].path, c.path) << c.index;
    EXPECT_EQ(plan.entries[c.index].keptForMembers, c.kept) << c.index;
    EXPECT_EQ(plan.entries[c.index].nativeCopy, "") << "32-bit Windows has no native copy";
  }
  EXPECT_EQ(plan.sharedLibraries, (std::vector<std::string>{system.shared + "waves.dll"}))
      << "one library, whatever the letter case of its second entry";
  EXPECT_EQ(plan.filesOutsideSaverFolder, plan.sharedLibraries) << "the program is moved aside whole";
}

TEST(InstallPlan, SystemFolderFilesAreCopiedIntoTheNativeOneOn64BitWindows) {
  InstallerHeader header = oceanHeader();
  carry(header, 10, "oceanfx.dll", DEST_SYSTEM_FOLDER);
  const InstallPlan plan = makeInstallPlan(header, {}, testSystem(true));
  EXPECT_EQ(plan.entries[ENTRY_SAVER_PROGRAM].nativeCopy, "C:\\Windows\\Sysnative\\ocean.scr");
  EXPECT_EQ(plan.entries[ENTRY_DATA_FILE].nativeCopy, "");
  EXPECT_EQ(
      plan.filesOutsideSaverFolder,
      (std::vector<std::string>{testSystem().shared + "waves.dll", plan.folders.system + "oceanfx.dll",
                                "C:\\Windows\\Sysnative\\oceanfx.dll"}));
}

TEST(InstallPlan, CommandLineSetsTheModeAndTheControlPanelOffer) {
  struct Case {
    uint8_t headerType;
    bool offers;
    std::vector<std::string> parameters;
    uint8_t type;
    int quietSwitches;
    bool launcher;
    bool opensWhenQuiet;
  } cases[] = {
      {BITMAP_TYPE, true, {}, BITMAP_TYPE, 0, false, true},
      {BITMAP_TYPE, true, {"/q"}, QUIET_TYPE, 1, false, false},
      {QUIET_TYPE, true, {"/l=1234"}, QUIET_TYPE, 0, true, true},
      {QUIET_TYPE, true, {"/Q", "/q", "/l=77"}, QUIET_TYPE, 2, true, false},
      {QUIET_TYPE, false, {}, QUIET_TYPE, 0, false, false},
      // Nothing on the screen: not the control panel either.
      {QUIET_TYPE, true, {"/qn"}, QUIET_TYPE, 1, false, false},
      {JPEG_TYPE, false, {"/quiet", "/l="}, JPEG_TYPE, 0, false, false},
  };
  for (const Case &c : cases) {
    InstallerHeader header = oceanHeader();
    header.installerType = c.headerType;
    header.offerControlPanel = c.offers ? 1 : 0;
    const InstallPlan plan = makeInstallPlan(header, readInstallerSwitches(c.parameters), testSystem());
    EXPECT_EQ(plan.installerType, c.type) << c.parameters.size();
    EXPECT_EQ(plan.quiet, c.type == QUIET_TYPE);
    EXPECT_EQ(plan.quietSwitches, c.quietSwitches);
    EXPECT_EQ(plan.startedByLauncher, c.launcher);
    EXPECT_EQ(plan.opensControlPanelWhenQuiet, c.opensWhenQuiet);
  }
}

TEST(InstallPlan, ForceIsItsOwnSwitchInAnyCase) {
  EXPECT_TRUE(makeInstallPlan(oceanHeader(), readInstallerSwitches({"/q", "/FORCE"}), testSystem()).force);
  EXPECT_FALSE(
      makeInstallPlan(oceanHeader(), readInstallerSwitches({"/forced", "force", "/f"}), testSystem())
          .force);
}

TEST(InstallPlan, NamesThatLeadOutOfTheirFolderAreRefused) {
  struct Case {
    std::string saverName;
    std::string dataFile;
    std::string unsafe;
  } cases[] = {
      {"..\\..\\x", "ocean.dat", "..\\..\\x"},
      {"C:\\Windows", "ocean.dat", "C:\\Windows"},
      {"..", "ocean.dat", ".."},
      {"Ocean Saver", "..\\ocean.dat", "..\\ocean.dat"},
  };
  for (const Case &c : cases) {
    InstallerHeader header = oceanHeader();
    std::fill(std::begin(header.saverName), std::end(header.saverName), '\0');
    std::copy(c.saverName.begin(), c.saverName.end(), header.saverName);
    setEntryName(header.entries[ENTRY_DATA_FILE], c.dataFile);
    const InstallPlan plan = makeInstallPlan(header, {}, testSystem());
    EXPECT_EQ(plan.status, STATUS_UNSAFE_NAME) << c.saverName << " " << c.dataFile;
    EXPECT_EQ(plan.unsafeName, c.unsafe);
  }
}

TEST(InstallPlan, ReadMeAndCarriedUninstallerComeWithTheirFlags) {
  InstallerHeader header = oceanHeader();
  header.carriesReadMe = 1;
  carry(header, ENTRY_README, "readme.txt", DEST_WORK_FOLDER);
  IntegrityRecord record{};
  writeIntegrityRecord(header, record);
  setUninstallMark(header, UNINSTALLER_CARRIED);
  const InstallPlan plan = makeInstallPlan(header, {}, testSystem());
  EXPECT_EQ(plan.firstInstallEntry, ENTRY_README);
  EXPECT_EQ(plan.placedReadMe, plan.folders.saver + "readme.txt");
  EXPECT_EQ(plan.carriedUninstallCommand.find(plan.folders.saver + "saverremove.exe"), 1u)
      << plan.carriedUninstallCommand;

  setEntryName(header.entries[ENTRY_README], "..\\readme.txt");
  EXPECT_EQ(makeInstallPlan(header, {}, testSystem()).placedReadMe, "")
      << "never opened outside the folder";
}

}  // namespace
