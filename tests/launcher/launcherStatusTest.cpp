#include <gtest/gtest.h>

#include "launcher/launcherStatus.h"

TEST(LauncherStatus, InputOutputCodesAreReportedNegated) {
  EXPECT_EQ(negatedIoCode(32), -32);
  EXPECT_EQ(negatedIoCode(0), 0);
  EXPECT_EQ(negatedIoCode(STATUS_NOTHING_APPENDED), STATUS_NOTHING_APPENDED);
}

TEST(LauncherStatus, MessagesCarryTheirExactWording) {
  EXPECT_EQ(corruptInstallerMessage(-7), "Installer file is corrupted. Error: -7. ");
  EXPECT_EQ(extractionIoErrorMessage("Setup.exe", "Access denied."),
            "Lumavane Error: Setup.exe\r\n\r\nAccess denied.");
  EXPECT_EQ(copyDataSenderLine(-5), "WM_CopyData from: -5");
  EXPECT_EQ(receivedCommandLine("Close", "08.12.2026"), "Received MESSSAGE \"Close\" at 08.12.2026");
}

TEST(LauncherStatus, FileNamePartDropsAnyFolder) {
  EXPECT_EQ(fileNamePart("C:\\Downloads\\My Setup.exe"), "My Setup.exe");
  EXPECT_EQ(fileNamePart("D:Setup.exe"), "Setup.exe");
  EXPECT_EQ(fileNamePart("Setup.exe"), "Setup.exe");
  EXPECT_EQ(fileNamePart("C:\\folder\\"), "");
}
