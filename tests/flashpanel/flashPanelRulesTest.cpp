// The player check of the movie panel.
#include <gtest/gtest.h>

#include "flash/flashPanelRules.h"

TEST(FlashPlayerVersionStatus, RefusesAMissingPlayerAndAMovieNewerThanThePlayer) {
  EXPECT_EQ(FLASH_PANEL_NO_PLAYER, flashPlayerVersionStatus(false, 9, 8));
  EXPECT_EQ(FLASH_PANEL_PLAYER_TOO_OLD, flashPlayerVersionStatus(true, 7, 8));
  EXPECT_EQ(FLASH_PANEL_PLAYER_TOO_OLD, flashPlayerVersionStatus(true, 0, 3));
}

TEST(FlashPlayerVersionStatus, AcceptsMoviesUpToThePlayersMajorVersion) {
  EXPECT_EQ(0, flashPlayerVersionStatus(true, 9, 8));
  EXPECT_EQ(0, flashPlayerVersionStatus(true, 9, 9));
  // A movie whose header was not read passes whatever player was found.
  EXPECT_EQ(0, flashPlayerVersionStatus(true, 0, 0));
}
