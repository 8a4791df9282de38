#include "package/packageVersion.h"

#include <gtest/gtest.h>

namespace {

TEST(PackageVersion, TwoToFourPartsOfAtMost65535) {
  struct Case {
    const char *text;
    bool valid;
  };
  const Case cases[] = {
      {"2.1", true},   {"2.1.0", true},      {"0.0.0.0", true},  {"65535.65535.65535.65535", true},
      {"2", false},    {"1.2.3.4.5", false}, {"65536.0", false}, {"999999.1", false},
      {"1..2", false}, {"1.2.", false},      {".1.2", false},    {"1.-2", false},
      {"+1.2", false}, {" 1.2", false},      {"1.2 ", false},    {"1.2a", false},
      {"", false},     {"0000001.2", false},
  };
  for (const Case &c : cases) {
    PackageVersion version;
    EXPECT_EQ(c.valid, parseVersion(c.text, version)) << c.text;
  }
}

TEST(PackageVersion, MissingPartsCountAsZeroAndEachPartIsANumber) {
  auto parsed = [](const char *text) {
    PackageVersion version;
    EXPECT_TRUE(parseVersion(text, version)) << text;
    return version;
  };
  EXPECT_EQ(0, compareVersions(parsed("2.1"), parsed("2.1.0.0")));
  EXPECT_LT(compareVersions(parsed("2.9"), parsed("2.10")), 0);  // not compared as text
  EXPECT_GT(compareVersions(parsed("2.1.0.1"), parsed("2.1")), 0);
  EXPECT_LT(compareVersions(parsed("1.65535"), parsed("2.0")), 0);
}

}  // namespace
