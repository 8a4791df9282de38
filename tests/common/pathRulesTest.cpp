#include "common/pathRules.h"

#include <gtest/gtest.h>

#include "common/statusCodes.h"

namespace {

TEST(PathRules, FolderValuesEndInOneBackslash) {
  EXPECT_EQ(withTrailingBackslash("C:\\WINDOWS"), "C:\\WINDOWS\\");
  EXPECT_EQ(withTrailingBackslash("C:\\"), "C:\\");
  EXPECT_EQ(sysnativeFolderOf("C:\\WINDOWS"), "C:\\WINDOWS\\Sysnative\\");
  EXPECT_EQ(sysnativeFolderOf("C:\\WINDOWS\\"), "C:\\WINDOWS\\Sysnative\\");
}

TEST(PathRules, EmptySystemValueIsAnErrorNotARootPath) {
  std::string folder = "unchanged";
  EXPECT_EQ(folderFromSystemValue("", SYSTEM_ERROR_ENVVAR_NOT_FOUND, folder),
            SYSTEM_ERROR_ENVVAR_NOT_FOUND);
  EXPECT_EQ(folder, "unchanged");
  EXPECT_EQ(folderFromSystemValue("D:\\Data", SYSTEM_ERROR_PATH_NOT_FOUND, folder), STATUS_OK);
  EXPECT_EQ(folder, "D:\\Data\\");
}

TEST(PathRules, FolderOfFileKeepsItsSeparator) {
  EXPECT_EQ(folderOfFile("C:\\Program Files\\saver\\saverstart.exe"), "C:\\Program Files\\saver\\");
  EXPECT_EQ(folderOfFile("C:saverstart.exe"), "C:");
  EXPECT_EQ(folderOfFile("saverstart.exe"), "");
  EXPECT_EQ(folderOfFile("saver\\pictures/wave.jpg"), "saver\\pictures/");
}

TEST(PathRules, FileNamePartDropsAnyFolder) {
  EXPECT_EQ(fileNamePart("C:\\Downloads\\My Setup.exe"), "My Setup.exe");
  EXPECT_EQ(fileNamePart("D:Setup.exe"), "Setup.exe");
  EXPECT_EQ(fileNamePart("Setup.exe"), "Setup.exe");
  EXPECT_EQ(fileNamePart("C:\\folder\\"), "");
}

TEST(PathRules, ScreenSaverExtensionInAnyCase) {
  for (const char *name : {"C:\\w\\aquarium.scr", "AQUARIUM.SCR", "a.b.Scr"})
    EXPECT_EQ(deletionFailureStatus(name), STATUS_SCREEN_SAVER_BUSY) << name;
  for (const char *name :
       {"C:\\w\\temp.dat", "aquarium.scr.bak", "C:\\x.scr\\readme", "aquarium.scrx", "scr", ""})
    EXPECT_EQ(deletionFailureStatus(name), STATUS_FILE_BUSY) << name;
}

TEST(PathRules, OnlyAFullPathNamesOnePlace) {
  for (const char *path : {"C:\\w\\impborl.dll", "c:/w/", "\\\\server\\share\\x.dll"})
    EXPECT_TRUE(isFullPath(path)) << path;
  for (const char *path :
       {"", "impborl.dll", "w\\impborl.dll", ".\\x.dll", "C:impborl.dll", "\\w\\x.dll", "C:", "\\\\\\x"})
    EXPECT_FALSE(isFullPath(path)) << path;
}

TEST(PathRules, DotEntriesLeadBackToTheFolder) {
  const std::string folder = "C:\\work\\QRP1\\";
  EXPECT_EQ(subfolderEntryPath(folder, "."), folder);
  EXPECT_EQ(subfolderEntryPath(folder, ".."), folder);
  EXPECT_EQ(subfolderEntryPath(folder, "movie files"), folder + "movie files\\");
  EXPECT_EQ(subfolderEntryPath(folder, ".hidden"), folder + ".hidden\\");
}

}  // namespace
