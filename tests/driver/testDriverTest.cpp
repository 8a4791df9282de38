// The driver against its own fixture dialog (tests/driver-app).
#include "testDriver.h"

#include <gtest/gtest.h>

#include "driverAppIds.h"

namespace {

using driver::TestProgram;
using driver::WindowQuery;

// Starting a program under Wine takes a few seconds on a busy machine.
const DWORD kTimeoutMs = 30000;

std::string fixtureCommand(const std::string &arguments = "") {
  return "\"" + driver::windowsPathOf(DRIVER_APP_EXE) + "\"" + (arguments.empty() ? "" : " " + arguments);
}

// Starts the fixture and waits for its dialog.
HWND startFixture(TestProgram &program, const std::string &arguments = "",
                  const std::string &workingFolder = "") {
  if (!program.start(fixtureCommand(arguments), workingFolder)) return nullptr;
  return driver::waitForTopLevelWindow({DRIVER_APP_TITLE, "#32770", program.processId(), true}, kTimeoutMs);
}

DWORD exitCodeOf(TestProgram &program) {
  DWORD exitCode = 0xdeadbeef;
  EXPECT_TRUE(program.waitForExit(kTimeoutMs, &exitCode));
  return exitCode;
}

TEST(Dialog, ReadsStaticTextsAndButtonCaptions) {
  TestProgram program;
  HWND dialog = startFixture(program);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(driver::windowText(dialog), DRIVER_APP_TITLE);

  const std::vector<std::string> texts = driver::staticTexts(dialog);
  ASSERT_EQ(texts.size(), 2u) << "the icon is no text";
  EXPECT_EQ(texts[0], DRIVER_APP_PROMPT);
  EXPECT_EQ(driver::buttonCaptions(dialog),
            (std::vector<std::string>{"&First", "&Second", "&Never", "Cancel"}))
      << "the group box is no button";
}

TEST(Dialog, ClickByCaptionEndsWithThatButton) {
  TestProgram program;
  HWND dialog = startFixture(program);
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(driver::clickButton(dialog, "Second"));
  EXPECT_EQ(exitCodeOf(program), DWORD{IDC_SECOND});
  EXPECT_TRUE(driver::waitForWindowGone(dialog, kTimeoutMs));
}

TEST(Dialog, ClickByIdEndsWithThatButton) {
  TestProgram program;
  HWND dialog = startFixture(program);
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(driver::clickButtonById(dialog, IDCANCEL));
  EXPECT_EQ(exitCodeOf(program), DWORD{IDCANCEL});
}

TEST(Dialog, RefusesDisabledMissingAndNonButtonControls) {
  TestProgram program;
  HWND dialog = startFixture(program);
  ASSERT_NE(dialog, nullptr);
  EXPECT_FALSE(driver::clickButton(dialog, "&Never"));
  EXPECT_FALSE(driver::clickButtonById(dialog, IDC_NEVER));
  EXPECT_FALSE(driver::clickButton(dialog, "Fir"));
  EXPECT_FALSE(driver::clickButtonById(dialog, IDC_PROMPT));
  EXPECT_FALSE(driver::clickButtonById(dialog, 999));
  // A disabled dialog, as under a modal box, takes no clicks either.
  EnableWindow(dialog, FALSE);
  EXPECT_FALSE(driver::clickButton(dialog, "First"));
  EnableWindow(dialog, TRUE);
  // Nothing was clicked: the dialog is still there and answers the first button.
  Sleep(300);
  EXPECT_TRUE(program.running());
  EXPECT_TRUE(driver::clickButton(dialog, "&First"));
  EXPECT_EQ(exitCodeOf(program), DWORD{IDC_FIRST});
}

TEST(Dialog, ReadsAndAnswersASystemMessageBoxOverItsOwner) {
  TestProgram program;
  HWND dialog = startFixture(program, "/ask");
  ASSERT_NE(dialog, nullptr);
  HWND box = driver::waitForTopLevelWindow({DRIVER_APP_QUESTION_TITLE, "#32770", program.processId(), true},
                                           kTimeoutMs);
  ASSERT_NE(box, nullptr);
  ASSERT_NE(box, dialog);

  EXPECT_EQ(driver::staticTexts(box), std::vector<std::string>{DRIVER_APP_QUESTION});
  EXPECT_EQ(driver::buttonCaptions(box), (std::vector<std::string>{"OK", "Cancel"}));
  EXPECT_FALSE(driver::clickButton(dialog, "First")) << "the box disables its owner";
  EXPECT_TRUE(driver::clickButton(box, "Cancel"));
  EXPECT_EQ(exitCodeOf(program), DWORD{DRIVER_APP_ANSWERED + IDCANCEL});
}

TEST(Program, StartsInTheGivenWorkingFolder) {
  char temp[MAX_PATH];
  ASSERT_NE(GetTempPathA(sizeof temp, temp), 0u);
  const std::string folder = std::string(temp) + "driver-working-folder";
  CreateDirectoryA(folder.c_str(), nullptr);

  TestProgram program;
  HWND dialog = startFixture(program, "", folder);
  ASSERT_NE(dialog, nullptr);
  const std::string shown = driver::windowText(GetDlgItem(dialog, IDC_FOLDER));
  EXPECT_EQ(lstrcmpiA(shown.c_str(), folder.c_str()), 0) << shown << " vs " << folder;
  program.terminate();
  RemoveDirectoryA(folder.c_str());
}

TEST(Program, ReportsAProgramThatCannotStart) {
  TestProgram program;
  EXPECT_FALSE(program.start("\"C:\\no such folder\\missing.exe\""));
  DWORD exitCode = 0;
  EXPECT_FALSE(program.waitForExit(0, &exitCode));
  EXPECT_FALSE(program.running());
}

TEST(Program, EndsAProgramStillRunningWhenTheTestLetsGo) {
  HWND dialog;
  {
    TestProgram program;
    dialog = startFixture(program);
    ASSERT_NE(dialog, nullptr);
    DWORD exitCode = 0;
    EXPECT_FALSE(program.waitForExit(200, &exitCode)) << "it waits for a click";
  }
  EXPECT_TRUE(driver::waitForWindowGone(dialog, kTimeoutMs));
}

TEST(Window, FindsByTitleOrClassAndWaitsWithTimeout) {
  TestProgram program;
  ASSERT_TRUE(program.start(fixtureCommand("/title=Driver Title Seven")));
  WindowQuery byTitle;
  byTitle.title = "Driver Title Seven";
  HWND dialog = driver::waitForTopLevelWindow(byTitle, kTimeoutMs);
  ASSERT_NE(dialog, nullptr);
  WindowQuery byClass;
  byClass.className = "#32770";
  byClass.processId = program.processId();
  EXPECT_EQ(driver::waitForTopLevelWindow(byClass, kTimeoutMs), dialog);

  WindowQuery wrongTitle = byTitle;
  wrongTitle.title = "Driver Title Seve";
  const DWORD startedAt = GetTickCount();
  EXPECT_EQ(driver::waitForTopLevelWindow(wrongTitle, 500), nullptr);
  EXPECT_GE(GetTickCount() - startedAt, 500u);

  // A handle for the process behind a window, as for a program the launcher starts.
  TestProgram attached;
  ASSERT_TRUE(attached.attach(driver::processIdOfWindow(dialog)));
  EXPECT_TRUE(driver::clickButton(dialog, "First"));
  EXPECT_EQ(exitCodeOf(attached), DWORD{IDC_FIRST});
}

TEST(Messages, CopyDataIsDeliveredAndAnswered) {
  TestProgram program;
  HWND dialog = startFixture(program);
  ASSERT_NE(dialog, nullptr);

  LRESULT reply = -1;
  ASSERT_TRUE(driver::sendCopyDataText(dialog, nullptr, "makeActiveSaver-x.scr", kTimeoutMs, &reply));
  EXPECT_EQ(reply, 22) << "the text and its NUL";
  EXPECT_EQ(driver::staticTexts(dialog)[0], "makeActiveSaver-x.scr");

  const char twoNuls[] = "abc\0\0";
  ASSERT_TRUE(driver::sendCopyData(dialog, nullptr, 7, twoNuls, 5, kTimeoutMs, &reply));
  EXPECT_EQ(reply, 5);
  EXPECT_EQ(driver::staticTexts(dialog)[0], "abc");
}

TEST(Messages, PostedMessageReachesTheProgram) {
  TestProgram program;
  HWND dialog = startFixture(program);
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(driver::postMessageTo(dialog, WM_DRIVER_APP_QUIT, 42));
  EXPECT_EQ(exitCodeOf(program), 42u);
  ASSERT_TRUE(driver::waitForWindowGone(dialog, kTimeoutMs));

  LRESULT reply = 0;
  EXPECT_FALSE(driver::postMessageTo(dialog, WM_DRIVER_APP_QUIT, 1)) << "the window is gone";
  EXPECT_FALSE(driver::sendCopyDataText(dialog, nullptr, "late", 1000, &reply));
}

TEST(Screen, CapturesTheWindowInItsColours) {
  TestProgram program;
  HWND dialog = startFixture(program);
  ASSERT_NE(dialog, nullptr);
  Sleep(500);  // let it paint

  RECT bounds, client;
  ASSERT_TRUE(GetWindowRect(dialog, &bounds));
  ASSERT_TRUE(GetClientRect(dialog, &client));
  driver::RgbImage image;
  ASSERT_TRUE(driver::captureWindow(dialog, &image));
  EXPECT_EQ(image.width, uint32_t(bounds.right - bounds.left));
  EXPECT_EQ(image.height, uint32_t(bounds.bottom - bounds.top));

  // The dialog's background, just inside the client area's lower right corner.
  POINT corner = {client.right - 2, client.bottom - 2};
  ClientToScreen(dialog, &corner);
  const size_t at = (size_t(corner.y - bounds.top) * image.width + (corner.x - bounds.left)) * 3;
  ASSERT_LT(at + 2, image.pixels.size());
  EXPECT_EQ(image.pixels[at], DRIVER_APP_RED);
  EXPECT_EQ(image.pixels[at + 1], DRIVER_APP_GREEN);
  EXPECT_EQ(image.pixels[at + 2], DRIVER_APP_BLUE);
}

}  // namespace
