// The uninstall entry's values as a table: which a package gets, in what
// form, with and without a version.
#include <gtest/gtest.h>

#include "installer/uninstallEntry.h"

#include <map>

namespace {

// name -> the value as text, numbers in decimal.
std::map<std::string, std::string> valuesOf(const InstallPlan &plan, const EntryFacts &facts) {
  std::map<std::string, std::string> values;
  for (const EntryValue &value : uninstallEntryValues(plan, facts))
    values[value.name] = value.isNumber ? std::to_string(value.number) : value.text;
  return values;
}

InstallPlan oceanPlan() {
  InstallPlan plan;
  plan.displayName = "Ocean Screen Saver";
  plan.icon = "C:\\Windows\\system32\\Ocean.scr";
  plan.folders.saver = "C:\\ProgramData\\Lumavane\\Ocean\\";
  return plan;
}

const EntryFacts CARRIED{"\"C:\\ProgramData\\Lumavane\\Ocean\\saverremove.exe\" /n=\"Ocean\"", true, 1234,
                         "20261210"};

TEST(UninstallEntryValues, WithoutAVersionTheEntryIsAsItAlwaysWas) {
  const std::map<std::string, std::string> expected = {{"DisplayName", "Ocean Screen Saver"},
                                                       {"UninstallString", CARRIED.command},
                                                       {"DisplayIcon", "C:\\Windows\\system32\\Ocean.scr"},
                                                       {"EstimatedSize", "1234"},
                                                       {"NoModify", "1"},
                                                       {"NoRepair", "1"}};
  InstallPlan plan = oceanPlan();
  plan.homepage = "https://example.test";  // counts only with a version
  EXPECT_EQ(valuesOf(plan, CARRIED), expected);
}

TEST(UninstallEntryValues, AVersionBringsWhatPackageManagersRead) {
  InstallPlan plan = oceanPlan();
  plan.publisher = "Lumen";
  plan.version = "2.10.3";
  plan.homepage = "https://example.test";
  plan.supportUrl = "https://example.test/help";
  const std::map<std::string, std::string> values = valuesOf(plan, CARRIED);
  const std::map<std::string, std::string> expected = {
      {"Publisher", "Lumen"},
      {"DisplayVersion", "2.10.3"},
      {"VersionMajor", "2"},
      {"VersionMinor", "10"},
      {"InstallLocation", "C:\\ProgramData\\Lumavane\\Ocean\\"},
      {"InstallDate", "20261210"},
      {"URLInfoAbout", "https://example.test"},
      {"HelpLink", "https://example.test/help"},
      {"QuietUninstallString", CARRIED.command + " /q"}};
  for (const auto &[name, value] : expected)
    EXPECT_EQ(values.contains(name) ? values.at(name) : "<none>", value) << name;
  EXPECT_EQ(values.size(), expected.size() + 6);  // and the six every entry has
}

TEST(UninstallEntryValues, TheSaversOwnUninstallHasNoQuietCommand) {
  InstallPlan plan = oceanPlan();
  plan.version = "1.0";
  const EntryFacts own{"C:\\Windows\\system32\\Ocean.scr /u", false, 1, "20261210"};
  EXPECT_FALSE(valuesOf(plan, own).contains("QuietUninstallString"));
}

TEST(UninstallEntryValues, EveryValueAnEntryMayLackIsClearedWhenNotWritten) {
  InstallPlan plan = oceanPlan();
  plan.publisher = "Lumen";
  plan.version = "1.0";
  plan.homepage = plan.supportUrl = "https://example.test";
  plan.languages = "en,de";
  const std::map<std::string, std::string> bare = valuesOf(oceanPlan(), CARRIED);
  for (const auto &[name, value] : valuesOf(plan, CARRIED)) {
    if (bare.contains(name)) continue;
    bool cleared = false;
    for (size_t i = 0; i < OPTIONAL_ENTRY_VALUE_COUNT; ++i) cleared |= name == OPTIONAL_ENTRY_VALUES[i];
    EXPECT_TRUE(cleared) << name;
  }
}

TEST(UninstallEntryValues, OfferedLanguagesAreKeptForTheUninstaller) {
  InstallPlan plan = oceanPlan();
  EXPECT_FALSE(valuesOf(plan, CARRIED).contains("Languages"));
  plan.languages = "en,de";
  EXPECT_EQ(valuesOf(plan, CARRIED).at("Languages"), "en,de");
}

TEST(UninstallEntryValues, InstallDateIsEightDigits) {
  EXPECT_EQ(installDateText(2026, 12, 10), "20261210");
  EXPECT_EQ(installDateText(2027, 1, 2), "20270102");
}

}  // namespace
