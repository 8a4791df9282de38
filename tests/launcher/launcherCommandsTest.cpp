#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "launcher/launcherCommands.h"

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

TEST(SaverFileName, OnlyBareNamesInsideTheSystemFolderAreAccepted) {
  EXPECT_TRUE(isPlainFileName("aquarium.scr"));
  EXPECT_TRUE(isPlainFileName("My Big Saver.scr"));
  EXPECT_TRUE(isPlainFileName("-a.scr"));
  for (const char *unsafe : {"", ".", "..", "..\\evil.scr", "sub\\a.scr", "sub/a.scr",
                             "C:evil.scr", "a..scr", "\\\\server\\share\\a.scr"}) {
    EXPECT_FALSE(isPlainFileName(unsafe)) << unsafe;
  }
}
