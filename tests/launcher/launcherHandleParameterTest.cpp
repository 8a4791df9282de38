#include <gtest/gtest.h>

#include "installer/launcherHandleParameter.h"

TEST(LauncherHandleParameter, TakesTheFirstParameterThatBeginsWithTheSwitch) {
  EXPECT_EQ(launcherHandleFromParameters({"/q", "/l=65570"}), 65570u);
  EXPECT_EQ(launcherHandleFromParameters({"/l=12", "/l=34"}), 12u);
  EXPECT_EQ(launcherHandleFromParameters({"/l=4294967295"}), 4294967295u);
}

TEST(LauncherHandleParameter, PrefixTestIsCaseSensitiveButRemovalIsNot) {
  EXPECT_EQ(launcherHandleFromParameters({"/L=12"}), 0u);
  EXPECT_EQ(launcherHandleFromParameters({"/L=12", "/l=7"}), 7u);
  EXPECT_EQ(launcherHandleFromParameters({"/l=1/L=2"}), 12u);
  EXPECT_EQ(launcherHandleFromParameters({"x/l=5"}), 0u);
}

TEST(LauncherHandleParameter, NoUsableNumberGivesNoHandle) {
  EXPECT_EQ(launcherHandleFromParameters({}), 0u);
  EXPECT_EQ(launcherHandleFromParameters({"/q"}), 0u);
  EXPECT_EQ(launcherHandleFromParameters({"/l="}), 0u);
  EXPECT_EQ(launcherHandleFromParameters({"/l=12ab", "/l=5"}), 0u);
  EXPECT_EQ(launcherHandleFromParameters({"/l=-5"}), 0u);
  EXPECT_EQ(launcherHandleFromParameters({"/l=4294967296"}), 0u);
  EXPECT_EQ(launcherHandleFromParameters({"/l=99999999999999999999"}), 0u);
}
