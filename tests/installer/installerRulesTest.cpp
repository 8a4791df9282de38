// The installer window's arithmetic and decisions, natively.
#include <gtest/gtest.h>

#include "common/displayScale.h"
#include "common/statusCodes.h"
#include "installer/installerCommandLine.h"
#include "installer/installerLayout.h"
#include "installer/installerPhases.h"
#include "installer/installerTexts.h"
#include "programTables.h"

TEST(DisplayScale, RoundsToTheNearestPixelHalvesAwayFromZero) {
  struct Case {
    int design, dpi, scaled;
  } cases[] = {
      {490, 96, 490},          {-11, 96, -11},  {0, 192, 0},
      {490, 120, 613},         {1, 120, 1},     {2, 120, 3},
      {63, 120, 79},           {-11, 120, -14},  // 612.5, 1.25, 2.5, 78.75
      {490, 144, 735},         {1, 144, 2},     {63, 144, 95},
      {-11, 144, -17},  // 1.5, 94.5, -16.5
      {490, 192, 980},         {1, 192, 2},     {-11, 192, -22},
      {272, 0, 272},           {272, -96, 272},  // no DPI known: the design value
      {1000000, 480, 5000000},                   // no overflow on the way
  };
  for (const Case &c : cases)
    EXPECT_EQ(scaledToDpi(c.design, c.dpi), c.scaled) << c.design << " at " << c.dpi;
}

TEST(InstallerLayout, HeightsFollowFromTheDesignValuesAtEachDpi) {
  struct Case {
    int dpi, minimumWithLicense, minimumWithout, clientWithout, clientWith;
  } cases[] = {
      {96, 465, 340, 338, 445},
      {120, 582, 425, 423, 557},  // each length rounded by itself: not 581, 425, 422, 556
      {144, 699, 511, 508, 669},  // not 697.5, 510, 507, 667.5
      {192, 930, 680, 676, 890},  // exactly twice
  };
  for (const Case &c : cases) {
    EXPECT_EQ(minimumHeightWithLicense(c.dpi), c.minimumWithLicense) << c.dpi;
    EXPECT_EQ(minimumHeightWithoutLicense(c.dpi), c.minimumWithout) << c.dpi;
    EXPECT_EQ(fitClientHeight(false, c.dpi), c.clientWithout) << c.dpi;
    EXPECT_EQ(fitClientHeight(true, c.dpi), c.clientWith) << c.dpi;
  }
}

TEST(InstallerLayout, ButtonsSitAtTheRightOfTheirPanel) {
  struct Case {
    int dpi, panel, cancel, install, cancelLeft, installLeft;
  } cases[] = {
      {96, 482, 80, 80, 401, 315},     // design panel, "Install"
      {96, 482, 80, 115, 401, 280},    // "Accept and Install"
      {96, 476, 80, 115, 395, 274},    // panel of a window with wider borders
      {96, 100, 80, 80, 19, -67},      // narrower than both buttons: no clamping
      {144, 723, 120, 173, 601, 419},  // gaps of 2 and 9
      {192, 964, 160, 230, 802, 560},  // gaps of 2 and 12
  };
  for (const Case &c : cases) {
    const ButtonLefts lefts = placeButtons(c.panel, c.cancel, c.install, c.dpi);
    EXPECT_EQ(lefts.cancel, c.cancelLeft) << c.panel << " " << c.install;
    EXPECT_EQ(lefts.install, c.installLeft) << c.panel << " " << c.install;
  }
}

TEST(InstallerLayout, CentringRoundsTowardZero) {
  struct Case {
    int screen, window, origin;
  } cases[] = {{1280, 490, 395}, {1281, 490, 395}, {1024, 1025, 0}, {1024, 1027, -1}, {600, 700, -50}};
  for (const Case &c : cases)
    EXPECT_EQ(centredOrigin(c.screen, c.window), c.origin) << c.screen << " " << c.window;
}

TEST(InstallerLayout, ResizingMovesButtonsDownAndGrowsOnlyTheLicenceBox) {
  struct Case {
    int dpi, clientWidth, clientHeight, panelLeft, panelTop, panelHeight, boxTop, boxHeight, cancelLeft,
        installLeft;
  } cases[] = {
      // Buttons 80 and 115 wide at 96 DPI, 160 and 230 at 192.
      {96, 484, 445, 1, 382, 63, 275, 103, 401, 280},     // fitted to the licence
      {96, 484, 645, 1, 582, 63, 275, 303, 401, 280},     // 200 taller
      {96, 484, 400, 1, 337, 63, 275, 103, 401, 280},     // shorter than the box allows: the box keeps 103
      {96, 484, 338, 1, 275, 63, 275, 103, 401, 280},     // fitted without licence
      {192, 968, 890, 2, 764, 126, 550, 206, 802, 560},   // fitted to the licence
      {192, 968, 1090, 2, 964, 126, 550, 406, 802, 560},  // 200 taller
      {192, 968, 700, 2, 574, 126, 550, 206, 802, 560},   // too short: the box keeps 206
  };
  for (const Case &c : cases) {
    const int cancelWidth = c.dpi == 96 ? 80 : 160, installWidth = c.dpi == 96 ? 115 : 230;
    const ResizedLayout layout =
        resizeLayout(c.clientWidth, c.clientHeight, cancelWidth, installWidth, c.dpi);
    EXPECT_EQ(layout.buttonPanel.top, c.panelTop) << c.clientHeight;
    EXPECT_EQ(layout.buttonPanel.left, c.panelLeft);
    EXPECT_EQ(layout.buttonPanel.width, c.clientWidth - 2 * c.panelLeft);
    EXPECT_EQ(layout.buttonPanel.height, c.panelHeight);
    EXPECT_EQ(layout.licenseBox.top, c.boxTop);
    EXPECT_EQ(layout.licenseBox.width, c.clientWidth);
    EXPECT_EQ(layout.licenseBox.height, c.boxHeight) << c.clientHeight;
    EXPECT_EQ(layout.buttons.cancel, c.cancelLeft) << c.dpi;
    EXPECT_EQ(layout.buttons.install, c.installLeft) << c.dpi;
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
    const Completion completion = completionFor(c.status, installerText);
    EXPECT_EQ(completion.phase, c.phase) << c.status;
    EXPECT_EQ(completion.reportError, c.reportError) << c.status;
    const std::string end = c.statusLineEnd;
    ASSERT_GE(completion.statusLine.size(), end.size());
    EXPECT_EQ(completion.statusLine.substr(completion.statusLine.size() - end.size()), end) << c.status;
  }
}

TEST(InstallerMessages, StartupEndsWithTheMessageOfItsStatus) {
  const std::string address = installerText(IDS_FLASH_PLAYER_ADDRESS);
  struct Case {
    int32_t status;
    StartupMessageKind kind;
    bool namesAddress;
  } cases[] = {
      {FLASH_INSTALLER_NOT_FOR_NT, StartupMessageKind::errorAbort, false},
      {FLASH_PLAYER_INSTALL_FAILED, StartupMessageKind::errorOk, true},
      {FLASH_PLAYER_NOT_FOUND, StartupMessageKind::information, true},
      {STATUS_INSTALL_IN_PROGRESS, StartupMessageKind::information, false},
      {FLASH_INSTALLER_MISSING, StartupMessageKind::errorAbort, false},
      {-34, StartupMessageKind::errorAbort, false},
      {5, StartupMessageKind::errorAbort, false},
  };
  for (const Case &c : cases) {
    const StartupMessage message = startupEndMessage(c.status, installerText);
    EXPECT_EQ(message.kind, c.kind) << c.status;
    const size_t at = message.text.find(address);
    EXPECT_EQ(at != std::string::npos, c.namesAddress) << c.status;
    if (at != std::string::npos) {
      EXPECT_EQ(message.text.find(address, at + 1), std::string::npos);
    }
  }
  EXPECT_EQ(startupEndMessage(-531, installerText).text,
            "Installer file is corrupted. Lumavane Error: -531. ");
  EXPECT_EQ(startupEndMessage(183, installerText).text,
            "Installer file is corrupted. Lumavane Error: 183. ");
  EXPECT_EQ(startupEndMessage(STATUS_INSTALL_IN_PROGRESS, installerText).text,
            installerText(IDS_INSTALL_IN_PROGRESS));
  // An installation in the preparing window that failed is no damaged file.
  EXPECT_EQ(preparingInstallEndMessage(-13, installerText).text, "Install failed. Error: -13");
}

// Each exact switch in any letter case; "/qn" is quiet too and counts as
// one of the quiet switches told to the launcher; the last "/log=" wins.
TEST(InstallerCommandLine, EachSwitchIsReadWhereverItStands) {
  struct Case {
    std::vector<std::string> parameters;
    int quiet;
    bool silent, force;
    std::string log;
    uint32_t launcherWindow = 0;
  } cases[] = {
      {{}, 0, false, false, ""},
      {{"/q"}, 1, false, false, ""},
      {{"/q", "/Q"}, 2, false, false, ""},
      {{"/l=123", "/q"}, 1, false, false, "", 123},
      {{"/QN", "/l=123"}, 1, true, false, "", 123},
      {{"/q", "/qn"}, 2, true, false, ""},
      {{"/quiet", "/q ", "q", "-q", "/", "/qnx", "/forced", "/log", "/l=x"}, 0, false, false, ""},
      {{"/Force", "/LOG=C:\\setup.log"}, 0, false, true, "C:\\setup.log"},
      {{"/log=\"C:\\my logs\\setup.log\""}, 0, false, false, "C:\\my logs\\setup.log"},
      {{"/log=first.log", "/log=second.log"}, 0, false, false, "second.log"},
      {{"/log=\""}, 0, false, false, "\""},
  };
  for (const Case &c : cases) {
    const InstallerSwitches switches = readInstallerSwitches(c.parameters);
    const std::string shown = c.parameters.empty() ? "" : c.parameters.front();
    EXPECT_EQ(switches.quietSwitches, c.quiet) << shown;
    EXPECT_EQ(switches.silent, c.silent) << shown;
    EXPECT_EQ(switches.force, c.force) << shown;
    EXPECT_EQ(switches.logPath, c.log) << shown;
    EXPECT_EQ(switches.launcherWindow, c.launcherWindow) << shown;
  }
  EXPECT_EQ(readInstallerSwitches({"/q", "/LANG=de", "/lang=fr"}).languageCode, "fr");
}

// What the user reads for each failure a package operation tells; every box
// has the one "&Abort" button.
TEST(FailureMessages, EachFailureTellsItsStatusAndSubject) {
  struct Case {
    Failure failure;
    const char *systemText;
    DialogKind kind;
    std::string text;
  } cases[] = {
      {{FailureKind::File, STATUS_SHORT_HEADER, "C:\\w\\temp.dat"},
       "",
       DialogKind::Error,
       "Installation Error: C:\\w\\temp.dat\r\n\r\nProblem with file C:\\w\\temp.dat. "},
      {{FailureKind::File, STATUS_ENTRY_ABSENT, ""},
       "",
       DialogKind::Error,
       "Installation Error: \r\n\r\nProblem with file . "},
      {{FailureKind::ExpansionSetUp, 5, "C:\\s\\a.txt"},
       "Access is denied.",
       DialogKind::Error,
       "Zip Error: Problem expanding data in memory. \r\n\r\nAccess is denied."},
      {{FailureKind::DataFileInUse, STATUS_OK, "d.dat"},
       "",
       DialogKind::Information,
       "Lumavane Error: Screen saver data file already in use."},
      {{FailureKind::DataFileOpen, STATUS_SHORT_ENTRY, "d.dat"},
       "",
       DialogKind::Error,
       "Problem opening screen saver data file.\r\n\r\nFile: d.dat\r\n\r\n-30"},
      {{FailureKind::DataFileRead, 112, "C:\\s\\b.txt"},
       "Disk full",
       DialogKind::Error,
       "Lumavane Error: Problem reading screen saver data file. Disk full"},
      {{FailureKind::DataFileClose, 6, ""},
       "The handle is invalid.",
       DialogKind::Error,
       "Problem closing file.\r\n\r\nFile: \r\nThe handle is invalid."},
  };
  for (const Case &c : cases) {
    const FailureMessage message = failureMessage(c.failure, c.systemText, installerText);
    EXPECT_EQ(message.kind, c.kind) << c.text;
    EXPECT_EQ(message.buttons, DialogButtons::Abort) << c.text;
    EXPECT_EQ(message.text, c.text);
  }
}
