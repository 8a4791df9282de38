// The name rules and decisions of file placement, without the file system.
#include "installer/placementRules.h"
#include "package/installedSaver.h"

#include <gtest/gtest.h>

namespace {

const char SCREEN_SAVER[] = "Screen Saver";
const char INSTALL[] = "Install";

TEST(SaverNames, NameWithSaverIsKept) {
  EXPECT_EQ(UninstallDisplayNameFor("Ocean Saver", SCREEN_SAVER), "Ocean Saver");
  EXPECT_EQ(InstallerTitleFor("Ocean Saver", INSTALL, SCREEN_SAVER), "Install: Ocean Saver");
  EXPECT_EQ(UninstallDisplayNameFor("AQUARIUM SCREENSAVER", SCREEN_SAVER), "AQUARIUM SCREENSAVER");
  EXPECT_EQ(UninstallDisplayNameFor("the saver", SCREEN_SAVER), "the saver");
}

TEST(SaverNames, NameWithoutSaverGetsTheWords) {
  EXPECT_EQ(UninstallDisplayNameFor("Ocean", SCREEN_SAVER), "Ocean Screen Saver");
  EXPECT_EQ(InstallerTitleFor("Ocean", INSTALL, SCREEN_SAVER), "Install Screen Saver: Ocean");
  EXPECT_EQ(UninstallDisplayNameFor("Sav er", SCREEN_SAVER), "Sav er Screen Saver");
  EXPECT_EQ(UninstallDisplayNameFor("", SCREEN_SAVER), " Screen Saver");
}

TEST(SaverNames, OnlyLettersAToZAreFolded) {
  // 0xC1 and 0xE1 are an upper- and lower-case letter of the Western code
  // page; "S\xC1VER" must not pass for "saver".
  EXPECT_FALSE(namesASaver("S\xC1VER"));
  EXPECT_FALSE(namesASaver("s\xE1ver"));
  EXPECT_TRUE(namesASaver("xSaVeRx"));
  // The rule's own words pass through untouched.
  EXPECT_EQ(InstallerTitleFor("Meer", "Installieren", "Bildschirmschoner"),
            "Installieren Bildschirmschoner: Meer");
}

TEST(OlderCopy, ProgramAndFolderInTheGivenFolder) {
  EXPECT_EQ(olderCopyProgram("C:\\windows\\", "Ocea1234"), "C:\\windows\\Ocea1234.scr");
  EXPECT_EQ(olderCopyFolder("C:\\data\\Lumavane\\", "Ocean"), "C:\\data\\Lumavane\\Ocean\\");
}

TEST(UninstallEntry, KeyAndCommand) {
  EXPECT_EQ(uninstallKeyPath("Ocean Saver"),
            "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Ocean Saver");
  EXPECT_EQ(uninstallCommand("C:\\windows\\system32\\", "Ocea1234"),
            "C:\\windows\\system32\\Ocea1234.scr /u");
}

TEST(UninstallEntry, OnlyPlainNamesMakeAKey) {
  EXPECT_TRUE(isPlainKeyName("Ocean Saver"));
  EXPECT_FALSE(isPlainKeyName(""));
  EXPECT_FALSE(isPlainKeyName("..\\Run"));
  EXPECT_FALSE(isPlainKeyName("Ocean\\"));
}

TEST(Members, MovieCopySource) {
  EXPECT_EQ(movieCopySource(1, "main.swf", "W:\\work\\", "S:\\saver\\"), "W:\\work\\installer.swf");
  EXPECT_EQ(movieCopySource(2, "main.swf", "W:\\work\\", "S:\\saver\\"), "S:\\saver\\main.swf");
  EXPECT_EQ(movieCopySource(7, "sub\\m.swf", "W:\\work\\", "S:\\saver\\"), "S:\\saver\\sub\\m.swf");
}

}  // namespace
