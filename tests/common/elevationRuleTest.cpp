// When the installer and the uninstaller start their elevated copy, and the
// copy's command line.
#include "common/elevationRule.h"

#include <gtest/gtest.h>

TEST(ElevationRule, OnlyAMachineRunWithoutRightsRestartsAndOnlyOnce) {
  using S = ElevationStep;
  const struct {
    bool forMachine, elevated, restarted;
    ElevationStep step;
  } rows[] = {
      {true, false, false, S::restartElevated}, {true, true, false, S::runHere},
      {true, false, true, S::runHere},  // the copy's rights were not raised: it fails as before, no loop
      {false, false, false, S::runHere},        {false, true, false, S::runHere},
      {false, false, true, S::runHere},
  };
  for (const auto &row : rows)
    EXPECT_EQ(elevationStepFor({row.forMachine, row.elevated, row.restarted}), row.step)
        << row.forMachine << row.elevated << row.restarted;
}

TEST(ElevationRule, TheCopyGetsTheSameParametersAndItsSwitch) {
  const struct {
    std::vector<std::string> parameters;
    std::string line;
  } rows[] = {
      {{}, "/elevated"},
      {{"/q", "/l=1234"}, "/q /l=1234 /elevated"},
      {{"/log=C:\\My Logs\\run.log"}, "\"/log=C:\\My Logs\\run.log\" /elevated"},
      {{"C:\\a b\\"}, "\"C:\\a b\\\\\" /elevated"},
      {{""}, "\"\" /elevated"},
  };
  for (const auto &row : rows) {
    EXPECT_EQ(elevatedCopyParameters(row.parameters), row.line);
    EXPECT_FALSE(isElevatedCopy(row.parameters));
  }
  EXPECT_TRUE(isElevatedCopy({"/q", "/ELEVATED"}));
  EXPECT_FALSE(isElevatedCopy({"/elevated=1"}));
}
