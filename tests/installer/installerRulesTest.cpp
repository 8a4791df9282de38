// The installer window's arithmetic and decisions, natively.
#include <gtest/gtest.h>

#include "common/statusCodes.h"
#include "installer/installerCommandLine.h"
#include "installer/installerLayout.h"
#include "installer/installerPhases.h"
#include "installer/installerMessages.h"

TEST(InstallerLayout, HeightsFollowFromTheDesignValues) {
  EXPECT_EQ(minimumHeightWithLicense(), 465);
  EXPECT_EQ(minimumHeightWithoutLicense(), 340);
  EXPECT_EQ(fitClientHeight(false), 338);
  EXPECT_EQ(fitClientHeight(true), 445);
}

TEST(InstallerLayout, ButtonsSitAtTheRightOfTheirPanel) {
  struct Case {
    int panel, cancel, install, cancelLeft, installLeft;
  } cases[] = {
      {482, 80, 80, 401, 315},   // design panel, "Install"
      {482, 80, 115, 401, 280},  // "Accept and Install"
      {476, 80, 115, 395, 274},  // panel of a window with wider borders
      {100, 80, 80, 19, -67},    // narrower than both buttons: no clamping
  };
  for (const Case &c : cases) {
    const ButtonLefts lefts = placeButtons(c.panel, c.cancel, c.install);
    EXPECT_EQ(lefts.cancel, c.cancelLeft) << c.panel << " " << c.install;
    EXPECT_EQ(lefts.install, c.installLeft) << c.panel << " " << c.install;
  }
}

TEST(InstallerLayout, CentringRoundsTowardZero) {
  struct Case {
    int screen, window, origin;
  } cases[] = {{1280, 490, 395}, {1281, 490, 395}, {1024, 1025, 0}, {1024, 1027, -1}, {600, 700, -50}};
  for (const Case &c : cases) EXPECT_EQ(centredOrigin(c.screen, c.window), c.origin) << c.screen << " " << c.window;
}

TEST(InstallerLayout, ResizingMovesButtonsDownAndGrowsOnlyTheLicenceBox) {
  struct Case {
    int clientWidth, clientHeight, panelTop, boxTop, boxHeight;
  } cases[] = {
      {484, 445, 382, 275, 103},  // fitted to the licence
      {484, 645, 582, 275, 303},  // 200 taller
      {484, 400, 337, 275, 103},  // shorter than the box allows: the box keeps 103
      {484, 338, 275, 275, 103},  // fitted without licence
  };
  for (const Case &c : cases) {
    const ResizedLayout layout = resizeLayout(c.clientWidth, c.clientHeight, 80, 115);
    EXPECT_EQ(layout.buttonPanel.top, c.panelTop) << c.clientHeight;
    EXPECT_EQ(layout.buttonPanel.left, 1);
    EXPECT_EQ(layout.buttonPanel.width, c.clientWidth - 2);
    EXPECT_EQ(layout.buttonPanel.height, 63);
    EXPECT_EQ(layout.licenseBox.top, c.boxTop);
    EXPECT_EQ(layout.licenseBox.width, c.clientWidth);
    EXPECT_EQ(layout.licenseBox.height, c.boxHeight) << c.clientHeight;
    EXPECT_EQ(layout.buttons.cancel, c.clientWidth - 2 - 80 - 1);
    EXPECT_EQ(layout.buttons.install, layout.buttons.cancel - 6 - 115);
  }
}

TEST(InstallerPhases, OnlyTheReadyPhasesLetInstallBePressed) {
  for (InstallerPhase phase : {InstallerPhase::ready, InstallerPhase::installing, InstallerPhase::done,
                               InstallerPhase::failed, InstallerPhase::afterAbort}) {
    const PhaseView view = phaseView(phase);
    const bool ready = phase == InstallerPhase::ready || phase == InstallerPhase::afterAbort;
    EXPECT_EQ(view.installVisible && view.installEnabled, ready) << int(phase);
    // "Close" replaces both other buttons, and only when done.
    EXPECT_EQ(view.closeVisible, phase == InstallerPhase::done) << int(phase);
    EXPECT_EQ(view.cancelVisible && view.cancelEnabled, !view.closeVisible) << int(phase);
    EXPECT_EQ(view.statusVisible, phase != InstallerPhase::ready) << int(phase);
  }
}

TEST(InstallerPhases, CompletionByStatus) {
  struct Case {
    int32_t status;
    InstallerPhase phase;
    bool reportError;
    const char *statusLineEnd;
  } cases[] = {
      {0, InstallerPhase::done, false, "Complete."},
      {5, InstallerPhase::failed, true, "privileges."},
      {-38, InstallerPhase::failed, true, "replaced."},
      {-454, InstallerPhase::failed, false, "Error: -454"},
      {-2147483647 - 1, InstallerPhase::failed, false, "Error: -2147483648"},
      {32, InstallerPhase::failed, false, "Error: 32"},
  };
  for (const Case &c : cases) {
    const Completion completion = completionFor(c.status);
    EXPECT_EQ(completion.phase, c.phase) << c.status;
    EXPECT_EQ(completion.reportError, c.reportError) << c.status;
    const std::string end = c.statusLineEnd;
    ASSERT_GE(completion.statusLine.size(), end.size());
    EXPECT_EQ(completion.statusLine.substr(completion.statusLine.size() - end.size()), end) << c.status;
  }
}

TEST(InstallerMessages, StartupEndsWithTheMessageOfItsStatus) {
  const std::string address = "http://player.example/";
  struct Case {
    int32_t status;
    StartupMessageKind kind;
    bool namesAddress;
  } cases[] = {
      {FLASH_INSTALLER_NOT_FOR_NT, StartupMessageKind::errorAbort, false},
      {FLASH_PLAYER_INSTALL_FAILED, StartupMessageKind::errorOk, true},
      {FLASH_PLAYER_NOT_FOUND, StartupMessageKind::information, true},
      {FLASH_INSTALLER_MISSING, StartupMessageKind::errorAbort, false},
      {-34, StartupMessageKind::errorAbort, false},
      {5, StartupMessageKind::errorAbort, false},
  };
  for (const Case &c : cases) {
    const StartupMessage message = startupEndMessage(c.status, address);
    EXPECT_EQ(message.kind, c.kind) << c.status;
    const size_t at = message.text.find(address);
    EXPECT_EQ(at != std::string::npos, c.namesAddress) << c.status;
    if (at != std::string::npos) {
      EXPECT_EQ(message.text.find(address, at + 1), std::string::npos);
    }
  }
  EXPECT_EQ(startupEndMessage(-531, address).text, "Installer file is corrupted. Lumavane Error: -531. ");
  EXPECT_EQ(startupEndMessage(183, address).text, "Installer file is corrupted. Lumavane Error: 183. ");
  // An installation in the preparing window that failed is no damaged file.
  EXPECT_EQ(preparingInstallEndMessage(-13).text, "Install failed. Error: -13");
}

TEST(InstallerCommandLine, EachExactQuietSwitchCounts) {
  struct Case {
    std::vector<std::string> parameters;
    int quiet;
  } cases[] = {
      {{}, 0},
      {{"/q"}, 1},
      {{"/Q"}, 1},
      {{"/q", "/Q"}, 2},
      {{"/l=123", "/q"}, 1},
      {{"/q", "/l=123"}, 1},
      {{"/quiet", "/q ", "q", "-q", "/"}, 0},
  };
  for (const Case &c : cases) EXPECT_EQ(countQuietSwitches(c.parameters), c.quiet) << c.parameters.size();
}
