// Data-file members, movie copies, "saver.dat", the licence and the ReadMe,
// placed into a saver folder of a scratch tree.
#include "common/QRX_FileUtils.h"
#include "package/installerRun.h"
#include "package/packageExtraction.h"
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
    installerRun.saverFolder = scratch.path() + "saver\\";
    installerRun.dataFile = pathWorkFolder + "ocean.dat";
    ASSERT_TRUE(CreateDirectoryA(pathWorkFolder.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(installerRun.saverFolder.c_str(), nullptr));
    installerRun.header = InstallerHeader();
    shownStatus.clear();
    progressSteps = 0;
    setExtractionProgress({recordStatus, recordStep});
  }

  void TearDown() override { setExtractionProgress({nullptr, nullptr}); }

  static void writeDataFile(const std::vector<TestMember> &members, int32_t firstMemberType = 0) {
    ASSERT_TRUE(writeWholeFile(installerRun.dataFile, buildDataFile(members, firstMemberType)));
  }

  // The work folder's data file can go, so it is no longer held open.
  static bool dataFileReleased() { return DeleteFileA(installerRun.dataFile.c_str()) != 0; }

  ScratchFolder scratch{"placementMembers"};
};

TEST_F(Members, StoredMembersLandInNewFoldersWithOneProgressStep) {
  writeDataFile({{0, "movie.swf", "main movie"},
                 {0, "pictures\\sea\\wave.jpg", "a wave"},
                 {0, "", "no path, skipped"},
                 {1, "empty.txt", ""}});
  EXPECT_EQ(ExpandAllMembers(), 0);

  EXPECT_EQ(readWholeFile(installerRun.saverFolder + "movie.swf"), "main movie");
  EXPECT_EQ(readWholeFile(installerRun.saverFolder + "pictures\\sea\\wave.jpg"), "a wave");
  EXPECT_FALSE(fileExists(installerRun.saverFolder + "empty.txt")) << "expanded size 0 writes nothing";
  EXPECT_EQ(shownStatus, std::vector<std::string>{"Expanding files..."});
  EXPECT_EQ(progressSteps, 1);
  EXPECT_TRUE(dataFileReleased());
}

TEST_F(Members, MovieCopiesComeFromInstallerMovieAndMemberOne) {
  ASSERT_TRUE(writeWholeFile(pathWorkFolder + "installer.swf", "installer movie"));
  // Member 1 is stored, but the settings make it a copy of the installer movie.
  writeDataFile({{0, "main.swf", "stored bytes"}, {3, "copies\\second.swf", ""}, {0, "notes.txt", "notes"}},
                3);
  EXPECT_EQ(ExpandAllMembers(), 0);

  EXPECT_EQ(readWholeFile(installerRun.saverFolder + "main.swf"), "installer movie");
  EXPECT_EQ(readWholeFile(installerRun.saverFolder + "copies\\second.swf"), "installer movie");
  EXPECT_EQ(readWholeFile(installerRun.saverFolder + "notes.txt"), "notes");
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
  EXPECT_FALSE(fileExists(installerRun.saverFolder + "after.txt"));
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

  EXPECT_NE(shown[0].text.find(installerRun.saverFolder), std::string::npos) << shown[0].text;
  EXPECT_FALSE(fileExists(installerRun.saverFolder + "copy.swf"));
}

TEST_F(Members, CopyOfMemberOneOntoItselfIsNoFailure) {
  ASSERT_TRUE(writeWholeFile(pathWorkFolder + "installer.swf", "installer movie"));
  // Copying a file onto itself fails; the member is in place all the same.
  writeDataFile({{3, "main.swf", ""}, {3, "main.swf", ""}});
  EXPECT_EQ(ExpandAllMembers(), 0);
  EXPECT_EQ(readWholeFile(installerRun.saverFolder + "main.swf"), "installer movie");
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
  std::string file =
      buildDataFile({{0, "first.txt", "first"}, {0, "x", "lost"}, {0, "after.txt", "later"}}, 0);
  const size_t secondPath =
      sizeof(SaverSettings) + sizeof(DataMemberRecord) + offsetof(DataMemberRecord, path);
  file.replace(secondPath, MEMBER_PATH_FIELD, std::string(MEMBER_PATH_FIELD, 'a'));
  ASSERT_TRUE(writeWholeFile(installerRun.dataFile, file));
  driver::DialogAnswerer answerer("Abort");
  EXPECT_EQ(ExpandAllMembers(), STATUS_UNSAFE_NAME);
  const std::vector<driver::ShownDialog> shown = answerer.take();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].caption, "Error");
  EXPECT_TRUE(shown[0].answered);
  EXPECT_NE(shown[0].text.find(std::string(MEMBER_PATH_FIELD, 'a')), std::string::npos) << shown[0].text;
  EXPECT_FALSE(fileExists(installerRun.saverFolder + "after.txt"));
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
  const std::string dataFile = readWholeFile(installerRun.dataFile);
  ASSERT_EQ(runTelling(ReadSaverSettings), 0);
  shownStatus.clear();
  EXPECT_EQ(WriteSaverSettings(), 0);

  EXPECT_EQ(readWholeFile(installerRun.saverFolder + "saver.dat"),
            dataFile.substr(0, sizeof(SaverSettings)));
  EXPECT_EQ(shownStatus, std::vector<std::string>{"Writing saver data file..."});
}

TEST_F(Members, SaverDatFailureIsReported) {
  installerRun.saverFolder = scratch.path() + "gone\\";
  driver::DialogAnswerer answerer("Abort");
  EXPECT_EQ(WriteSaverSettings(), int32_t(ERROR_PATH_NOT_FOUND));
  const std::vector<driver::ShownDialog> shown = answerer.take();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].caption, "Error");
  EXPECT_TRUE(shown[0].answered);
  EXPECT_NE(shown[0].text.find(installerRun.saverFolder + "saver.dat"), std::string::npos) << shown[0].text;
}

class Documents : public Members {
 protected:
  static void carry(int entry, const std::string &name, bool present) {
    setEntryName(installerRun.header.entries[entry], name);
    if (present) {
      ASSERT_TRUE(writeWholeFile(pathWorkFolder + name, name + " text"));
    }
  }
};

TEST_F(Documents, LicenceAndReadMeAreCopied) {
  installerRun.header.showLicense = 1;
  installerRun.header.carriesReadMe = 1;
  carry(ENTRY_LICENSE, "license.rtf", true);
  carry(ENTRY_README, "readme.txt", true);
  EXPECT_EQ(CopyDocsToSaverFolder(), 0);
  EXPECT_EQ(readWholeFile(installerRun.saverFolder + "license.rtf"), "license.rtf text");
  EXPECT_EQ(readWholeFile(installerRun.saverFolder + "readme.txt"), "readme.txt text");
}

TEST_F(Documents, OnlyFlaggedDocumentsAreCopied) {
  carry(ENTRY_LICENSE, "license.rtf", true);
  carry(ENTRY_README, "readme.txt", true);
  EXPECT_EQ(CopyDocsToSaverFolder(), 0);
  EXPECT_FALSE(fileExists(installerRun.saverFolder + "license.rtf"));
  EXPECT_FALSE(fileExists(installerRun.saverFolder + "readme.txt"));
}

TEST_F(Documents, MissingSourceGivesMinus16AndTheOtherIsStillCopied) {
  installerRun.header.showLicense = 1;
  installerRun.header.carriesReadMe = 1;
  carry(ENTRY_LICENSE, "license.rtf", false);
  carry(ENTRY_README, "readme.txt", true);
  EXPECT_EQ(CopyDocsToSaverFolder(), STATUS_EXPANDED_FILE_MISSING);
  EXPECT_EQ(readWholeFile(installerRun.saverFolder + "readme.txt"), "readme.txt text");
}

TEST_F(Documents, NameWithFolderIsRefused) {
  installerRun.header.showLicense = 1;
  ASSERT_TRUE(writeWholeFile(scratch.path() + "outside.txt", "not the licence"));
  setEntryName(installerRun.header.entries[ENTRY_LICENSE], "..\\outside.txt");
  EXPECT_EQ(CopyDocsToSaverFolder(), STATUS_UNSAFE_NAME);
}

TEST_F(Documents, FailedCopyGivesSystemCode) {
  installerRun.header.carriesReadMe = 1;
  carry(ENTRY_README, "readme.txt", true);
  // The target name is taken by a folder.
  ASSERT_TRUE(CreateDirectoryA((installerRun.saverFolder + "readme.txt").c_str(), nullptr));
  EXPECT_GT(CopyDocsToSaverFolder(), 0);
}

TEST_F(Documents, ReadMeIsOpenedWithTheShellsDefaultAction) {
  // A command script's default action runs it, which leaves a trace.
  installerRun.header.carriesReadMe = 1;
  setEntryName(installerRun.header.entries[ENTRY_README], "readme.cmd");
  const std::string trace = installerRun.saverFolder + "opened.txt";
  ASSERT_TRUE(
      writeWholeFile(installerRun.saverFolder + "readme.cmd", "echo opened> \"" + trace + "\"\r\n"));
  OpenReadMe(nullptr);
  for (int wait = 0; wait < 200 && !fileExists(trace); ++wait) Sleep(100);
  EXPECT_TRUE(fileExists(trace));
  Sleep(500);  // the script's process lets go of the folder
}

}  // namespace
