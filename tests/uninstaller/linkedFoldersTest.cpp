// The folders the elevated programs write to, under Wine: the shared folder
// and the saver folder are made for administrators only, a link inside the
// saver folder goes with the uninstall while what it points to stays, and a
// link planted as the shared folder leads neither the install nor the
// uninstall elsewhere. Wine 8 makes no links itself: they are made on the
// host side (see hostLink.h).
#include "hostLink.h"
#include "installerFixture.h"

#include <sddl.h>

namespace {

const DWORD FOLDER_IS_LINK = static_cast<DWORD>(-39);
const char OUTSIDE_FILE[] = "keep.txt";

// The access list as Wine reads it back. Wine stores no descriptor: it maps
// the list it is given onto the host's permission bits and rebuilds one from
// them, so an entry for everyone ("WD") shows a folder made without a list
// of its own.
std::string accessListOf(const std::string &folder) {
  char descriptor[4096];
  DWORD needed = 0;
  char *text = nullptr;
  if (!GetFileSecurityA(folder.c_str(), DACL_SECURITY_INFORMATION, descriptor, sizeof descriptor,
                        &needed) ||
      !ConvertSecurityDescriptorToStringSecurityDescriptorA(descriptor, SDDL_REVISION_1,
                                                            DACL_SECURITY_INFORMATION, &text, nullptr))
    return "";
  std::string list = text;
  LocalFree(text);
  return list;
}

std::string withoutBackslash(const std::string &folder) { return folder.substr(0, folder.size() - 1); }

// Every file and folder below root, by path.
void listTree(const std::string &root, std::set<std::string> &paths) {
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA((root + "*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = entry.cFileName;
    if (name == "." || name == "..") continue;
    paths.insert(root + name);
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) listTree(root + name + "\\", paths);
  } while (FindNextFileA(search, &entry));
  FindClose(search);
}

std::set<std::string> treeOf(const std::string &root) {
  std::set<std::string> paths;
  listTree(root, paths);
  return paths;
}

// Runs the command line with no box expected; the exit code, or ~0.
DWORD runQuietly(const std::string &commandLine) {
  driver::TestProgram program;
  if (!program.start(commandLine)) return ~0u;
  DWORD exitCode = ~0u;
  return program.waitForExit(INSTALLER_TIMEOUT_MS, &exitCode) ? exitCode : ~0u;
}

class LinkedFolders : public InstallerEndToEnd {
 protected:
  void SetUp() override {
    InstallerEndToEnd::SetUp();
    outside_ = temporaryFolder() + "outsideTide\\";
    std::filesystem::remove_all(outside_);
    std::filesystem::create_directories(outside_ + SAVER_NAME);
    writeBytes(outside_ + OUTSIDE_FILE, {'k'});
    writeBytes(outside_ + SAVER_NAME + "\\" + OUTSIDE_FILE, {'k'});
  }
  void TearDown() override {
    driver::removeHostLink(withoutBackslash(sharedSaverFolder()));
    if (!aside_.empty()) MoveFileA(aside_.c_str(), withoutBackslash(sharedSaverFolder()).c_str());
    std::filesystem::remove_all(outside_);
    InstallerEndToEnd::TearDown();
  }

  // The shared folder becomes a link to the outside folder, which holds a
  // folder of the test saver's name; a real one is kept aside meanwhile.
  void plantSharedFolderLink() {
    const std::string shared = withoutBackslash(sharedSaverFolder());
    if (GetFileAttributesA(shared.c_str()) != INVALID_FILE_ATTRIBUTES) {
      aside_ = shared + ".aside";
      ASSERT_TRUE(MoveFileA(shared.c_str(), aside_.c_str()));
    }
    ASSERT_TRUE(driver::makeHostLink(withoutBackslash(outside_), shared));
  }

  // A quiet install whose boxes are closed as they come; their texts.
  std::vector<std::string> installQuietly(DWORD &exitCode) {
    std::vector<std::string> told;
    exitCode = 99;
    EXPECT_TRUE(runLauncherToEnd(buildLauncher("quiet"), "/q", &exitCode, [&told](DWORD installer) {
      if (installer == 0) return;
      HWND box = driver::findTopLevelWindow({"", "#32770", installer, true});
      if (box == nullptr) return;
      const std::vector<std::string> texts = driver::staticTexts(box);
      told.push_back(texts.empty() ? "" : texts.front());
      PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
      driver::waitForWindowGone(box, 20000);
    }));
    return told;
  }

  std::string outside_;
  std::string aside_;
};

TEST_F(LinkedFolders, SharedAndSaverFoldersAreMadeForAdministratorsOnly) {
  DWORD exitCode = 0;
  installQuietly(exitCode);
  ASSERT_EQ(exitCode, 0u);
  for (const std::string &folder : {sharedSaverFolder(), saverFolder()}) {
    const std::string list = accessListOf(folder);
    EXPECT_NE(list, "") << folder;
    EXPECT_EQ(list.find(";;;WD)"), std::string::npos) << folder << ": " << list;
  }
}

TEST_F(LinkedFolders, LinkInTheSaverFolderGoesWithTheUninstallAndWhatItPointsToStays) {
  DWORD exitCode = 0;
  installQuietly(exitCode);
  ASSERT_EQ(exitCode, 0u);
  const std::string link = saverFolder() + "linked";
  ASSERT_TRUE(driver::makeHostLink(withoutBackslash(outside_), link));
  const std::set<std::string> outsideBefore = treeOf(outside_);

  runQuietly(uninstallValue("UninstallString") + " /q");
  EXPECT_EQ(treeOf(outside_), outsideBefore);
  EXPECT_FALSE(exists(saverFolder() + NOTES_FILE));
  EXPECT_FALSE(exists(saverFolder() + "saverremove.exe"));
  // Windows removes the link itself; Wine 8 follows it into the folder it
  // points to, which is not empty, and so keeps link and saver folder.
  driver::removeHostLink(link);
  // The uninstaller moved itself aside for deletion at the next start: the
  // start, so that the prefix stays as the other tests expect it.
  EXPECT_EQ(runQuietly("wineboot.exe -r"), 0u);
}

TEST_F(LinkedFolders, LinkPlantedAsTheSharedFolderLeadsNeitherInstallNorUninstallElsewhere) {
  // The uninstaller, kept before the planted link hides the real folder.
  const std::string uninstaller = outside_.substr(0, outside_.size() - 12) + "saverremove-linked.exe";
  ASSERT_TRUE(CopyFileA(SAVERREMOVE_EXE, uninstaller.c_str(), FALSE));
  plantSharedFolderLink();
  if (HasFatalFailure()) return;
  const std::set<std::string> outsideBefore = treeOf(outside_);

  DWORD exitCode = 0;
  const std::vector<std::string> told = installQuietly(exitCode);
  EXPECT_EQ(exitCode, FOLDER_IS_LINK);
  ASSERT_FALSE(told.empty());
  EXPECT_NE(told.front().find("is a link"), std::string::npos) << told.front();
  EXPECT_EQ(treeOf(outside_), outsideBefore);

  EXPECT_EQ(runQuietly("\"" + uninstaller + "\" /n=" + SAVER_NAME + " /q"), FOLDER_IS_LINK);
  EXPECT_EQ(treeOf(outside_), outsideBefore);
  DeleteFileA(uninstaller.c_str());
}

}  // namespace
