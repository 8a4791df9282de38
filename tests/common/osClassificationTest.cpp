#include "common/osClassification.h"

#include <gtest/gtest.h>

namespace {

struct VersionRow {
  WindowsVersion version;
  int32_t code;
  const char *flags;  // 95, 98, ME, NT, 2000, XP as '0'/'1'
};

std::string flagText(const WindowsVersionFlags &f) {
  std::string text;
  for (bool flag : {f.windows95, f.windows98, f.windowsME, f.windowsNT, f.windows2000, f.windowsXP})
    text += flag ? '1' : '0';
  return text;
}

const VersionRow versionTable[] = {
    {{PLATFORM_WINDOWS_9X, 4, 0, ""}, OS_WINDOWS_95, "100000"},
    {{PLATFORM_WINDOWS_9X, 4, 10, ""}, OS_WINDOWS_98, "010000"},
    {{PLATFORM_WINDOWS_9X, 4, 10, " B "}, OS_WINDOWS_98, "010000"},
    {{PLATFORM_WINDOWS_9X, 4, 10, "A"}, OS_WINDOWS_98, "010000"},
    {{PLATFORM_WINDOWS_9X, 4, 10, " A "}, OS_WINDOWS_98_SE, "010000"},
    {{PLATFORM_WINDOWS_9X, 4, 90, " "}, OS_WINDOWS_ME, "001000"},
    {{PLATFORM_WINDOWS_9X, 4, 20, ""}, OS_UNKNOWN, "000000"},
    {{PLATFORM_WINDOWS_NT, 3, 51, ""}, OS_WINDOWS_NT, "000100"},
    {{PLATFORM_WINDOWS_NT, 4, 0, "Service Pack 6"}, OS_WINDOWS_NT, "000100"},
    {{PLATFORM_WINDOWS_NT, 5, 0, "Service Pack 4"}, OS_WINDOWS_2000, "000010"},
    {{PLATFORM_WINDOWS_NT, 5, 1, "Service Pack 3"}, OS_WINDOWS_XP, "000001"},
    {{PLATFORM_WINDOWS_NT, 5, 2, ""}, OS_UNKNOWN, "000000"},
    {{PLATFORM_WINDOWS_NT, 6, 1, "Service Pack 1"}, OS_UNKNOWN, "000000"},
    {{PLATFORM_WINDOWS_NT, 10, 0, ""}, OS_UNKNOWN, "000000"},
    {{0, 3, 10, ""}, OS_UNKNOWN, "000000"},  // Win32s
};

TEST(OsClassification, TableRows) {
  for (const VersionRow &row : versionTable) {
    const WindowsVersion &v = row.version;
    const std::string name = std::to_string(v.platformId) + " " + std::to_string(v.major) + "." +
                             std::to_string(v.minor) + " '" + v.servicePack + "'";
    EXPECT_EQ(operatingSystemCode(false, v), row.code) << name;
    EXPECT_EQ(flagText(windowsVersionFlagsOf(v)), row.flags) << name;
  }
}

TEST(OsClassification, Wow64WinsOverAnyVersion) {
  EXPECT_EQ(operatingSystemCode(true, WindowsVersion{PLATFORM_WINDOWS_NT, 5, 1, ""}), OS_64BIT_WINDOWS);
  EXPECT_EQ(operatingSystemCode(true, std::nullopt), OS_64BIT_WINDOWS);
}

TEST(OsClassification, FailedVersionQuery) {
  EXPECT_EQ(operatingSystemCode(false, std::nullopt), OS_UNKNOWN);
  EXPECT_EQ(flagText(windowsVersionFlagsOf(std::nullopt)), "000000");
}

}  // namespace
