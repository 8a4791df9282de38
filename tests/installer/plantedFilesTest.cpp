// Libraries and programs that another program of the user plants where ours
// might look for them are never loaded or started. The build starts these
// tests with Wine told to search the planted libraries as Windows does, the
// program's folder first: Wine reads that when a program starts, so setting
// it here would not reach the programs' import tables. The stand-ins record
// any loading or start in the record file.
#include <shlobj.h>

#include <fstream>
#include <iterator>

#include "installerFixture.h"

namespace {

const char *const RECORD_VARIABLE = "FAKE_INSTALLER_RECORD";
const char *const PLANTED_LIBRARY_NAMES[] = {"version.dll", "shcore.dll", "riched20.dll"};

std::string fileText(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string folderOf(const std::string &file) { return file.substr(0, file.find_last_of("\\/") + 1); }

bool plantLibraries(const std::string &folder) {
  bool planted = true;
  for (const char *name : PLANTED_LIBRARY_NAMES)
    planted &=
        CopyFileA(driver::windowsPathOf(PLANTED_LIBRARY).c_str(), (folder + name).c_str(), FALSE) != 0;
  return planted;
}

// The launcher's work folders appear below this one.
std::string localProductFolder() {
  char localAppData[MAX_PATH] = "";
  SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, localAppData);
  return std::string(localAppData) + "\\Lumavane\\";
}

ULONGLONG fileTimeValue(const FILETIME &time) {
  return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// Plants the libraries into every folder that appears below parent while it
// runs, as soon as it appears, and notes when it first did.
class FolderWatcher {
 public:
  explicit FolderWatcher(const std::string &parent) : parent_(parent), known_(subfolders()) {
    thread_ = CreateThread(nullptr, 0, watch, this, 0, nullptr);
  }
  ~FolderWatcher() {
    InterlockedExchange(&stopping_, 1);
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
  }
  FolderWatcher(const FolderWatcher &) = delete;
  FolderWatcher &operator=(const FolderWatcher &) = delete;
  ULONGLONG firstPlanted() const { return firstPlanted_; }  // 0 before any

 private:
  std::set<std::string> subfolders() const {
    std::set<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((parent_ + "*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return names;
    do
      if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && entry.cFileName[0] != '.')
        names.insert(entry.cFileName);
    while (FindNextFileA(search, &entry));
    FindClose(search);
    return names;
  }

  static DWORD WINAPI watch(void *context) {
    auto &self = *static_cast<FolderWatcher *>(context);
    while (InterlockedCompareExchange(&self.stopping_, 0, 0) == 0) {
      for (const std::string &name : self.subfolders()) {
        if (!self.known_.insert(name).second || !plantLibraries(self.parent_ + name + "\\")) continue;
        FILETIME now;
        GetSystemTimeAsFileTime(&now);
        if (self.firstPlanted_ == 0) self.firstPlanted_ = fileTimeValue(now);
      }
      Sleep(1);
    }
    return 0;
  }

  std::string parent_;
  std::set<std::string> known_;
  volatile LONG stopping_ = 0;
  ULONGLONG firstPlanted_ = 0;
  HANDLE thread_ = nullptr;
};

class PlantedFiles : public InstallerEndToEnd {
 protected:
  void SetUp() override {
    InstallerEndToEnd::SetUp();
    record_ = temporaryFolder() + "planted-record.txt";
    DeleteFileA(record_.c_str());
    SetEnvironmentVariableA(RECORD_VARIABLE, record_.c_str());
    char overrides[256] = "";
    ASSERT_NE(GetEnvironmentVariableA("WINEDLLOVERRIDES", overrides, sizeof overrides), 0u)
        << "started without the library search of Windows";
  }
  void TearDown() override {
    SetEnvironmentVariableA(RECORD_VARIABLE, nullptr);
    DeleteFileA(record_.c_str());
    InstallerEndToEnd::TearDown();
  }

  // The record's text once line appears in it, or after 30 seconds.
  std::string recordOnceItHolds(const std::string &line) {
    std::string text = fileText(record_);
    for (int wait = 0; wait < 300 && text.find(line) == std::string::npos; ++wait, Sleep(100))
      text = fileText(record_);
    return text;
  }

  std::string record_;
};

}  // namespace

TEST_F(PlantedFiles, LibrariesBesideTheLauncherAreNeverLoaded) {
  const std::string launcher = buildLauncher("quiet");
  ASSERT_TRUE(plantLibraries(folderOf(launcher)));
  DWORD exitCode = 99;
  const bool ran = runLauncherToEnd(launcher, "/q", &exitCode, [](DWORD) {});
  EXPECT_EQ(fileText(record_), "");
  ASSERT_TRUE(ran);
  EXPECT_EQ(exitCode, 0u);
  expectInstalled();
}

// The watcher plants while the launcher prepares the copy of the installer,
// before the installer starts from that folder.
TEST_F(PlantedFiles, LibrariesDroppedIntoTheWorkFolderAsItAppearsAreNeverLoaded) {
  const std::string launcher = buildLauncher("quiet");
  CreateDirectoryA(localProductFolder().c_str(), nullptr);
  ULONGLONG installerStarted = 0, firstPlanted = 0;
  DWORD exitCode = 99;
  bool ran = false;
  {
    FolderWatcher watcher(localProductFolder());
    ran = runLauncherToEnd(launcher, "/q", &exitCode, [&installerStarted](DWORD installer) {
      HANDLE process = installer != 0 && installerStarted == 0
                           ? OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, installer)
                           : nullptr;
      FILETIME created, exited, kernel, user;
      if (process != nullptr && GetProcessTimes(process, &created, &exited, &kernel, &user))
        installerStarted = fileTimeValue(created);
      if (process != nullptr) CloseHandle(process);
    });
    firstPlanted = watcher.firstPlanted();
  }
  EXPECT_EQ(fileText(record_), "");
  ASSERT_TRUE(ran);
  ASSERT_NE(firstPlanted, 0u) << "no work folder appeared";
  ASSERT_NE(installerStarted, 0u);
  EXPECT_LT(firstPlanted, installerStarted) << "planted only after the installer had started";
  EXPECT_EQ(exitCode, 0u);
}

// The package offers the control panel in its own quiet mode; the display
// panel stand-in records that the system's rundll32 opened it.
TEST_F(PlantedFiles, AProgramBesideTheLauncherIsNeverStarted) {
  const std::string launcher = buildLauncher("quiet");
  ASSERT_TRUE(CopyFileA(driver::windowsPathOf(PLANTED_PROGRAM).c_str(),
                        (folderOf(launcher) + "rundll32.exe").c_str(), FALSE));
  const std::string panel = systemFolder() + "desk.cpl";
  ASSERT_TRUE(CopyFileA(driver::windowsPathOf(FAKE_DISPLAY_PANEL).c_str(), panel.c_str(), FALSE));
  DWORD exitCode = 99;
  const bool ran = runLauncherToEnd(launcher, "", &exitCode, [](DWORD) {});
  const std::string record = recordOnceItHolds("controlPanel=");
  DeleteFileA(panel.c_str());

  ASSERT_TRUE(ran);
  EXPECT_EQ(exitCode, 0u);
  EXPECT_EQ(record, "controlPanel=parameters 1\n");
}
