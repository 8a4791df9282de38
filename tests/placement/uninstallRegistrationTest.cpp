// The uninstall entry in the test prefix's registry, and the names taken
// from the installer's string table.
#include "common/QRX_FileUtils.h"
#include "installer/installObservers.h"
#include "installer/placementRules.h"
#include "package/installedSaver.h"
#include "installer/stringTable.h"
#include "installer/uninstallRegistration.h"
#include "placementFixtures.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

using placement_test::initSystemPathsForTest;

std::string readValue(HKEY root, const std::string &keyPath, const char *name) {
  char value[1024];
  DWORD size = sizeof value;
  if (RegGetValueA(root, keyPath.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
    return "<missing>";
  return value;
}

bool keyExists(HKEY root, const std::string &keyPath) {
  HKEY key;
  if (RegOpenKeyExA(root, keyPath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

class UninstallEntry : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(initSystemPathsForTest(), 0);
    keyPath = uninstallKeyPath(saverName);
    removeKeys();
  }
  void TearDown() override { removeKeys(); }

  void removeKeys() {
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, keyPath.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, keyPath.c_str());
  }

  void createEmptyKey(HKEY root) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(root, keyPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
  }

  void writeEntry(HKEY root) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(root, keyPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, "DisplayName", 0, REG_SZ, reinterpret_cast<const BYTE *>("x"), 2);
    RegSetValueExA(key, "UninstallString", 0, REG_SZ, reinterpret_cast<const BYTE *>("y"), 2);
    RegCloseKey(key);
  }

  const std::string saverName = "Ocean Placement Test";
  std::string keyPath;
  QuietObserver quiet;
};

// The plan's entry values for a saver of that name and coded name.
InstallPlan planFor(const std::string &saverName, const std::string &codedName) {
  InstallPlan plan;
  plan.saverName = saverName;
  plan.codedShortName = codedName;
  plan.folders.saver = saverFolderOf(pathCommonAppData, codedName);
  plan.uninstallKey = uninstallKeyPath(saverName);
  plan.displayName = UninstallDisplayNameFor(saverName);
  plan.icon = pathSystem + saverProgramName(codedName);
  plan.ownUninstallCommand = uninstallCommand(pathSystem, codedName);
  return plan;
}

TEST_F(UninstallEntry, WrittenUnderLocalMachine) {
  EXPECT_EQ(RegisterUninstall(planFor(saverName, "Ocea1234"), quiet), 0);
  EXPECT_EQ(readValue(HKEY_LOCAL_MACHINE, keyPath, "DisplayName"), "Ocean Placement Test Screen Saver");
  EXPECT_EQ(readValue(HKEY_LOCAL_MACHINE, keyPath, "UninstallString"), pathSystem + "Ocea1234.scr /u");
  EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, keyPath));

  EXPECT_EQ(UnregisterUninstall(saverName), 0);
  EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, keyPath));
}

TEST_F(UninstallEntry, RegisteringAgainReplacesTheValues) {
  writeEntry(HKEY_LOCAL_MACHINE);
  EXPECT_EQ(RegisterUninstall(planFor(saverName, "Ocea1234"), quiet), 0);
  EXPECT_EQ(readValue(HKEY_LOCAL_MACHINE, keyPath, "UninstallString"), pathSystem + "Ocea1234.scr /u");
}

TEST_F(UninstallEntry, AVersionedEntryIsWholeAndAnUnversionedOneLosesItsVersion) {
  InstallPlan plan = planFor(saverName, "Ocea1234");
  plan.version = "2.1.0";
  plan.supportUrl = "https://example.test/help";
  EXPECT_EQ(RegisterUninstall(plan, quiet), 0);
  EXPECT_EQ(readValue(HKEY_LOCAL_MACHINE, keyPath, "DisplayVersion"), "2.1.0");
  EXPECT_EQ(readValue(HKEY_LOCAL_MACHINE, keyPath, "InstallLocation"), plan.folders.saver);
  EXPECT_EQ(readValue(HKEY_LOCAL_MACHINE, keyPath, "HelpLink"), "https://example.test/help");
  EXPECT_EQ(readValue(HKEY_LOCAL_MACHINE, keyPath, "InstallDate").size(), 8u);
  // The saver's own "/u" asks; there is no quiet command to offer.
  EXPECT_EQ(readValue(HKEY_LOCAL_MACHINE, keyPath, "QuietUninstallString"), "<missing>");

  EXPECT_EQ(RegisterUninstall(planFor(saverName, "Ocea1234"), quiet), 0);
  EXPECT_EQ(readValue(HKEY_LOCAL_MACHINE, keyPath, "DisplayVersion"), "<missing>");
  EXPECT_EQ(readValue(HKEY_LOCAL_MACHINE, keyPath, "HelpLink"), "<missing>");
}

// Wine grants an administrator every key whatever its access list says, so
// the refusal comes from the registry's own rule instead: HKEY_LOCAL_MACHINE
// is redirected to a volatile key, below which a lasting key cannot be made.
class RefusedLocalMachine {
 public:
  RefusedLocalMachine() {
    RegCreateKeyExA(HKEY_CURRENT_USER, VOLATILE_ROOT, 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS,
                    nullptr, &root_, nullptr);
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, root_);
  }
  ~RefusedLocalMachine() {
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    RegCloseKey(root_);
    RegDeleteKeyA(HKEY_CURRENT_USER, VOLATILE_ROOT);
  }

 private:
  static constexpr const char *VOLATILE_ROOT = "Software\\PlacementTestVolatileMachine";
  HKEY root_ = nullptr;
};

TEST_F(UninstallEntry, RefusedLocalMachineFallsBackToCurrentUser) {
  {
    RefusedLocalMachine refused;
    HKEY key;
    ASSERT_NE(RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegisterUninstall(planFor(saverName, "Ocea1234"), quiet), 0);
    // With no machine entry to remove, the user's is not looked at.
    EXPECT_EQ(UnregisterUninstall(saverName), 0);
  }
  EXPECT_EQ(readValue(HKEY_CURRENT_USER, keyPath, "DisplayName"), "Ocean Placement Test Screen Saver");
  EXPECT_EQ(readValue(HKEY_CURRENT_USER, keyPath, "UninstallString"), pathSystem + "Ocea1234.scr /u");
  EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, keyPath));
}

TEST_F(UninstallEntry, AbsentMachineKeyLeavesCurrentUserAlone) {
  writeEntry(HKEY_CURRENT_USER);
  EXPECT_EQ(UnregisterUninstall(saverName), 0);
  EXPECT_EQ(readValue(HKEY_CURRENT_USER, keyPath, "DisplayName"), "x");
}

TEST_F(UninstallEntry, MachineFailureGoesOnToCurrentUser) {
  createEmptyKey(HKEY_LOCAL_MACHINE);  // no values to delete
  writeEntry(HKEY_CURRENT_USER);
  EXPECT_EQ(UnregisterUninstall(saverName), 0);
  EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, keyPath));
  EXPECT_TRUE(keyExists(HKEY_LOCAL_MACHINE, keyPath));
}

TEST_F(UninstallEntry, FailureUnderBothRootsKeepsTheKeys) {
  createEmptyKey(HKEY_LOCAL_MACHINE);
  createEmptyKey(HKEY_CURRENT_USER);
  EXPECT_EQ(UnregisterUninstall(saverName), STATUS_UNREGISTER_UNINSTALL_FAILED);
  EXPECT_TRUE(keyExists(HKEY_LOCAL_MACHINE, keyPath));
  EXPECT_TRUE(keyExists(HKEY_CURRENT_USER, keyPath));
}

TEST_F(UninstallEntry, NamesThatLeaveTheListAreRefused) {
  EXPECT_EQ(RegisterUninstall(planFor("", "Ocea1234"), quiet), STATUS_REGISTER_UNINSTALL_FAILED);
  EXPECT_EQ(RegisterUninstall(planFor("..\\Run", "Ocea1234"), quiet), STATUS_REGISTER_UNINSTALL_FAILED);
  EXPECT_EQ(UnregisterUninstall(""), 0);
  EXPECT_TRUE(keyExists(HKEY_LOCAL_MACHINE, uninstallKeyPath("")));
}

TEST(SaverTitles, WordsComeFromTheStringTable) {
  EXPECT_EQ(UninstallDisplayNameFor("Ocean Saver"), "Ocean Saver");
  EXPECT_EQ(InstallerTitleFor("Ocean Saver"), "Install: Ocean Saver");
  EXPECT_EQ(UninstallDisplayNameFor("Ocean"), "Ocean Screen Saver");
  EXPECT_EQ(InstallerTitleFor("Ocean"), "Install Screen Saver: Ocean");
}

}  // namespace
