// The file routines against the real file system of the Wine test prefix.
#include "common/QRX_FileUtils.h"
#include "common/workFolder.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "common/pathRules.h"

namespace {

bool exists(const std::string &path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void writeFile(const std::string &path) {
  const HANDLE file =
      CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
  DWORD written = 0;
  WriteFile(file, "data", 4, &written, nullptr);
  CloseHandle(file);
}

// Holds a file open without sharing, as a running program holds its image.
class LockedFile {
 public:
  explicit LockedFile(const std::string &path)
      : handle_(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~LockedFile() { release(); }
  bool held() const { return handle_ != INVALID_HANDLE_VALUE; }
  void release() {
    if (held()) CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE handle_;
};

// A fresh scratch folder per test, removed afterwards.
class FileUtilsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    ASSERT_NE(GetTempPathA(MAX_PATH, temp), 0u);
    scratch_ = withTrailingBackslash(temp) + "fileUtilsTest" + std::to_string(GetCurrentProcessId()) + "\\";
    ASSERT_TRUE(CreateDirectoryA(scratch_.c_str(), nullptr)) << scratch_;
  }
  void TearDown() override { deleteFolderTree(scratch_); }
  std::string scratch_;
};

TEST_F(FileUtilsTest, ForcedDeletionClearsReadOnly) {
  const std::string file = scratch_ + "licence.txt";
  writeFile(file);
  ASSERT_TRUE(SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
  ASSERT_FALSE(DeleteFileA(file.c_str())) << "read-only should resist a plain deletion";
  EXPECT_EQ(deleteFileForced(file), STATUS_OK);
  EXPECT_FALSE(exists(file));
  EXPECT_EQ(deleteFileForced(file), STATUS_OK) << "a missing file is no failure";
}

TEST_F(FileUtilsTest, ForcedDeletionOfABusyFile) {
  const std::string file = scratch_ + "temp.dat";
  LockedFile lock(file);
  ASSERT_TRUE(lock.held());
  EXPECT_EQ(deleteFileForced(file), STATUS_FILE_BUSY);
  EXPECT_TRUE(exists(file));
}

TEST_F(FileUtilsTest, RetriedDeletionOfBusyFilesTellsScreenSaversApart) {
  const struct {
    const char *name;
    int32_t status;
  } cases[] = {{"aquarium.SCR", STATUS_SCREEN_SAVER_BUSY},
               {"aquarium.scr", STATUS_SCREEN_SAVER_BUSY},
               {"temp.dat", STATUS_FILE_BUSY}};
  for (const auto &c : cases) {
    const std::string file = scratch_ + c.name;
    LockedFile lock(file);
    ASSERT_TRUE(lock.held()) << c.name;
    EXPECT_EQ(deleteFileWithRetries(file, 5), c.status) << c.name;
    EXPECT_TRUE(exists(file)) << c.name;
    lock.release();
    EXPECT_EQ(deleteFileWithRetries(file, 5), STATUS_OK) << c.name;
    EXPECT_FALSE(exists(file)) << c.name;
  }
}

TEST_F(FileUtilsTest, RetriedDeletionWithoutAttemptsOrFile) {
  const std::string file = scratch_ + "saver.dat";
  writeFile(file);
  EXPECT_EQ(deleteFileWithRetries(file, 0), STATUS_NOT_DONE);
  EXPECT_EQ(deleteFileWithRetries(file, -3), STATUS_NOT_DONE);
  EXPECT_TRUE(exists(file)) << "no attempt may touch the file";
  EXPECT_EQ(deleteFileWithRetries(scratch_ + "missing.scr", 1), STATUS_OK);
}

TEST_F(FileUtilsTest, FolderTreeGoesDeepestFirst) {
  const std::string tree = scratch_ + "tree\\";
  const std::string deepest = tree + "a\\b\\c\\";
  for (const std::string &folder : {tree, tree + "a\\", tree + "a\\b\\", deepest, tree + "d\\"})
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << folder;
  writeFile(tree + "top.txt");
  writeFile(tree + "a\\b\\middle.dat");
  writeFile(deepest + "deep.scr");
  SetFileAttributesA((deepest + "deep.scr").c_str(), FILE_ATTRIBUTE_READONLY);
  SetFileAttributesA((tree + "a\\").c_str(), FILE_ATTRIBUTE_READONLY);
  const std::string sibling = scratch_ + "treeSibling.txt";
  writeFile(sibling);

  EXPECT_EQ(deleteFolderTree(tree), STATUS_OK);
  EXPECT_FALSE(exists(tree));
  EXPECT_TRUE(exists(sibling));
  EXPECT_EQ(deleteFolderTree(tree), STATUS_OK) << "a missing folder is no failure";
  EXPECT_EQ(deleteFolderTree(""), STATUS_NOT_DONE);
}

// Without its trailing "\" the name must not reach files beside the folder.
TEST_F(FileUtilsTest, FolderTreeWithoutTrailingBackslash) {
  const std::string tree = scratch_ + "tree";
  ASSERT_TRUE(CreateDirectoryA(tree.c_str(), nullptr));
  writeFile(tree + "\\inside.txt");
  writeFile(scratch_ + "treeSibling.txt");
  EXPECT_EQ(deleteFolderTree(tree), STATUS_OK);
  EXPECT_FALSE(exists(tree));
  EXPECT_TRUE(exists(scratch_ + "treeSibling.txt"));
}

TEST_F(FileUtilsTest, BusyFileKeepsItsFoldersAndStopsWithAStatus) {
  const std::string tree = scratch_ + "tree\\";
  ASSERT_TRUE(CreateDirectoryA(tree.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA((tree + "sub\\").c_str(), nullptr));
  writeFile(tree + "sub\\free.txt");
  {
    LockedFile lock(tree + "sub\\busy.dat");
    ASSERT_TRUE(lock.held());
    EXPECT_EQ(deleteFolderTree(tree + "sub\\"), STATUS_FILE_BUSY);
    // The sub-folder's status is not passed up; the parent cannot go.
    EXPECT_EQ(deleteFolderTree(tree), STATUS_NOT_DONE);
    EXPECT_TRUE(exists(tree + "sub\\busy.dat"));
  }
  EXPECT_EQ(deleteFolderTree(tree), STATUS_OK);
  EXPECT_FALSE(exists(tree));
}

std::string localProductFolder() {
  return getSpecialFolder(CSIDL_LOCAL_APPDATA) + "\\" + PRODUCT_FOLDER_NAME;
}

TEST(NumberedFolder, TakesTheLowestFreeNumber) {
  const std::string prefix = "NumberedTest" + std::to_string(GetCurrentProcessId()) + "-";
  const std::string base = localProductFolder() + prefix;
  std::string folder[4];
  for (int n = 1; n <= 3; n++) {
    ASSERT_EQ(createNumberedFolder(prefix, folder[n]), STATUS_OK);
    EXPECT_EQ(folder[n], base + std::to_string(n) + "\\");
    EXPECT_TRUE(exists(folder[n]));
  }
  std::string fourth;
  EXPECT_EQ(createNumberedFolder(prefix, fourth), STATUS_OK);
  EXPECT_EQ(fourth, base + "4\\");
  // Each is held by its lock until released.
  EXPECT_FALSE(RemoveDirectoryA(folder[2].c_str()));
  releaseWorkFolder(folder[2]);
  ASSERT_TRUE(RemoveDirectoryA(folder[2].c_str()));
  std::string reused;
  EXPECT_EQ(createNumberedFolder(prefix, reused), STATUS_OK);
  EXPECT_EQ(reused, folder[2]);
  for (const std::string &made : {folder[1], folder[2], folder[3], fourth}) {
    releaseWorkFolder(made);
    RemoveDirectoryA(made.c_str());
  }
}

TEST(NumberedFolder, AllNamesTakenGivesAStatusAndNoPath) {
  const std::string prefix = "FullTest" + std::to_string(GetCurrentProcessId()) + "-";
  const std::string base = localProductFolder() + prefix;
  std::string first;
  ASSERT_EQ(createNumberedFolder(prefix, first), STATUS_OK);
  for (int n = 2; n <= 1000; n++)
    ASSERT_TRUE(CreateDirectoryA((base + std::to_string(n)).c_str(), nullptr)) << n;
  std::string folder = "left from before";
  EXPECT_EQ(createNumberedFolder(prefix, folder), SYSTEM_ERROR_ALREADY_EXISTS);
  EXPECT_EQ(folder, "");
  EXPECT_FALSE(exists(base + "1001"));
  releaseWorkFolder(first);
  for (int n = 1; n <= 1000; n++) RemoveDirectoryA((base + std::to_string(n)).c_str());
}

// Restores an environment variable when the test ends.
class SavedVariable {
 public:
  explicit SavedVariable(const char *name) : name_(name) {
    char value[MAX_PATH] = "";
    present_ = GetEnvironmentVariableA(name, value, MAX_PATH) != 0;
    value_ = value;
  }
  ~SavedVariable() { SetEnvironmentVariableA(name_, present_ ? value_.c_str() : nullptr); }

 private:
  const char *name_;
  bool present_;
  std::string value_;
};

std::string ownProgramPath() {
  char path[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return path;
}

TEST(SystemPaths, AllSixEndInABackslash) {
  const std::string program = ownProgramPath();
  ASSERT_EQ(initSystemPaths(program), STATUS_OK);
  char systemRoot[MAX_PATH] = "", windowsFolder[MAX_PATH] = "";
  GetEnvironmentVariableA("SystemRoot", systemRoot, MAX_PATH);
  GetEnvironmentVariableA("WINDIR", windowsFolder, MAX_PATH);
  EXPECT_EQ(pathWindows, withTrailingBackslash(windowsFolder));
  EXPECT_EQ(pathSysnative, withTrailingBackslash(systemRoot) + "Sysnative\\");
  EXPECT_EQ(pathCommonAppData, getSpecialFolder(CSIDL_COMMON_APPDATA) + "\\" + PRODUCT_FOLDER_NAME);
  EXPECT_EQ(pathExeFolder, program.substr(0, program.find_last_of('\\') + 1));
  EXPECT_EQ(pathWorkFolder.rfind(localProductFolder() + "QRP", 0), 0u) << pathWorkFolder;
  EXPECT_TRUE(exists(pathWorkFolder));
  for (const std::string &path :
       {pathWindows, pathSystem, pathSysnative, pathCommonAppData, pathExeFolder, pathWorkFolder}) {
    ASSERT_GT(path.size(), 3u) << path;
    EXPECT_EQ(path.back(), '\\') << path;
    EXPECT_NE(path[0], '\\') << path;
  }
  EXPECT_TRUE(exists(pathSystem + "kernel32.dll"));
  RemoveDirectoryA(pathWorkFolder.c_str());
}

TEST(SystemPaths, EmptyWindowsVariableIsAnError) {
  SavedVariable saved("WINDIR");
  for (const char *empty : {static_cast<const char *>(""), static_cast<const char *>(nullptr)}) {
    SetEnvironmentVariableA("WINDIR", empty);
    EXPECT_EQ(initSystemPaths(ownProgramPath()), SYSTEM_ERROR_ENVVAR_NOT_FOUND);
    for (const std::string &path :
         {pathWindows, pathSystem, pathSysnative, pathCommonAppData, pathExeFolder, pathWorkFolder})
      EXPECT_EQ(path, "");
  }
}

TEST(SystemPaths, ProgramWithoutFolderIsAnError) {
  EXPECT_EQ(initSystemPaths("saverstart.exe"), SYSTEM_ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(pathExeFolder, "");
  EXPECT_EQ(pathWorkFolder, "");
}

TEST(SpecialFolder, KnownAndUnknownNumbers) {
  const std::string appData = getSpecialFolder(CSIDL_LOCAL_APPDATA);
  EXPECT_TRUE(exists(appData)) << appData;
  EXPECT_NE(appData.back(), '\\');
  EXPECT_EQ(getSpecialFolder(0x7F), "");
}

TEST(FileVersion, ReadsMajorAndRevision) {
  ASSERT_TRUE(exists("fileVersion9.dll"));
  int32_t major = -1, revision = -1;
  myGetFileVersion("fileVersion9.dll", major, revision);
  EXPECT_EQ(major, 9);
  EXPECT_EQ(revision, 124);
}

TEST(FileVersion, FileWithoutVersionKeepsTheCallersValues) {
  ASSERT_TRUE(exists("noFileVersion.dll"));
  for (const char *file : {"noFileVersion.dll", "missing.dll"}) {
    int32_t major = 77, revision = 88;
    myGetFileVersion(file, major, revision);
    EXPECT_EQ(major, 77) << file;
    EXPECT_EQ(revision, 88) << file;
  }
}

}  // namespace
