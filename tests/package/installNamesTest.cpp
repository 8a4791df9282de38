#include "package/installNames.h"

#include "common/pathRules.h"

#include <gtest/gtest.h>

namespace {

TEST(CodedShortName, LongNamesWithUpperCaseAreCoded) {
  EXPECT_EQ("My B4321", codedShortNameFor("My Big Screensaver", "my big screensaver", 987654321));
  EXPECT_EQ("Aqua0007", codedShortNameFor("Aquariums", "aquariums", 10007));
  EXPECT_EQ("Aquarium", codedShortNameFor("Aquarium", "aquarium", 10007));  // 8 characters
  EXPECT_EQ("aquarium", codedShortNameFor("aquarium", "aquarium", 10007));
  EXPECT_EQ("long lower case name",
            codedShortNameFor("long lower case name", "long lower case name", 10007));
}

TEST(CodedShortName, ShortChecksumsGiveAllTheirDigits) {
  EXPECT_EQ("Aqua42", codedShortNameFor("Aquariums", "aquariums", 42));
  EXPECT_EQ("Aqua0", codedShortNameFor("Aquariums", "aquariums", 0));
}

TEST(EntryDestination, EveryKindHasItsFolder) {
  const InstallFolders folders{"W\\", "S\\Coded\\", "S\\", "Sys\\"};
  for (int kind : {1, 5, 6, 10}) EXPECT_EQ("S\\Coded\\a.txt", entryDestination(kind, "a.txt", folders));
  EXPECT_EQ("Sys\\my.scr", entryDestination(2, "my.scr", folders));
  EXPECT_EQ("S\\saver1.dll", entryDestination(3, "saver1.dat", folders));
  EXPECT_EQ("S\\plain.dll", entryDestination(3, "plain", folders));
  EXPECT_EQ("W\\install_flash_player_active_x.exe",
            entryDestination(3, "install_flash_player_active_x.exe", folders));
  EXPECT_EQ("S\\Install_flash_player_active_x.dll",
            entryDestination(3, "Install_flash_player_active_x.exe", folders));
  EXPECT_EQ("W\\impborl.dll", entryDestination(4, "impborl.dat", folders));
  EXPECT_EQ("W\\IMPBORL.DAT", entryDestination(4, "IMPBORL.DAT", folders));
  EXPECT_EQ("W\\installer.swf", entryDestination(7, "installer.swf", folders));
  for (int kind : {0, 8, 9, 11, -1}) EXPECT_EQ("", entryDestination(kind, "a.txt", folders));
}

TEST(Extensions, DllTestAndReplacement) {
  EXPECT_TRUE(hasDllExtension("C:\\x\\impborl.dll"));
  EXPECT_FALSE(hasDllExtension("C:\\x\\impborl.DLL"));
  EXPECT_FALSE(hasDllExtension("C:\\x.dll\\file"));
  EXPECT_EQ("splash.BMP", splashNameFor("splash.gif", 1));
  EXPECT_EQ("splash.jpg", splashNameFor("splash", 8));
  EXPECT_EQ("a.b.jpg", splashNameFor("a.b.jpeg", 8));
  EXPECT_EQ("movie.swf", splashNameFor("movie.swf", 2));
}

TEST(NameSafety, EntryNamesAreBareFileNames) {
  // Names are in the Windows code page: B9, B2, B3 are the superscripts one to three, BC a fraction.
  for (const char *good :
       {"a.scr", "impborl.dat", "x..y", ".hidden", "console.txt", "com10", "lpt", "COM\xBC", "lpt\xB9\xB2"})
    EXPECT_TRUE(isSafeEntryName(good)) << good;
  for (const char *bad : {"", ".", "..", "...", ". .", "a\\b", "a/b", "C:x", "..\\evil.dll", "CON",
                          "nul.txt", "Com1", "lpt9.log", "aux .x"})
    EXPECT_FALSE(isSafeEntryName(bad)) << bad;
  for (const char *bad : {"COM\xB9", "com\xB2.txt", "Com\xB3 .log", "LPT\xB9", "lpt\xB2.log", "LPT\xB3"})
    EXPECT_FALSE(isSafeEntryName(bad)) << bad;
}

TEST(NameSafety, MemberPathsStayInsideTheSaverFolder) {
  for (const char *good : {"main.swf", "pics\\a.jpg", "a/b/c.txt", ".\\a", "x..y\\z"})
    EXPECT_TRUE(isSafeMemberPath(good)) << good;
  for (const char *bad : {"", "\\windows\\a", "/etc/a", "C:\\a", "c:a", "..\\a", "a\\..\\..\\b", "a\\..",
                          "a/../b", "a\\...\\b", "\\\\server\\share\\a", "a:stream", "pics\\con\\a.jpg",
                          "pics\\prn.jpg", "pics\\lpt\xB9\\a.jpg"})
    EXPECT_FALSE(isSafeMemberPath(bad)) << bad;
}

}  // namespace
