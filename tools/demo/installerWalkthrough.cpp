// installerWalkthrough SETUP.exe FOLDER: runs an installer file the way a
// user would (the window, "Install", the answers to its questions) and saves
// a picture of the installer window in each phase into FOLDER. Exit code 0
// only when every phase was reached and both programs ended.
#include <cstdio>
#include <string>
#include <vector>

#include "testDriver.h"

namespace {

const DWORD PHASE_TIMEOUT_MS = 180000;

bool saveWindow(HWND window, const std::string &folder, const char *name) {
  driver::RgbImage image;
  const std::string path = folder + "\\" + name;
  const bool saved = driver::captureWindow(window, &image) && driver::writePng(path, image);
  std::printf("  %-28s %s\n", name, saved ? "saved" : "NOT SAVED");
  return saved;
}

HWND childWithText(HWND form, const std::string &text) {
  for (const driver::DialogControl &each : driver::dialogControls(form))
    if (each.text == text) return each.window;
  return nullptr;
}

bool step(bool done, const char *what) {
  std::printf("%s %s\n", done ? "ok  " : "FAIL", what);
  return done;
}

// Closes the windows that the installation opened beside the installer (the
// read-me in the system's text viewer), after a picture of the first one.
void closeOtherWindows(DWORD installer, DWORD launcher, const std::string &folder) {
  bool pictured = false;
  for (HWND window : driver::findTopLevelWindows({"", "", 0, true})) {
    const DWORD owner = driver::processIdOfWindow(window);
    if (owner == installer || owner == launcher || driver::windowText(window).empty()) continue;
    if (driver::windowText(window).find(".txt") == std::string::npos) continue;
    if (!pictured) pictured = saveWindow(window, folder, "installer-readme.png");
    driver::postMessageTo(window, WM_CLOSE);
  }
}

// Waits through the install for the question about the control panel,
// picturing the install under way and replacing an older copy on the way;
// nullptr when it does not come.
HWND waitForControlPanelQuestion(HWND form, DWORD installerId, const std::string &folder) {
  bool installingPictured = false;
  for (DWORD start = GetTickCount(); GetTickCount() - start < PHASE_TIMEOUT_MS; Sleep(20)) {
    if (!installingPictured && childWithText(form, "Writing screen saver files...") != nullptr)
      installingPictured = saveWindow(form, folder, "installer-installing.png");
    HWND confirm = driver::findTopLevelWindow({"Confirm", "#32770", installerId, true});
    if (confirm == nullptr) continue;
    const std::vector<std::string> captions = driver::buttonCaptions(confirm);
    if (captions.size() != 2 || captions.front() != "OK") return confirm;
    driver::clickButton(confirm, "OK");  // an older copy: replace it
    driver::waitForWindowGone(confirm, 20000);
  }
  return nullptr;
}

}  // namespace

int main(int argc, char **argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: installerWalkthrough SETUP.exe FOLDER\n");
    return 2;
  }
  const std::string setup = driver::windowsPathOf(argv[1]), folder = driver::windowsPathOf(argv[2]);
  driver::TestProgram launcher, installer;
  if (!step(launcher.start("\"" + setup + "\"", folder), "the installer file starts")) return 1;
  HWND form = driver::waitForTopLevelWindow({"", "TInstallerForm", 0, true}, PHASE_TIMEOUT_MS);
  if (!step(form != nullptr && installer.attach(driver::processIdOfWindow(form)),
            "the installer window shows"))
    return 1;
  Sleep(500);  // the picture is painted after the window appears
  bool ok = saveWindow(form, folder, "installer-ready.png");

  const bool withLicence = childWithText(form, "Accept and Install") != nullptr;
  ok = step(driver::clickButton(form, withLicence ? "Accept and Install" : "Install"),
            "\"Install\" clicked") &&
       ok;
  HWND question = waitForControlPanelQuestion(form, installer.processId(), folder);
  ok = step(question != nullptr, "the installation completed and asks about the control panel") && ok;
  if (question == nullptr) return 1;
  ok = saveWindow(form, folder, "installer-done.png") && ok;
  closeOtherWindows(installer.processId(), launcher.processId(), folder);
  ok = step(driver::clickButton(question, "No"), "the control panel declined") && ok;
  DWORD exitCode = 1;
  ok = step(installer.waitForExit(PHASE_TIMEOUT_MS, &exitCode) && exitCode == 0,
            "the installer ended with 0") &&
       ok;
  ok = step(launcher.waitForExit(PHASE_TIMEOUT_MS, nullptr), "the launcher ended") && ok;
  return ok ? 0 : 1;
}
