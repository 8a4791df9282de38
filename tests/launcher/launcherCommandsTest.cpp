#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "common/statusCodes.h"
#include "launcher/launcherCommands.h"
#include "package/installNames.h"
#include "package/packageFormat.h"

TEST(CommandText, StopsAtTheFirstNulInsideTheData) {
  const char sent[] = "makeActiveSaver-aquarium.scr\0\0";
  EXPECT_EQ(commandTextFromCopyData(sent, sizeof sent), "makeActiveSaver-aquarium.scr");
}

TEST(CommandText, NeverReadsPastTheDataSize) {
  // Exactly sized heap block without a NUL: ASan reports any read beyond it.
  const char letters[] = {'C', 'l', 'o', 's', 'e'};
  std::unique_ptr<char[]> block(new char[sizeof letters]);
  std::memcpy(block.get(), letters, sizeof letters);
  EXPECT_EQ(commandTextFromCopyData(block.get(), sizeof letters), "Close");
  EXPECT_EQ(commandTextFromCopyData(block.get(), 3), "Clo");
  EXPECT_EQ(commandTextFromCopyData(block.get(), 0), "");
}

TEST(CommandText, NoDataGivesTheEmptyText) {
  EXPECT_EQ(commandTextFromCopyData(nullptr, 0), "");
  EXPECT_EQ(commandTextFromCopyData(nullptr, 100), "");
}

TEST(CommandDispatch, MakeActiveSaverMatchesAnywhereInTheText) {
  EXPECT_EQ(classifyCommand("makeActiveSaver-a.scr"), LauncherCommand::MakeActiveSaver);
  EXPECT_EQ(classifyCommand("xmakeActiveSaver-a.scr"), LauncherCommand::MakeActiveSaver);
  EXPECT_EQ(classifyCommand("makeActiveSaver"), LauncherCommand::MakeActiveSaver);
  EXPECT_EQ(classifyCommand("Close makeActiveSaver"), LauncherCommand::MakeActiveSaver);
  EXPECT_EQ(classifyCommand("MakeActiveSaver-a.scr"), LauncherCommand::None);
}

TEST(CommandDispatch, OtherCommandsMatchTheWholeTextInItsCase) {
  EXPECT_EQ(classifyCommand("openScreenSaverControlPanel"), LauncherCommand::OpenControlPanel);
  EXPECT_EQ(classifyCommand("Close"), LauncherCommand::Close);
  EXPECT_EQ(classifyCommand("openScreenSaverControlPanel "), LauncherCommand::None);
  EXPECT_EQ(classifyCommand("openscreensavercontrolpanel"), LauncherCommand::None);
  EXPECT_EQ(classifyCommand("close"), LauncherCommand::None);
  EXPECT_EQ(classifyCommand("Close "), LauncherCommand::None);
  EXPECT_EQ(classifyCommand("read installer heard file"), LauncherCommand::None);
  EXPECT_EQ(classifyCommand("quiet installer"), LauncherCommand::None);
  EXPECT_EQ(classifyCommand(""), LauncherCommand::None);
}

TEST(SaverFileName, IsTheTextFromItsSeventeenthCharacter) {
  EXPECT_EQ(saverFileNameFromCommand("makeActiveSaver-My Saver.scr"), "My Saver.scr");
  EXPECT_EQ(saverFileNameFromCommand("xmakeActiveSaver-a.scr"), "-a.scr");
  EXPECT_EQ(saverFileNameFromCommand("makeActiveSaver-"), "");
  EXPECT_EQ(saverFileNameFromCommand("makeActiveSaver"), "");
}

// The saver program a package carries (entry 6) is the name the installer
// later sends with "makeActiveSaver-": both ends must take the same names.
TEST(SaverFileName, PackageAndLauncherAcceptTheSameNames) {
  const struct {
    const char *name;
    bool accepted;
  } names[] = {
      {"aquarium.scr", true},   {"My Big Saver.scr", true}, {"-a.scr", true},
      {"a..scr", true},         {"CON.scr", false},         {"com1.scr", false},
      {"nul", false},           {"", false},                {".", false},
      {"..", false},            {". .", false},             {"..\\evil.scr", false},
      {"sub\\a.scr", false},    {"sub/a.scr", false},       {"C:evil.scr", false},
      {"\\\\server\\share\\a.scr", false},
  };
  const InstallFolders folders{"W\\", "S\\", "C\\", "Y\\"};
  for (const auto &row : names) {
    const int32_t expected = row.accepted ? STATUS_OK : STATUS_UNSAFE_NAME;
    PackageEntry saverProgram = {};
    setEntryName(saverProgram, row.name);
    saverProgram.destKind = DEST_SYSTEM_FOLDER;
    std::string destination;
    EXPECT_EQ(entryTarget(saverProgram, folders, destination), expected) << "package: " << row.name;
    std::string fileName;
    EXPECT_EQ(activeSaverFileName(std::string("makeActiveSaver-") + row.name, fileName), expected)
        << "launcher: " << row.name;
  }
}
