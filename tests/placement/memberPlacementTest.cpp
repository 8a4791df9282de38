// Data-file members, movie copies, "saver.dat", the licence and the read-me,
// placed into a saver folder of a scratch tree.
#include "common/QRX_OSUtils.h"
#include "common/QRX_FileUtils.h"
#include "common/statusCodes.h"
#include "installer/failureReport.h"
#include "installer/filePlacement.h"
#include "installer/installObservers.h"
#include "package/packageFormat.h"
#include "placementFixtures.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using namespace placement_test;

// Shows failures as quiet mode does, and keeps the status lines, steps and
// the files placed with their sizes.
class RecordingObserver : public QuietObserver {
 public:
  void status(const std::string &text) override { shownStatus.push_back(text); }
  void progress() override { ++progressSteps; }
  void placed(const std::string &path, uint64_t size) override {
    placedFiles.push_back(path + " " + std::to_string(size));
  }
  std::vector<std::string> shownStatus;
  int progressSteps = 0;
  std::vector<std::string> placedFiles;
};

class Members : public ::testing::Test {
 protected:
  void SetUp() override {
    pathWorkFolder = scratch.path() + "work\\";
    plan.folders = {pathWorkFolder, scratch.path() + "saver\\", scratch.path(), scratch.path()};
    plan.dataFile = pathWorkFolder + "ocean.dat";
    plan.packagePath = pathWorkFolder + "temp.dat";
    ASSERT_TRUE(CreateDirectoryA(pathWorkFolder.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(plan.folders.saver.c_str(), nullptr));
  }
  void TearDown() override { package.close(); }

  // A package of the data file alone, stored plain behind its header, kept
  // by the package as the install keeps it.
  void keepDataFile(const std::string &dataFile) {
    InstallerHeader header{};
    PackageEntry &entry = header.entries[ENTRY_DATA_FILE];
    setEntryName(entry, "ocean.dat");
    entry.start = sizeof(InstallerHeader);
    entry.end = static_cast<int32_t>(sizeof(InstallerHeader) + dataFile.size()) - 1;
    entry.destKind = DEST_WORK_FOLDER;
    std::string file(sizeof(InstallerHeader), '\0');
    std::memcpy(file.data(), &header, sizeof(header));
    ASSERT_TRUE(writeWholeFile(plan.packagePath, file + dataFile));
    Failures failures;
    ASSERT_EQ(package.open(plan.packagePath, pathWorkFolder), 0);
    ASSERT_EQ(package.readHeader(0, failures), 0);
    EntryTarget target;
    target.path = plan.dataFile;
    target.keptForMembers = true;
    ASSERT_EQ(package.extractEntry(ENTRY_DATA_FILE, target, failures), 0);
  }
  void writeDataFile(const std::vector<TestMember> &members, int32_t firstMemberType = 0) {
    keepDataFile(buildDataFile(members, firstMemberType));
  }

  int32_t expandAll() { return ExpandAllMembers(package, plan, observer); }
  // The member steps have let go of the data file.
  bool dataFileReleased() const { return !package.dataFileOpen(); }

  ScratchFolder scratch{"placementMembers"};
  Package package;
  InstallPlan plan;
  RecordingObserver observer;
};

TEST_F(Members, StoredMembersLandInNewFoldersWithOneProgressStep) {
  writeDataFile({{0, "movie.swf", "main movie"},
                 {0, "pictures\\sea\\wave.jpg", "a wave"},
                 {0, "", "no path, skipped"},
                 {1, "empty.txt", ""}});
  EXPECT_EQ(expandAll(), 0);

  EXPECT_EQ(readWholeFile(plan.folders.saver + "movie.swf"), "main movie");
  EXPECT_EQ(readWholeFile(plan.folders.saver + "pictures\\sea\\wave.jpg"), "a wave");
  EXPECT_FALSE(fileExists(plan.folders.saver + "empty.txt")) << "expanded size 0 writes nothing";
  EXPECT_EQ(observer.shownStatus, std::vector<std::string>{"Expanding files..."});
  EXPECT_EQ(observer.progressSteps, 1);
  EXPECT_TRUE(dataFileReleased());
}

TEST_F(Members, MovieCopiesComeFromInstallerMovieAndMemberOne) {
  ASSERT_TRUE(writeWholeFile(pathWorkFolder + "installer.swf", "installer movie"));
  // Member 1 is stored, but the settings make it a copy of the installer movie.
  writeDataFile({{0, "main.swf", "stored bytes"}, {3, "copies\\second.swf", ""}, {0, "notes.txt", "notes"}},
                3);
  EXPECT_EQ(expandAll(), 0);

  EXPECT_EQ(readWholeFile(plan.folders.saver + "main.swf"), "installer movie");
  EXPECT_EQ(readWholeFile(plan.folders.saver + "copies\\second.swf"), "installer movie");
  EXPECT_EQ(readWholeFile(plan.folders.saver + "notes.txt"), "notes");
  EXPECT_TRUE(fileExists(pathWorkFolder + "installer.swf")) << "the source stays";
}

TEST_F(Members, MissingInstallerMovieIsReportedAndStops) {
  writeDataFile({{3, "main.swf", ""}, {0, "after.txt", "not reached"}});
  driver::DialogAnswerer answerer("Abort");
  EXPECT_EQ(expandAll(), STATUS_MOVIE_COPY_FAILED);
  const std::vector<driver::ShownDialog> shown = answerer.take();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].caption, "Error");

  EXPECT_TRUE(shown[0].answered);
  const std::string source = pathWorkFolder + "installer.swf";
  EXPECT_NE(shown[0].text.find(source), std::string::npos) << "names the missing movie: " << shown[0].text;
  EXPECT_EQ(shown[0].buttons, std::vector<std::string>{"&Abort"});
  EXPECT_FALSE(fileExists(plan.folders.saver + "after.txt"));
  EXPECT_EQ(observer.progressSteps, 0);
  EXPECT_TRUE(dataFileReleased()) << "a failed run must close the data file too";
}

TEST_F(Members, MovieCopyWithoutMemberOnePathIsAMissingSource) {
  // Member 1 has no path and is skipped; the later copy has no file to copy.
  writeDataFile({{0, "", "skipped"}, {3, "copy.swf", ""}});
  driver::DialogAnswerer answerer("Abort");
  EXPECT_EQ(expandAll(), STATUS_MOVIE_COPY_FAILED);
  const std::vector<driver::ShownDialog> shown = answerer.take();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].caption, "Error");

  EXPECT_NE(shown[0].text.find(plan.folders.saver), std::string::npos) << shown[0].text;
  EXPECT_FALSE(fileExists(plan.folders.saver + "copy.swf"));
}

TEST_F(Members, CopyOfMemberOneOntoItselfIsNoFailure) {
  ASSERT_TRUE(writeWholeFile(pathWorkFolder + "installer.swf", "installer movie"));
  // Copying a file onto itself fails; the member is in place all the same.
  writeDataFile({{3, "main.swf", ""}, {3, "main.swf", ""}});
  EXPECT_EQ(expandAll(), 0);
  EXPECT_EQ(readWholeFile(plan.folders.saver + "main.swf"), "installer movie");
}

TEST_F(Members, MovieCopyOutsideSaverFolderIsRefused) {
  ASSERT_TRUE(writeWholeFile(pathWorkFolder + "installer.swf", "installer movie"));
  writeDataFile({{3, "main.swf", ""}, {3, "..\\escaped.swf", ""}});
  driver::DialogAnswerer answerer("Abort");
  EXPECT_EQ(expandAll(), STATUS_UNSAFE_NAME);
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
  keepDataFile(file);
  driver::DialogAnswerer answerer("Abort");
  EXPECT_EQ(expandAll(), STATUS_UNSAFE_NAME);
  const std::vector<driver::ShownDialog> shown = answerer.take();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].caption, "Error");
  EXPECT_TRUE(shown[0].answered);
  EXPECT_NE(shown[0].text.find(std::string(MEMBER_PATH_FIELD, 'a')), std::string::npos) << shown[0].text;
  EXPECT_FALSE(fileExists(plan.folders.saver + "after.txt"));
  EXPECT_TRUE(dataFileReleased());
}

TEST_F(Members, MissingDataFileEndsWithItsStatus) {
  keepDataFile("");
  package.close();
  ASSERT_EQ(package.open(plan.packagePath, pathWorkFolder), 0);
  driver::DialogAnswerer answerer("Abort");
  EXPECT_EQ(expandAll(), int32_t(ERROR_FILE_NOT_FOUND));
  const std::vector<driver::ShownDialog> shown = answerer.take();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].caption, "Error");
  EXPECT_TRUE(shown[0].answered);
  EXPECT_EQ(observer.progressSteps, 0);
}

TEST_F(Members, SaverDatEqualsSettingsRecord) {
  const std::string dataFile = buildDataFile({{0, "movie.swf", "main movie"}}, 0);
  keepDataFile(dataFile);
  Failures failures;
  ASSERT_EQ(package.readSaverSettings(plan.dataFile, failures), 0);
  EXPECT_EQ(WriteSaverSettings(package, plan, observer), 0);

  EXPECT_EQ(readWholeFile(plan.folders.saver + "saver.dat"), dataFile.substr(0, sizeof(SaverSettings)));
  EXPECT_EQ(observer.shownStatus, std::vector<std::string>{"Writing saver data file..."});
}

TEST_F(Members, SaverDatFailureIsReported) {
  plan.folders.saver = scratch.path() + "gone\\";
  driver::DialogAnswerer answerer("Abort");
  EXPECT_EQ(WriteSaverSettings(package, plan, observer), int32_t(ERROR_PATH_NOT_FOUND));
  const std::vector<driver::ShownDialog> shown = answerer.take();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].caption, "Error");
  EXPECT_TRUE(shown[0].answered);
  EXPECT_NE(shown[0].text.find(plan.folders.saver + "saver.dat"), std::string::npos) << shown[0].text;
}

class Documents : public Members {
 protected:
  void carry(int entry, const std::string &name, bool present) {
    setEntryName(header.entries[entry], name);
    if (present) {
      ASSERT_TRUE(writeWholeFile(pathWorkFolder + name, name + " text"));
    }
  }
  InstallerHeader header{};
};

TEST_F(Documents, LicenceAndReadMeAreCopied) {
  header.showLicense = 1;
  header.carriesReadMe = 1;
  carry(ENTRY_LICENSE, "license.rtf", true);
  carry(ENTRY_README, "readme.txt", true);
  EXPECT_EQ(CopyDocsToSaverFolder(header, plan, observer), 0);
  EXPECT_EQ(readWholeFile(plan.folders.saver + "license.rtf"), "license.rtf text");
  EXPECT_EQ(readWholeFile(plan.folders.saver + "readme.txt"), "readme.txt text");
  EXPECT_EQ(observer.placedFiles, (std::vector<std::string>{plan.folders.saver + "license.rtf 16",
                                                            plan.folders.saver + "readme.txt 15"}));
}

TEST_F(Documents, OnlyFlaggedDocumentsAreCopied) {
  carry(ENTRY_LICENSE, "license.rtf", true);
  carry(ENTRY_README, "readme.txt", true);
  EXPECT_EQ(CopyDocsToSaverFolder(header, plan, observer), 0);
  EXPECT_FALSE(fileExists(plan.folders.saver + "license.rtf"));
  EXPECT_FALSE(fileExists(plan.folders.saver + "readme.txt"));
}

TEST_F(Documents, MissingSourceGivesMinus16AndTheOtherIsStillCopied) {
  header.showLicense = 1;
  header.carriesReadMe = 1;
  carry(ENTRY_LICENSE, "license.rtf", false);
  carry(ENTRY_README, "readme.txt", true);
  EXPECT_EQ(CopyDocsToSaverFolder(header, plan, observer), STATUS_EXPANDED_FILE_MISSING);
  EXPECT_EQ(readWholeFile(plan.folders.saver + "readme.txt"), "readme.txt text");
}

TEST_F(Documents, NameWithFolderIsRefused) {
  header.showLicense = 1;
  ASSERT_TRUE(writeWholeFile(scratch.path() + "outside.txt", "not the licence"));
  setEntryName(header.entries[ENTRY_LICENSE], "..\\outside.txt");
  EXPECT_EQ(CopyDocsToSaverFolder(header, plan, observer), STATUS_UNSAFE_NAME);
}

TEST_F(Documents, FailedCopyGivesSystemCode) {
  header.carriesReadMe = 1;
  carry(ENTRY_README, "readme.txt", true);
  // The target name is taken by a folder.
  ASSERT_TRUE(CreateDirectoryA((plan.folders.saver + "readme.txt").c_str(), nullptr));
  EXPECT_GT(CopyDocsToSaverFolder(header, plan, observer), 0);
}

// Wine runs the tests with an administrator's full rights, as the installer
// runs. Without a launcher to open it as the user, the read-me stays closed:
// a command script's default action would run it, which leaves a trace.
TEST_F(Documents, WithoutALauncherAnElevatedInstallerLeavesTheReadMeClosed) {
  ASSERT_TRUE(isProcessElevated());
  header.carriesReadMe = 1;
  setEntryName(header.entries[ENTRY_README], "readme.cmd");
  const std::string trace = plan.folders.saver + "opened.txt";
  ASSERT_TRUE(writeWholeFile(plan.folders.saver + "readme.cmd", "echo opened> \"" + trace + "\"\r\n"));
  plan.placedReadMe = plan.folders.saver + "readme.cmd";
  OpenReadMe(plan, nullptr);
  Sleep(3000);  // as long as the script took to run when it was opened
  EXPECT_FALSE(fileExists(trace));
}

}  // namespace
