// End-to-end fixture of the installer under Wine: a launcher file built with
// the packer from a manifest of tests/installer/manifests and generated
// payload files, the launcher run for real, the installer window found, and
// the places an installation of the test saver "Tide" leaves traces in.
#ifndef SAVER_TESTS_INSTALLER_INSTALLER_FIXTURE_H
#define SAVER_TESTS_INSTALLER_INSTALLER_FIXTURE_H

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "packFixture.h"
#include "testDriver.h"

// The payload files the manifests name (beside the programs).
extern const char SAVER_NAME[];                      // "Tide", short enough to be its own coded name
extern const char SAVER_PROGRAM[];                   // entry 6, into the system folder
extern const char SHARED_LIBRARY[];                  // entry 9 as it is placed, in the shared folder
extern const char NOTES_FILE[];                      // entry 10, into the saver folder
extern const std::vector<std::string> MEMBER_PATHS;  // data-file members, in sub-folders

using driver::sharedSaverFolder;
using driver::sysnativeFolder;
using driver::systemFolder;

// A run takes seconds; a loaded machine may need far more.
const DWORD INSTALLER_TIMEOUT_MS = 120000;

class InstallerEndToEnd : public ::testing::Test {
 protected:
  // Leaves no movie player registered, as on Windows today, and removes
  // every trace of an earlier installation of the test saver.
  void SetUp() override;
  // The movie player stand-in, for the tests of packages that look for it.
  static void registerMoviePlayer();
  void TearDown() override;

  // Writes the payload and the programs beside a copy of manifests/<name>,
  // lets change alter the payload folder and editManifest the manifest's
  // text, builds the launcher file "<name>Setup.exe" from it and returns its
  // path.
  std::string buildLauncher(const std::string &manifestName,
                            const std::function<void(const std::filesystem::path &)> &change = nullptr,
                            const std::function<void(std::string &)> &editManifest = nullptr);

  // Runs the launcher like a debugger, so that every process it starts is
  // seen to its end, until all have ended. The installer's exit code goes to
  // *installerExitCode. watch runs about every 50 ms with the installer's
  // process id (0 until it has started).
  bool runLauncherToEnd(const std::string &launcher, const std::string &parameters,
                        DWORD *installerExitCode, const std::function<void(DWORD)> &watch);

  // Starts the launcher and returns the installer's main window once it is
  // shown; installer then stands for the installer's process.
  HWND startInteractive(const std::string &launcher, driver::TestProgram &launcherProgram,
                        driver::TestProgram &installer);
  // The installer ends with exit code 0, and the launcher after it.
  static void expectBothEnd(driver::TestProgram &installer, driver::TestProgram &launcherProgram);
  // Presses "Install" and returns the control-panel question that ends the
  // install, or nullptr when it never comes.
  static HWND pressInstall(HWND form, const driver::TestProgram &installer);
  // Answers it "No"; both programs end.
  static void declineControlPanel(HWND question, driver::TestProgram &installer,
                                  driver::TestProgram &launcherProgram);

  // Places of an installation.
  static std::string saverFolder();                     // all-users application data + "Lumavane\Tide\"
  static std::string uninstallValue(const char *name);  // "" without the entry
  static std::set<std::string> workFolders();           // the work folders that exist, full paths

  // Every file of an installation of the test saver is in place, with the
  // settings record as "saver.dat".
  // A package from before the carried uninstaller registers the saver's own "/u".
  enum class Uninstaller { carried, saversOwn };
  void expectInstalled(Uninstaller uninstaller = Uninstaller::carried);
  // No saver folder, no installed program, no uninstall entry.
  static void expectNothingInstalled();
  static void removeInstallation();

 private:
  ScratchFolder *scratch_ = nullptr;
};

bool visibleOnScreen(HWND window);
bool exists(const std::string &path);
// The user's temporary folder, with its closing backslash.
std::string temporaryFolder();

// Waits for a visible box of the installer with the caption and clicks button.
bool answerDialog(DWORD installer, const char *caption, const char *button);
// The child of the installer's window that shows this text, or nullptr.
HWND control(HWND form, const std::string &text);

#endif
