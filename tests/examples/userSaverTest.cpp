// The sample saver installed for the user alone, under Wine, end to end: its
// user/Setup.exe installs it quietly and through the window, writing only
// below the user's profile and HKEY_CURRENT_USER; the saver runs full screen
// from there, and its entry's uninstall command leaves the prefix as it was.
#include <gtest/gtest.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <windows.h>

#include <set>
#include <string>

#include "flashStandInSetup.h"
#include "testDriver.h"

namespace {

const char PROGRAM[] = "Auro0389.scr";  // the coded short name of "Aurora Sampler"
const char ENTRY_KEY[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Aurora Sampler";
const DWORD RUN_TIMEOUT_MS = 120000;
const char TEXT_CLASS[] = "Software\\Classes\\.txt";

using driver::registryText;
bool exists(const std::string &path) { return driver::pathExists(path); }
std::string userFolder() { return driver::specialFolder(CSIDL_LOCAL_APPDATA) + "Programs\\Lumavane\\"; }
std::string installedProgram() { return userFolder() + PROGRAM; }

// Every key and value below HKEY_LOCAL_MACHINE\key, with the value's bytes.
void dumpKey(HKEY root, const std::string &key, std::set<std::string> &lines) {
  HKEY opened;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return;
  lines.insert(key);
  char name[16384];
  std::string data(65536, '\0');
  for (DWORD i = 0, length = sizeof name, size = static_cast<DWORD>(data.size());
       RegEnumValueA(opened, i, name, &length, nullptr, nullptr, reinterpret_cast<BYTE *>(data.data()),
                     &size) == ERROR_SUCCESS;
       ++i, length = sizeof name, size = static_cast<DWORD>(data.size()))
    lines.insert(key + " " + name + "=" + data.substr(0, size));
  for (DWORD i = 0, length = sizeof name;
       RegEnumKeyExA(opened, i, name, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
       ++i, length = sizeof name)
    dumpKey(root, key.empty() ? name : key + "\\" + name, lines);
  RegCloseKey(opened);
}

std::set<std::string> machineRegistry() {
  std::set<std::string> lines;
  dumpKey(HKEY_LOCAL_MACHINE, "Software", lines);
  dumpKey(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager", lines);
  return lines;
}

// Lines of the listing's difference that lie outside the user's own places.
std::string outsideTheUser(const std::string &difference) {
  const std::string profile = driver::specialFolder(CSIDL_PROFILE);
  std::string outside;
  for (size_t at = 0, end; at < difference.size(); at = end + 1) {
    end = difference.find('\n', at);
    const std::string line = difference.substr(at, end - at);
    const std::string what = line.substr(line.find(':') + 1);
    const bool user = what.find(profile) != std::string::npos || what.find(" HKCU ") != std::string::npos ||
                      line.find("desktop: ") != std::string::npos;
    if (!user) outside += line + "\n";
  }
  return outside;
}

// The read-me the install opens has its own program; the test closes it.
void closeReadMe() {
  HWND viewer = driver::waitForTopLevelWindow({"", "Notepad", 0, true}, 20000);
  if (viewer == nullptr) return;
  driver::postMessageTo(viewer, WM_CLOSE);
  driver::waitForWindowGone(viewer, 20000);
}

DWORD runToEnd(const std::string &commandLine) {
  driver::TestProgram program;
  DWORD exitCode = ~0u;
  if (!program.start(commandLine) || !program.waitForExit(RUN_TIMEOUT_MS, &exitCode)) return ~0u;
  return exitCode;
}

class UserSaver : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(exists(installedProgram())) << "the user's sample saver is installed already";
    unregisterFlashStandIn(FLASH_STANDIN_DLL);
    // This prefix leaves plain text without a viewer; the read-me needs one.
    // The user's own class, so that the machine's registry stays as it is.
    SHSetValueA(HKEY_CURRENT_USER, TEXT_CLASS, nullptr, REG_SZ, "txtfile", 8);
    SHDeleteValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "SCRNSAVE.EXE");
    driver::removeWorkFoldersOfEndedRuns();
    listing_ = driver::prefixListing();
    registry_ = machineRegistry();
  }

  void TearDown() override {
    SHDeleteKeyA(HKEY_CURRENT_USER, TEXT_CLASS);
    if (!HasFailure()) return;
    runToEnd("\"" + userFolder() + "Auro0389\\saverremove.exe\" /n=Auro0389 /q");
    // An installer that ended before its install leaves the folders it made at start.
    RemoveDirectoryA(userFolder().c_str());
    RemoveDirectoryA(driver::specialFolder(CSIDL_LOCAL_APPDATA).append("Programs").c_str());
  }

  // What the install wrote: only the user's own places, the entry there
  // naming files that exist, the saver active by its full path.
  void expectInstalledForTheUser() {
    EXPECT_EQ(outsideTheUser(driver::listingDifference(listing_, driver::prefixListing())), "");
    EXPECT_TRUE(machineRegistry() == registry_) << "the machine's registry changed";
    EXPECT_TRUE(exists(installedProgram()));
    EXPECT_TRUE(exists(userFolder() + "Auro0389\\saver.dat"));
    EXPECT_EQ(registryText(HKEY_LOCAL_MACHINE, ENTRY_KEY, "DisplayName"), "");
    const std::string command = registryText(HKEY_CURRENT_USER, ENTRY_KEY, "UninstallString");
    ASSERT_EQ(command.rfind('"' + userFolder() + "Auro0389\\saverremove.exe\"", 0), 0u) << command;
    EXPECT_TRUE(exists(registryText(HKEY_CURRENT_USER, ENTRY_KEY, "DisplayIcon")));
    char longPath[MAX_PATH] = "";
    GetLongPathNameA(registryText(HKEY_CURRENT_USER, "Control Panel\\Desktop", "SCRNSAVE.EXE").c_str(),
                     longPath, sizeof longPath);
    EXPECT_EQ(lstrcmpiA(longPath, installedProgram().c_str()), 0) << longPath;
  }

  // The entry's own command, quiet, leaves the prefix as it was.
  void uninstallByTheEntry() {
    const std::string command = registryText(HKEY_CURRENT_USER, ENTRY_KEY, "UninstallString");
    ASSERT_FALSE(command.empty());
    EXPECT_EQ(runToEnd(command + " /q"), 0u);
    EXPECT_EQ(driver::listingDifference(listing_, driver::prefixListing()), "");
    EXPECT_TRUE(machineRegistry() == registry_);
  }

  std::set<std::string> listing_;
  std::set<std::string> registry_;
};

TEST_F(UserSaver, QuietInstallRunsFullScreenFromTheUsersFolderAndUninstallsWithoutATrace) {
  DWORD exitCode = ~0u;
  driver::TestProgram setup;
  ASSERT_TRUE(setup.start("\"" + driver::windowsPathOf(SAMPLE_USER_SETUP_EXE) + "\" /q"));
  ASSERT_TRUE(setup.waitForExit(RUN_TIMEOUT_MS, &exitCode));
  ASSERT_EQ(exitCode, 0u);
  closeReadMe();
  expectInstalledForTheUser();

  driver::TestProgram saver;
  ASSERT_TRUE(saver.start("\"" + installedProgram() + "\" /s"));
  HWND screen =
      driver::waitForTopLevelWindow({"", "TSaverWindow", saver.processId(), true}, RUN_TIMEOUT_MS);
  ASSERT_NE(screen, nullptr);
  RECT covered;
  GetWindowRect(screen, &covered);
  EXPECT_EQ(covered.right - covered.left, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(covered.bottom - covered.top, GetSystemMetrics(SM_CYSCREEN));
  driver::postMessageTo(screen, WM_KEYDOWN, VK_SPACE);
  EXPECT_TRUE(saver.waitForExit(RUN_TIMEOUT_MS, &exitCode));

  uninstallByTheEntry();
}

TEST_F(UserSaver, WindowInstallWritesOnlyTheUsersPlaces) {
  driver::TestProgram setup, installer;
  ASSERT_TRUE(setup.start("\"" + driver::windowsPathOf(SAMPLE_USER_SETUP_EXE) + "\""));
  HWND form = driver::waitForTopLevelWindow({"", "TInstallerForm", 0, true}, RUN_TIMEOUT_MS);
  ASSERT_NE(form, nullptr);
  ASSERT_TRUE(installer.attach(driver::processIdOfWindow(form)));
  // The sample shows its licence: the one button accepts it and installs.
  ASSERT_TRUE(driver::clickButton(form, "Accept and Install"));
  HWND question =
      driver::waitForTopLevelWindow({"Confirm", "#32770", installer.processId(), true}, RUN_TIMEOUT_MS);
  ASSERT_NE(question, nullptr) << "the control-panel question ends the install";
  EXPECT_TRUE(driver::clickButton(question, "No"));
  DWORD exitCode = ~0u;
  EXPECT_TRUE(installer.waitForExit(RUN_TIMEOUT_MS, &exitCode));
  EXPECT_EQ(exitCode, 0u);
  EXPECT_TRUE(setup.waitForExit(RUN_TIMEOUT_MS, nullptr));
  closeReadMe();
  expectInstalledForTheUser();
  uninstallByTheEntry();
}

}  // namespace
