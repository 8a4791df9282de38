// An older copy of the saver in the Windows folder or the shared folder, the
// overwrite question through the real dialog, and the saver folder creation.
#include "common/QRX_FileUtils.h"
#include "installer/stringTable.h"
#include "common/dialogs/messageDialog.h"
#include "installer/filePlacement.h"
#include "installer/installObservers.h"
#include "common/statusCodes.h"
#include "installer/placementRules.h"
#include "placementFixtures.h"

#include <gtest/gtest.h>

namespace {

using namespace placement_test;

const char SAVER_NAME[] = "Ocean";
const char QUESTION_TEXT[] = "Ocean screen saver already exists. Overwrite?";

// Asks the question in its box, as the main window does.
class AskingObserver : public QuietObserver {
 public:
  bool ask(Question, const std::string &text) override { return askOkCancel(text); }
};

class OlderCopy : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(initSystemPathsForTest(), 0);
    ASSERT_FALSE(pathWindows.empty());
    // Unique per test, as the Windows folder is the prefix's real one.
    codedName = "plc" + std::to_string(GetCurrentProcessId() % 100000);
    shared = scratch.path() + "Lumavane\\";
  }

  void TearDown() override {
    deleteFileForced(olderCopyProgram(pathWindows, codedName));
    deleteFolderTree(olderCopyFolder(pathWindows, codedName));
  }

  // A program file and a folder with a file, as an earlier install left them.
  void plantCopy(const std::string &folder) {
    CreateDirectoryA(folder.c_str(), nullptr);
    ASSERT_TRUE(writeWholeFile(olderCopyProgram(folder, codedName), "old program"));
    ASSERT_TRUE(CreateDirectoryA(olderCopyFolder(folder, codedName).c_str(), nullptr));
    ASSERT_TRUE(writeWholeFile(olderCopyFolder(folder, codedName) + "saver.dat", "old settings"));
  }

  bool copyIntact(const std::string &folder) {
    return readWholeFile(olderCopyProgram(folder, codedName)) == "old program" &&
           readWholeFile(olderCopyFolder(folder, codedName) + "saver.dat") == "old settings";
  }

  // The main window asks the overwrite question; quiet mode answers it.
  int32_t prepare(bool ask) {
    AskingObserver asking;
    QuietObserver quiet;
    return PrepareSaverFolder(shared, codedName, SAVER_NAME,
                              ask ? static_cast<InstallObserver &>(asking) : quiet);
  }

  QuietObserver quiet;
  ScratchFolder scratch{"placementOlderCopy"};
  std::string codedName;
  std::string shared;
};

TEST_F(OlderCopy, CopyOnlyInWindowsFolderIsAskedAboutAndRemoved) {
  plantCopy(pathWindows);
  driver::DialogAnswerer answerer("OK");
  EXPECT_EQ(prepare(true), 0);
  const std::vector<driver::ShownDialog> shown = answerer.take();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].caption, "Confirm");

  EXPECT_TRUE(shown[0].answered);
  EXPECT_EQ(shown[0].text, QUESTION_TEXT);
  EXPECT_EQ(shown[0].buttons, (std::vector<std::string>{"OK", "Cancel"}));
  EXPECT_FALSE(fileExists(olderCopyProgram(pathWindows, codedName)));
  EXPECT_FALSE(folderExists(olderCopyFolder(pathWindows, codedName)));
  EXPECT_TRUE(folderExists(shared + codedName + "\\"));
  EXPECT_FALSE(fileExists(shared + codedName + "\\saver.dat"));
}

TEST_F(OlderCopy, CancelLeavesBothCopiesAndReturnsUserAbort) {
  plantCopy(pathWindows);
  plantCopy(shared);
  driver::DialogAnswerer answerer("Cancel");
  EXPECT_EQ(prepare(true), STATUS_USER_ABORT);
  const std::vector<driver::ShownDialog> shown = answerer.take();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].caption, "Confirm");

  EXPECT_TRUE(shown[0].answered);
  EXPECT_TRUE(copyIntact(pathWindows));
  EXPECT_TRUE(copyIntact(shared));
}

TEST_F(OlderCopy, CancelCreatesNoFolder) {
  plantCopy(pathWindows);
  driver::DialogAnswerer answerer("Cancel");
  EXPECT_EQ(prepare(true), STATUS_USER_ABORT);
  const std::vector<driver::ShownDialog> shown = answerer.take();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].caption, "Confirm");
  EXPECT_FALSE(folderExists(shared));
}

TEST_F(OlderCopy, QuietModeRemovesWithoutAsking) {
  plantCopy(pathWindows);
  plantCopy(shared);
  driver::DialogAnswerer watcher("Cancel");
  EXPECT_EQ(prepare(false), 0);
  const bool asked = !watcher.take().empty();

  EXPECT_FALSE(asked) << "quiet mode must not ask";
  EXPECT_FALSE(fileExists(olderCopyProgram(pathWindows, codedName)));
  EXPECT_FALSE(folderExists(olderCopyFolder(pathWindows, codedName)));
  EXPECT_FALSE(fileExists(olderCopyProgram(shared, codedName)));
  EXPECT_FALSE(fileExists(shared + codedName + "\\saver.dat"));
  EXPECT_TRUE(folderExists(shared + codedName + "\\"));
}

TEST_F(OlderCopy, ProgramFileAloneCountsAsCopy) {
  CreateDirectoryA(shared.c_str(), nullptr);
  ASSERT_TRUE(writeWholeFile(olderCopyProgram(shared, codedName), "old program"));
  driver::DialogAnswerer answerer("OK");
  EXPECT_EQ(prepare(true), 0);
  const std::vector<driver::ShownDialog> shown = answerer.take();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].caption, "Confirm");
  EXPECT_TRUE(shown[0].answered);
  EXPECT_FALSE(fileExists(olderCopyProgram(shared, codedName)));
}

TEST_F(OlderCopy, SystemFolderOfTheSameNameIsNoCopy) {
  // A Windows folder such as "Media" is the system's unless it holds saver.dat.
  const std::string systemFolder = olderCopyFolder(pathWindows, codedName);
  ASSERT_TRUE(CreateDirectoryA(systemFolder.c_str(), nullptr));
  ASSERT_TRUE(writeWholeFile(systemFolder + "chimes.wav", "system sound"));
  driver::DialogAnswerer watcher("OK");
  EXPECT_EQ(prepare(true), 0);
  const bool asked = !watcher.take().empty();
  EXPECT_FALSE(asked);
  EXPECT_EQ(readWholeFile(systemFolder + "chimes.wav"), "system sound");
}

TEST_F(OlderCopy, WithoutCopyBothFolderLevelsAreCreatedSilently) {
  driver::DialogAnswerer watcher("Cancel");
  EXPECT_EQ(prepare(true), 0);
  const bool asked = !watcher.take().empty();
  EXPECT_FALSE(asked);
  EXPECT_TRUE(folderExists(shared + codedName + "\\"));
  // A second run finds the folders in place and still succeeds.
  EXPECT_EQ(PrepareSaverFolder(shared, "other", SAVER_NAME, quiet), 0);
}

TEST_F(OlderCopy, FolderCreationFailureGivesSystemCode) {
  shared = scratch.path() + "missing\\Lumavane\\";
  EXPECT_EQ(prepare(false), int32_t(ERROR_PATH_NOT_FOUND));
}

TEST_F(OlderCopy, NameThatIsNoPlainFolderNameTouchesNothing) {
  plantCopy(shared);
  for (const std::string &name : {std::string(), std::string(".."), std::string("a\\b")})
    EXPECT_EQ(PrepareSaverFolder(shared, name, SAVER_NAME, quiet), STATUS_UNSAFE_NAME) << name;
  EXPECT_TRUE(copyIntact(shared));
}

}  // namespace
