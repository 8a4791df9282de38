// The winget manifest of a package names the uninstall entry that installing
// the package writes: winget finds the saver by it, so it must match value
// for value, and its product code is the entry's key name.
#include "installerFixture.h"

#include "tools/saverpack/wingetManifest.h"

#include <gtest/gtest.h>

#include <string>

TEST_F(InstallerEndToEnd, WingetManifestNamesTheEntryTheInstallWrites) {
  const std::string launcher = buildLauncher("quiet", nullptr, [](std::string &manifest) {
    const std::string publisher = "\"publisher\": \"Tide Works\",";
    manifest.replace(manifest.find(publisher), publisher.size(), publisher + " \"version\": \"2.1.0\",");
  });
  WingetManifest manifest;
  std::string error;
  ASSERT_TRUE(makeWingetManifest(readBytes(launcher),
                                 {"TideWorks.Tide", "https://example.com/TideSetup.exe"}, manifest, error))
      << error;
  DWORD exitCode = 99;
  ASSERT_TRUE(runLauncherToEnd(launcher, "/q", &exitCode, [](DWORD) {}));
  ASSERT_EQ(exitCode, 0u);

  const nlohmann::ordered_json &installer = manifest.files.at(1).second;
  ASSERT_EQ(installer["AppsAndFeaturesEntries"].size(), 1u);
  const nlohmann::ordered_json &entry = installer["AppsAndFeaturesEntries"][0];
  for (const char *value : {"DisplayName", "Publisher", "DisplayVersion"})
    EXPECT_EQ(entry[value].get<std::string>(), uninstallValue(value)) << value;
  // uninstallValue reads the key named after the saver.
  EXPECT_EQ(entry["ProductCode"], SAVER_NAME);
  EXPECT_EQ(installer["ProductCode"], SAVER_NAME);
}
