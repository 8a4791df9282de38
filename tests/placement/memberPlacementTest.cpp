// Data-file members, movie copies, "saver.dat", the licence and the ReadMe,
// placed into a saver folder of a scratch tree.
#include "common/QRX_FileUtils.h"
#include "package/dataFunctions_shared.h"
#include "installer/failureReport.h"
#include "installer/filePlacement.h"
#include "package/packageFormat.h"
#include "common/statusCodes.h"
#include "package/saverDataFile.h"
#include "placementFixtures.h"

#include <gtest/gtest.h>

namespace {

using namespace placement_test;

std::vector<std::string> shownStatus;
int progressSteps = 0;

void recordStatus(const std::string &text) { shownStatus.push_back(text); }
void recordStep() { ++progressSteps; }

class Members : public ::testing::Test {
 protected:
  void SetUp() override {
    pathWorkFolder = scratch.path() + "work\\";
    pathSaverFolder = scratch.path() + "saver\\";
    pathDataFile = pathWorkFolder + "ocean.dat";
    ASSERT_TRUE(CreateDirectoryA(pathWorkFolder.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(pathSaverFolder.c_str(), nullptr));
    installerHeader = InstallerHeader();
    shownStatus.clear();
    progressSteps = 0;
    setExtractionProgress({recordStatus, recordStep});
  }

  void TearDown() override { setExtractionProgress({nullptr, nullptr}); }

  void writeDataFile(const std::vector<TestMember> &members, int32_t firstMemberType = 0) {
    ASSERT_TRUE(writeWholeFile(pathDataFile, buildDataFile(members, firstMemberType)));
  }

  // The work folder's data file can go, so it is no longer held open.
  bool dataFileReleased() { return DeleteFileA(pathDataFile.c_str()) != 0; }

  ScratchFolder scratch{"placementMembers"};
};

TEST_F(Members, StoredMembersLandInNewFoldersWithOneProgressStep) {
  writeDataFile({{0, "movie.swf", "main movie"},
                 {0, "pictures\\sea\\wave.jpg", "a wave"},
                 {0, "", "no path, skipped"},
                 {1, "empty.txt", ""}});
  EXPECT_EQ(ExpandAllMembers(), 0);

  EXPECT_EQ(readWholeFile(pathSaverFolder + "movie.swf"), "main movie");
  EXPECT_EQ(readWholeFile(pathSaverFolder + "pictures\\sea\\wave.jpg"), "a wave");
  EXPECT_FALSE(fileExists(pathSaverFolder + "empty.txt")) << "expanded size 0 writes nothing";
  EXPECT_EQ(shownStatus, std::vector<std::string>{"Expanding files..."});
  EXPECT_EQ(progressSteps, 1);
  EXPECT_TRUE(dataFileReleased());
}

TEST_F(Members, MovieCopiesComeFromInstallerMovieAndMemberOne) {
  ASSERT_TRUE(writeWholeFile(pathWorkFolder + "installer.swf", "installer movie"));
  // Member 1 is stored, but the settings make it a copy of the installer movie.
  writeDataFile({{0, "main.swf", "stored bytes"},
                 {3, "copies\\second.swf", ""},
                 {0, "notes.txt", "notes"}},
                3);
  EXPECT_EQ(ExpandAllMembers(), 0);

  EXPECT_EQ(readWholeFile(pathSaverFolder + "main.swf"), "installer movie");
  EXPECT_EQ(readWholeFile(pathSaverFolder + "copies\\second.swf"), "installer movie");
  EXPECT_EQ(readWholeFile(pathSaverFolder + "notes.txt"), "notes");
  EXPECT_TRUE(fileExists(pathWorkFolder + "installer.swf")) << "the source stays";
}

TEST_F(Members, MissingInstallerMovieIsReportedAndStops) {
  writeDataFile({{3, "main.swf", ""}, {0, "after.txt", "not reached"}});
  driver::DialogAnswerer answerer("Abort");
  EXPECT_EQ(ExpandAllMembers(), STATUS_MOVIE_COPY_FAILED);
  const std::vector<driver::ShownDialog> shown = answerer.take();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].caption, "Error");

  EXPECT_TRUE(shown[0].answered);
  const std::string source = pathWorkFolder + "installer.swf";
  EXPECT_NE(shown[0].text.find(source), std::string::npos) << "names the missing movie: " << shown[0].text;
  EXPECT_EQ(shown[0].buttons, std::vector<std::string>{"&Abort"});
  EXPECT_FALSE(fileExists(pathSaverFolder + "after.txt"));
  EXPECT_EQ(progressSteps, 0);
  EXPECT_TRUE(dataFileReleased()) << "a failed run must close the data file too";
}

TEST_F(Members, MovieCopyWithoutMemberOnePathIsAMissingSource) {
  // Member 1 has no path and is skipped; the later copy has no file to copy.
  writeDataFile({{0, "", "skipped"}, {3, "copy.swf", ""}});
  driver::DialogAnswerer answerer("Abort");
  EXPECT_EQ(ExpandAllMembers(), STATUS_MOVIE_COPY_FAILED);
  const std::vector<driver::ShownDialog> shown = answerer.take();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].caption, "Error");

  EXPECT_NE(shown[0].text.find(pathSaverFolder), std::string::npos) << shown[0].text;
  EXPECT_FALSE(fileExists(pathSaverFolder + "copy.swf"));
}

TEST_F(Members, CopyOfMemberOneOntoItselfIsNoFailure) {
  ASSERT_TRUE(writeWholeFile(pathWorkFolder + "installer.swf", "installer movie"));
  // Copying a file onto itself fails; the member is in place all the same.
  writeDataFile({{3, "main.swf", ""}, {3, "main.swf", ""}});
  EXPECT_EQ(ExpandAllMembers(), 0);
  EXPECT_EQ(readWholeFile(pathSaverFolder + "main.swf"), "installer movie");
}

TEST_F(Members, MovieCopyOutsideSaverFolderIsRefused) {
  ASSERT_TRUE(writeWholeFile(pathWorkFolder + "installer.swf", "installer movie"));
  writeDataFile({{3, "main.swf", ""}, {3, "..\\escaped.swf", ""}});
  driver::DialogAnswerer answerer("Abort");
  EXPECT_EQ(ExpandAllMembers(), STATUS_UNSAFE_NAME);
  const std::vector<driver::ShownDialog> shown = answerer.take();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].caption, "Error");
  EXPECT_TRUE(shown[0].answered);
  EXPECT_FALSE(fileExists(scratch.path() + "escaped.swf"));
}

TEST_F(Members, PathWithoutItsEndIsRefusedNotSkipped) {
  std::string file = buildDataFile({{0, "first.txt", "first"}, {0, "x", "lost"}, {0, "after.txt", "later"}}, 0);
  const size_t secondPath = sizeof(SaverSettings) + sizeof(DataMemberRecord) + offsetof(DataMemberRecord, path);
  file.replace(secondPath, MEMBER_PATH_FIELD, std::string(MEMBER_PATH_FIELD, 'a'));
  ASSERT_TRUE(writeWholeFile(pathDataFile, file));
  driver::DialogAnswerer answerer("Abort");
  EXPECT_EQ(ExpandAllMembers(), STATUS_UNSAFE_NAME);
  const std::vector<driver::ShownDialog> shown = answerer.take();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].caption, "Error");
  EXPECT_TRUE(shown[0].answered);
  EXPECT_NE(shown[0].text.find(std::string(MEMBER_PATH_FIELD, 'a')), std::string::npos) << shown[0].text;
  EXPECT_FALSE(fileExists(pathSaverFolder + "after.txt"));
  EXPECT_TRUE(dataFileReleased());
}

TEST_F(Members, MissingDataFileEndsWithItsStatus) {
  driver::DialogAnswerer answerer("Abort");
  EXPECT_EQ(ExpandAllMembers(), int32_t(ERROR_FILE_NOT_FOUND));
  const std::vector<driver::ShownDialog> shown = answerer.take();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].caption, "Error");
  EXPECT_TRUE(shown[0].answered);
  EXPECT_EQ(progressSteps, 0);
}

TEST_F(Members, SaverDatEqualsSettingsRecord) {
  writeDataFile({{0, "movie.swf", "main movie"}});
  const std::string dataFile = readWholeFile(pathDataFile);
  ASSERT_EQ(runTelling(ReadSaverSettings), 0);
  shownStatus.clear();
  EXPECT_EQ(WriteSaverSettings(), 0);

  EXPECT_EQ(readWholeFile(pathSaverFolder + "saver.dat"), dataFile.substr(0, sizeof(SaverSettings)));
  EXPECT_EQ(shownStatus, std::vector<std::string>{"Writing saver data file..."});
}

TEST_F(Members, SaverDatFailureIsReported) {
  pathSaverFolder = scratch.path() + "gone\\";
  driver::DialogAnswerer answerer("Abort");
  EXPECT_EQ(WriteSaverSettings(), int32_t(ERROR_PATH_NOT_FOUND));
  const std::vector<driver::ShownDialog> shown = answerer.take();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].caption, "Error");
  EXPECT_TRUE(shown[0].answered);
  EXPECT_NE(shown[0].text.find(pathSaverFolder + "saver.dat"), std::string::npos) << shown[0].text;
}

class Documents : public Members {
 protected:
  void carry(int entry, const std::string &name, bool present) {
    setEntryName(installerHeader.entries[entry], name);
    if (present) {
      ASSERT_TRUE(writeWholeFile(pathWorkFolder + name, name + " text"));
    }
  }
};

TEST_F(Documents, LicenceAndReadMeAreCopied) {
  installerHeader.showLicense = 1;
  installerHeader.carriesReadMe = 1;
  carry(ENTRY_LICENSE, "license.rtf", true);
  carry(ENTRY_README, "readme.txt", true);
  EXPECT_EQ(CopyDocsToSaverFolder(), 0);
  EXPECT_EQ(readWholeFile(pathSaverFolder + "license.rtf"), "license.rtf text");
  EXPECT_EQ(readWholeFile(pathSaverFolder + "readme.txt"), "readme.txt text");
}

TEST_F(Documents, OnlyFlaggedDocumentsAreCopied) {
  carry(ENTRY_LICENSE, "license.rtf", true);
  carry(ENTRY_README, "readme.txt", true);
  EXPECT_EQ(CopyDocsToSaverFolder(), 0);
  EXPECT_FALSE(fileExists(pathSaverFolder + "license.rtf"));
  EXPECT_FALSE(fileExists(pathSaverFolder + "readme.txt"));
}

TEST_F(Documents, MissingSourceGivesMinus16AndTheOtherIsStillCopied) {
  installerHeader.showLicense = 1;
  installerHeader.carriesReadMe = 1;
  carry(ENTRY_LICENSE, "license.rtf", false);
  carry(ENTRY_README, "readme.txt", true);
  EXPECT_EQ(CopyDocsToSaverFolder(), STATUS_EXPANDED_FILE_MISSING);
  EXPECT_EQ(readWholeFile(pathSaverFolder + "readme.txt"), "readme.txt text");
}

TEST_F(Documents, NameWithFolderIsRefused) {
  installerHeader.showLicense = 1;
  ASSERT_TRUE(writeWholeFile(scratch.path() + "outside.txt", "not the licence"));
  setEntryName(installerHeader.entries[ENTRY_LICENSE], "..\\outside.txt");
  EXPECT_EQ(CopyDocsToSaverFolder(), STATUS_UNSAFE_NAME);
}

TEST_F(Documents, FailedCopyGivesSystemCode) {
  installerHeader.carriesReadMe = 1;
  carry(ENTRY_README, "readme.txt", true);
  // The target name is taken by a folder.
  ASSERT_TRUE(CreateDirectoryA((pathSaverFolder + "readme.txt").c_str(), nullptr));
  EXPECT_GT(CopyDocsToSaverFolder(), 0);
}

TEST_F(Documents, ReadMeIsOpenedWithTheShellsDefaultAction) {
  // A command script's default action runs it, which leaves a trace.
  installerHeader.carriesReadMe = 1;
  setEntryName(installerHeader.entries[ENTRY_README], "readme.cmd");
  const std::string trace = pathSaverFolder + "opened.txt";
  ASSERT_TRUE(writeWholeFile(pathSaverFolder + "readme.cmd", "echo opened> \"" + trace + "\"\r\n"));
  OpenReadMe(nullptr);
  for (int wait = 0; wait < 200 && !fileExists(trace); ++wait) Sleep(100);
  EXPECT_TRUE(fileExists(trace));
  Sleep(500);  // the script's process lets go of the folder
}

}  // namespace
