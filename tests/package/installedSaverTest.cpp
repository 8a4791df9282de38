// The rules by which the uninstaller, the sample's "/u" and the installer's
// clean-up recognise what belongs to an installed saver.
#include "package/installedSaver.h"

#include <gtest/gtest.h>

namespace {

TEST(UninstallerArguments, OnlyAPlainCodedNameQuietAndTheElevatedCopyAreTaken) {
  struct Case {
    const char *line;
    bool valid, quiet;
    const char *codedName;
    bool restarted = false;
  };
  const Case cases[] = {
      {"/n=\"Tide\"", true, false, "Tide"},
      {"/n=Tide /Q", true, true, "Tide"},
      {"  /q   /N=\"long lower case name\" ", true, true, "long lower case name"},
      {"/n=\"Ocea3677\" /q", true, true, "Ocea3677"},
      {"", false, false, ""},
      {"/q", false, true, ""},
      {"/n=", false, false, ""},
      {"/n=..\\Windows", false, false, "..\\Windows"},
      {"/n=C:", false, false, "C:"},
      {"/n=Tide /n=Reef", false, false, "Tide"},
      {"/n=Tide /s", false, false, "Tide"},
      {"/n=\"Tide\" /q /Elevated", true, true, "Tide", true},
      {"/n=Tide /elevatedx", false, false, "Tide"},
  };
  for (const Case &each : cases) {
    const UninstallerArguments arguments = parseUninstallerArguments(each.line);
    EXPECT_EQ(arguments.valid, each.valid) << each.line;
    EXPECT_EQ(arguments.quiet, each.quiet) << each.line;
    EXPECT_EQ(arguments.codedName, each.codedName) << each.line;
    EXPECT_EQ(arguments.restarted, each.restarted) << each.line;
  }
}

TEST(UninstallCommand, TheSaversOwnAndTheCarriedOneAreItsAndNoOther) {
  const std::string system = "C:\\windows\\system32\\", shared = "C:\\ProgramData\\Lumavane\\";
  const std::string carried = uninstallerCommand(saverFolderOf(shared, "Tide"), "Tide");
  EXPECT_EQ(carried, "\"C:\\ProgramData\\Lumavane\\Tide\\saverremove.exe\" /n=\"Tide\"");
  EXPECT_EQ(parseUninstallerArguments(carried.substr(carried.find(' ') + 1)).codedName, "Tide");
  EXPECT_TRUE(isUninstallCommandOf(carried, system, shared, "Tide"));
  EXPECT_TRUE(isUninstallCommandOf("c:\\WINDOWS\\system32\\tide.SCR /U", system, shared, "Tide"));
  for (const std::string &other : {uninstallerCommand(saverFolderOf(shared, "Tide2"), "Tide2"),
                                   uninstallerCommand(saverFolderOf(shared, "Tide"), "Reef"),
                                   carried + " /q", std::string("C:\\other.exe /u"), std::string()})
    EXPECT_FALSE(isUninstallCommandOf(other, system, shared, "Tide")) << other;
  EXPECT_FALSE(fitsUninstallerCommand("Ti\"de"));
}

TEST(SharedLibrary, OnlyPlainLibrariesOfTheSharedFolderCount) {
  const std::string shared = "C:\\ProgramData\\Lumavane\\";
  EXPECT_TRUE(isSharedLibraryPath(shared + "tidefx.dll", shared));
  EXPECT_TRUE(isSharedLibraryPath("c:\\programdata\\lumavane\\TIDEFX.DLL", shared));
  for (const std::string &path :
       {shared + "Tide\\tidefx.dll", shared + "..\\kernel32.dll", shared + "notes.txt", shared + ".dll",
        std::string("C:\\windows\\system32\\tidefx.dll"), shared + "nul.dll"})
    EXPECT_FALSE(isSharedLibraryPath(path, shared)) << path;
  EXPECT_FALSE(isSharedLibraryPath("tidefx.dll", ""));
}

TEST(SharedLibrary, ListsRoundTripAndCountsRise) {
  const std::vector<std::string> names = {"C:\\a.dll", "C:\\b.dll"};
  EXPECT_EQ(splitNameList(joinedNameList(names)), names);
  EXPECT_EQ(splitNameList(std::string("x\0\0y\0", 5)), (std::vector<std::string>{"x", "y"}));
  EXPECT_TRUE(splitNameList(joinedNameList({})).empty());
  EXPECT_EQ(raisedUserCount(0, false, false), 1u);
  EXPECT_EQ(raisedUserCount(0, false, true), 2u);  // a user nobody counted
  EXPECT_EQ(raisedUserCount(3, true, true), 4u);
  EXPECT_EQ(raisedUserCount(UINT32_MAX, true, true), UINT32_MAX);
  EXPECT_EQ(estimatedSizeInKiB(0), 0u);
  EXPECT_EQ(estimatedSizeInKiB(1), 1u);
  EXPECT_EQ(estimatedSizeInKiB(2048), 2u);
  EXPECT_EQ(estimatedSizeInKiB(UINT64_MAX), UINT32_MAX);
}

}  // namespace
