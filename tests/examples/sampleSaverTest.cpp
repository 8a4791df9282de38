// The sample saver under Wine, end to end: its Setup.exe installs it quietly,
// the installed program draws full screen and as a preview, and its "/u /q"
// leaves the prefix as it was before the install.
#include <gtest/gtest.h>
#include <shlwapi.h>
#include <windows.h>
#include <tlhelp32.h>

#include <filesystem>
#include <set>
#include <string>

#include "flashStandInSetup.h"
#include "testDriver.h"

namespace {

const char PROGRAM[] = "Auro0389.scr";  // the coded short name of "Aurora Sampler"
const char UNINSTALL_LIST[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const DWORD RUN_TIMEOUT_MS = 120000;
const char TEXT_CLASS_KEY[] = "Software\\Classes\\.txt";

using driver::registryText;
using driver::sharedSaverFolder;
using driver::systemFolder;
bool exists(const std::string &path) { return driver::pathExists(path); }
std::string saverFolder() { return sharedSaverFolder() + "Auro0389\\"; }
std::string installedProgram() { return systemFolder() + PROGRAM; }

// The saver's windows send to this thread's windows, so it keeps pumping.
void pumpMessages(DWORD milliseconds) {
  const DWORD end = GetTickCount() + milliseconds;
  while (GetTickCount() < end) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    Sleep(20);
  }
}

bool waitPumping(driver::TestProgram &program, DWORD timeoutMs, DWORD *exitCode) {
  for (DWORD waited = 0; waited < timeoutMs; waited += 100) {
    if (program.waitForExit(0, exitCode)) return true;
    pumpMessages(100);
  }
  return false;
}

// Something was drawn: a picture or the bands, not one flat colour.
size_t distinctColours(const driver::RgbImage &image) {
  std::set<uint32_t> colours;
  for (size_t i = 0; i + 2 < image.pixels.size() && colours.size() < 1000; i += 3 * 7)
    colours.insert(image.pixels[i] | image.pixels[i + 1] << 8 | image.pixels[i + 2] << 16);
  return colours.size();
}

// Polls until the window shows a drawing (pumping messages meanwhile): a
// first frame may take seconds on an emulated processor.
bool drawsWithin(HWND window, DWORD timeoutMs) {
  for (DWORD waited = 0; waited < timeoutMs; waited += 250) {
    driver::RgbImage image;
    if (driver::captureWindow(window, &image) && distinctColours(image) > 20) return true;
    pumpMessages(250);
  }
  return false;
}

// Runs the program with the arguments; its exit code, or ~0 when it did not end.
DWORD runToEnd(const std::string &commandLine) {
  driver::TestProgram program;
  DWORD exitCode = ~0u;
  if (!program.start(commandLine) || !program.waitForExit(RUN_TIMEOUT_MS, &exitCode)) return ~0u;
  return exitCode;
}

DWORD parentProcessOf(DWORD processId) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return 0;
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  DWORD parent = 0;
  for (BOOL more = Process32First(snapshot, &entry); more && parent == 0;
       more = Process32Next(snapshot, &entry))
    if (entry.th32ProcessID == processId) parent = entry.th32ParentProcessID;
  CloseHandle(snapshot);
  return parent;
}

// The read-me the install opens has its own program; the test closes it and
// tells which process started it, 0 when none was there.
DWORD closeReadMe() {
  HWND viewer = driver::waitForTopLevelWindow({"", "Notepad", 0, true}, 20000);
  if (viewer == nullptr) return 0;
  DWORD viewerProcess = 0;
  GetWindowThreadProcessId(viewer, &viewerProcess);
  const DWORD opener = parentProcessOf(viewerProcess);
  driver::postMessageTo(viewer, WM_CLOSE);
  driver::waitForWindowGone(viewer, 20000);
  return opener;
}

// The running copy that "/u" could not delete is left to the next start of
// Windows: the order must be there, for that file; the test then does what
// the start would do.
void carryOutRemovalAtRestart() {
  const char sessionManager[] = "System\\CurrentControlSet\\Control\\Session Manager";
  char pending[2048] = {};
  DWORD size = sizeof pending - 2;
  if (SHGetValueA(HKEY_LOCAL_MACHINE, sessionManager, "PendingFileRenameOperations", nullptr, pending,
                  &size) != ERROR_SUCCESS)
    return;
  char wow64Folder[MAX_PATH] = "";
  const std::string running = GetSystemWow64DirectoryA(wow64Folder, sizeof wow64Folder) > 0
                                  ? std::string(wow64Folder) + "\\" + PROGRAM
                                  : installedProgram();
  EXPECT_EQ(lstrcmpiA(pending, ("\\??\\" + running).c_str()), 0) << pending;
  EXPECT_EQ(pending[strlen(pending) + 1], '\0') << "a deletion has no new name";
  DeleteFileA(running.c_str());
  SHDeleteValueA(HKEY_LOCAL_MACHINE, sessionManager, "PendingFileRenameOperations");
}

// After a failed test, what an installation left behind.
void removeInstallation() { driver::removeInstalledSaver({"Auro0389", "Aurora Sampler", {}}); }

class SampleSaver : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(exists(installedProgram())) << "a sample saver is installed already";
    // The sample needs no movie player: it installs on a machine without one.
    unregisterFlashStandIn(FLASH_STANDIN_DLL);
    // The listing starts from a machine with none of our savers and none
    // active: the install makes its saver the active one and keeps no note
    // of an earlier choice, and the uninstall of the last saver takes the
    // empty shared folder with it. Other tests may leave either behind.
    RemoveDirectoryA(sharedSaverFolder().c_str());
    WritePrivateProfileStringA("boot", "SCRNSAVE.EXE", nullptr, "system.ini");
    SHDeleteValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "SCRNSAVE.EXE");
    driver::removeWorkFoldersOfEndedRuns();
    before_ = driver::prefixListing();
    // This prefix leaves plain text without a viewer; the read-me needs one.
    ASSERT_EQ(SHSetValueA(HKEY_LOCAL_MACHINE, TEXT_CLASS_KEY, nullptr, REG_SZ, "txtfile", 8),
              ERROR_SUCCESS);
    driver::TestProgram setup;
    DWORD exitCode = ~0u;
    ASSERT_TRUE(setup.start("\"" + driver::windowsPathOf(SAMPLE_SETUP_EXE) + "\" /q"));
    ASSERT_TRUE(setup.waitForExit(RUN_TIMEOUT_MS, &exitCode));
    ASSERT_EQ(exitCode, 0u);
    // The launcher, which runs with the user's rights, not the installer.
    EXPECT_EQ(closeReadMe(), setup.processId()) << "the read-me was not opened by the launcher";
    SHDeleteKeyA(HKEY_LOCAL_MACHINE, TEXT_CLASS_KEY);
    ASSERT_TRUE(exists(installedProgram()));
    ASSERT_TRUE(exists(saverFolder() + "saver.dat"));
    EXPECT_TRUE(exists(saverFolder() + "license.rtf")) << "a quiet install places the licence too";
  }

  void TearDown() override {
    SHDeleteKeyA(HKEY_LOCAL_MACHINE, TEXT_CLASS_KEY);
    if (HasFailure()) removeInstallation();
  }

  std::set<std::string> before_;
};

TEST_F(SampleSaver, DrawsFullScreenAndAsPreviewThenUninstallsWithoutATrace) {
  driver::TestProgram saver;
  ASSERT_TRUE(saver.start("\"" + installedProgram() + "\" /s"));
  HWND screen =
      driver::waitForTopLevelWindow({"", "TSaverWindow", saver.processId(), true}, RUN_TIMEOUT_MS);
  ASSERT_NE(screen, nullptr);
  EXPECT_TRUE(drawsWithin(screen, RUN_TIMEOUT_MS));
  EXPECT_TRUE(driver::saveScreenshot(driver::windowsPathOf(SAMPLE_SCREENSHOT)));
  // A small twitch of the mouse is no input; a key is. The window covers the
  // screen from its origin, so screen and window positions are the same.
  POINT mouse;
  GetCursorPos(&mouse);
  driver::postMessageTo(screen, WM_MOUSEMOVE, 0, MAKELPARAM(mouse.x, mouse.y));
  driver::postMessageTo(screen, WM_MOUSEMOVE, 0, MAKELPARAM(mouse.x + 2, mouse.y + 1));
  EXPECT_FALSE(saver.waitForExit(1000, nullptr));
  driver::postMessageTo(screen, WM_KEYDOWN, VK_SPACE);
  DWORD exitCode = ~0u;
  EXPECT_TRUE(saver.waitForExit(RUN_TIMEOUT_MS, &exitCode));
  EXPECT_EQ(exitCode, 0u);

  HWND parent = CreateWindowExA(0, "STATIC", "preview", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 40, 40,
                                320, 200, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(parent, nullptr);
  ASSERT_TRUE(saver.start("\"" + installedProgram() + "\" /p " +
                          std::to_string(reinterpret_cast<uintptr_t>(parent))));
  // The window is found as soon as it is made; it becomes visible only when
  // its creation is done, which another program may not have reached yet.
  HWND preview = nullptr;
  for (DWORD waited = 0; (preview == nullptr || !IsWindowVisible(preview)) && waited < RUN_TIMEOUT_MS;
       waited += 100) {
    pumpMessages(100);
    preview = FindWindowExA(parent, nullptr, "TSaverWindow", nullptr);
  }
  ASSERT_NE(preview, nullptr);
  // Under Wine the screen keeps showing the parent's own drawing where a
  // child window of another program stands, so the preview's pixels cannot be
  // read back here; the full-screen run above checks the drawing. The preview
  // fills the window and lives as long as it does.
  RECT previewRect, parentRect;
  GetWindowRect(preview, &previewRect);
  GetWindowRect(parent, &parentRect);
  EXPECT_TRUE(EqualRect(&previewRect, &parentRect));
  EXPECT_TRUE(IsWindowVisible(preview));
  EXPECT_FALSE(waitPumping(saver, 3000, nullptr)) << "the preview ended while its window was there";
  DestroyWindow(parent);
  EXPECT_TRUE(waitPumping(saver, RUN_TIMEOUT_MS, &exitCode)) << "the preview outlived its window";

  EXPECT_EQ(runToEnd("\"" + installedProgram() + "\" /u /q"), 0u);
  carryOutRemovalAtRestart();
  EXPECT_EQ(driver::listingDifference(before_, driver::prefixListing()), "");
}

// Foreign things beside the saver's own and a tampered settings record: the
// uninstall removes its own and leaves every foreign thing in place.
TEST_F(SampleSaver, UninstallLeavesForeignThingsAlone) {
  const std::string foreignFolder = sharedSaverFolder() + "Auro\\";  // a neighbour, same beginning
  const std::string foreignFiles[] = {sharedSaverFolder() + "Auro0389.txt", foreignFolder + "keep.bmp",
                                      systemFolder() + "Auro0389.scr.bak"};
  CreateDirectoryA(foreignFolder.c_str(), nullptr);
  for (const std::string &file : foreignFiles)
    CloseHandle(CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  HANDLE settings = CreateFileA((saverFolder() + "saver.dat").c_str(), GENERIC_WRITE, 0, nullptr,
                                CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(settings, "..\\..\\..\\windows\\*", 19, &written, nullptr);
  CloseHandle(settings);
  const std::string foreignEntry = std::string(UNINSTALL_LIST) + "\\Aurora Sampler Deluxe";
  SHSetValueA(HKEY_CURRENT_USER, foreignEntry.c_str(), "UninstallString", REG_SZ, "C:\\other.exe /u", 16);
  const std::string otherSaver = systemFolder() + "other.scr";
  SHSetValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "SCRNSAVE.EXE", REG_SZ, otherSaver.c_str(),
              static_cast<DWORD>(otherSaver.size()) + 1);

  EXPECT_EQ(runToEnd("\"" + installedProgram() + "\" /u /q"), 0u);
  carryOutRemovalAtRestart();
  EXPECT_FALSE(exists(saverFolder()));
  EXPECT_FALSE(exists(installedProgram()));
  for (const std::string &file : foreignFiles) EXPECT_TRUE(exists(file)) << file;
  EXPECT_EQ(registryText(HKEY_CURRENT_USER, foreignEntry, "UninstallString"), "C:\\other.exe /u");
  EXPECT_EQ(registryText(HKEY_CURRENT_USER, "Control Panel\\Desktop", "SCRNSAVE.EXE"), otherSaver);

  for (const std::string &file : foreignFiles) DeleteFileA(file.c_str());
  RemoveDirectoryA(foreignFolder.c_str());
  RemoveDirectoryA(sharedSaverFolder().c_str());
  SHDeleteKeyA(HKEY_CURRENT_USER, foreignEntry.c_str());
  SHDeleteValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "SCRNSAVE.EXE");
  EXPECT_EQ(driver::listingDifference(before_, driver::prefixListing()), "");
}

}  // namespace
