#include <gtest/gtest.h>

#include "launcher/installerLaunchPlan.h"

using Lines = std::vector<std::string>;

TEST(InstallerLaunchPlan, WithoutQuietSwitchPassesOnlyTheHandle) {
  InstallerLaunchPlan plan = planInstallerLaunch(4063302, {"/x", "/quiet"});
  EXPECT_EQ(plan.parameters, "/l=4063302");
  EXPECT_FALSE(plan.minimised);
  EXPECT_EQ(plan.traceLines, (Lines{"command line parameter: /x", "command line parameter: /quiet",
                                    "subLaunchParams: /l=4063302"}));
}

TEST(InstallerLaunchPlan, QuietSwitchInAnyCaseComesFirstAndStopsTheScan) {
  for (const char *quiet : {"/q", "/Q"}) {
    InstallerLaunchPlan plan = planInstallerLaunch(70, {"other", quiet, "/never-looked-at"});
    EXPECT_EQ(plan.parameters, "/q /l=70");
    EXPECT_TRUE(plan.minimised);
    EXPECT_EQ(plan.traceLines,
              (Lines{"command line parameter: other", std::string("command line parameter: ") + quiet,
                     "installerType = QUIET_TYPE, hiding preparingInstallWnd"}));
  }
}

TEST(InstallerLaunchPlan, NoParametersAndLargeHandles) {
  InstallerLaunchPlan plan = planInstallerLaunch(4294967295u, {});
  EXPECT_EQ(plan.parameters, "/l=4294967295");
  EXPECT_EQ(plan.traceLines, (Lines{"subLaunchParams: /l=4294967295"}));
}
