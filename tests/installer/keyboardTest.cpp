// The installer window from the keyboard, with keys pressed on the X display
// as a user's would be, and the names a screen reader reads for its controls.
#include "hostLink.h"
#include "installerFixture.h"

namespace {

// The control that has the keyboard focus in the window's thread.
HWND focusOf(HWND form) {
  GUITHREADINFO thread = {};
  thread.cbSize = sizeof thread;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(form, nullptr), &thread)) return nullptr;
  return thread.hwndFocus;
}

// The installer shows its window and then gives the focus to its first
// control; keys pressed before that would reach the window itself. Waits
// until the form is in front with a control focused, as a user would see it.
HWND settledFocus(HWND form) {
  for (const DWORD start = GetTickCount(); GetTickCount() - start < 5000; Sleep(20))
    if (GetForegroundWindow() == form && IsChild(form, focusOf(form))) break;
  return focusOf(form);
}

// Presses the keys and waits until the focus is on the control of that text.
bool focusMovesTo(HWND form, const std::string &keys, const std::string &text) {
  return driver::pressHostKeys(keys, [form, &text] { return driver::windowText(focusOf(form)) == text; });
}

// What standard accessibility proxies read as a control's name: its own
// text, or for an edit box the static text just before it.
std::string accessibleName(HWND window) {
  if (driver::windowClassName(window) != "RichEdit20W") return driver::windowText(window);
  HWND label = GetWindow(window, GW_HWNDPREV);
  return label != nullptr && driver::windowClassName(label) == "Static" ? driver::windowText(label) : "";
}

}  // namespace

// Every control the user can see has a name. The focus starts on the
// licence, Tab and Shift+Tab walk the buttons in reading order, and Enter
// presses the default button, which installs.
TEST_F(InstallerEndToEnd, TabReachesInstallAndEnterInstalls) {
  const std::string launcher = buildLauncher("license");
  driver::TestProgram launcherProgram, installer;
  HWND form = startInteractive(launcher, launcherProgram, installer);
  ASSERT_NE(form, nullptr);
  for (const driver::DialogControl &each : driver::dialogControls(form))
    if (IsWindowVisible(each.window) && each.className != "TPanel")
      EXPECT_NE(accessibleName(each.window), "") << each.className;

  HWND license = FindWindowExA(form, nullptr, "RichEdit20W", nullptr);
  ASSERT_EQ(settledFocus(form), license);
  ASSERT_TRUE(focusMovesTo(form, "Tab", "Accept and Install"));
  ASSERT_TRUE(focusMovesTo(form, "Tab", "Cancel"));
  ASSERT_TRUE(focusMovesTo(form, "shift+Tab", "Accept and Install"));
  HWND question = nullptr;
  ASSERT_TRUE(driver::pressHostKeys("Return", [&question, &installer] {
    question = driver::findTopLevelWindow({"Confirm", "#32770", installer.processId(), true});
    return question != nullptr;
  }));
  declineControlPanel(question, installer, launcherProgram);
  expectInstalled();
}

// Esc on a window just shown is "Cancel": the installer ends, nothing installed.
TEST_F(InstallerEndToEnd, EscOnAFreshWindowCancelsAndInstallsNothing) {
  const std::string launcher = buildLauncher("picture");
  driver::TestProgram launcherProgram, installer;
  HWND form = startInteractive(launcher, launcherProgram, installer);
  ASSERT_NE(form, nullptr);
  ASSERT_EQ(driver::windowText(settledFocus(form)), "Install");
  ASSERT_TRUE(driver::pressHostKeys("Escape", [form] { return !IsWindow(form); }));
  expectBothEnd(installer, launcherProgram);
  expectNothingInstalled();
}
