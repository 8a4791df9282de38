// The OS queries in the default test prefix: 64-bit Wine running this
// 32-bit program under WoW64. The 32-bit version table runs in osCodes.sh.
#include "common/QRX_OSUtils.h"

#include <gtest/gtest.h>

namespace {

TEST(OsQueries, SixtyFourBitPrefix) {
  EXPECT_TRUE(isRunningUnderWow64());
  EXPECT_EQ(GetOperatingSystem(), OS_64BIT_WINDOWS);
}

}  // namespace
