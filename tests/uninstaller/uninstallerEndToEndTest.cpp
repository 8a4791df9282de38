// The carried uninstaller under Wine, end to end: packages around a saver
// program that has no "/u" of its own (the test saver is plain bytes) are
// installed through the real launcher, and the command their uninstall entry
// holds is run as Windows runs it.
#include "common/statusCodes.h"
#include "installerFixture.h"

#include <shlwapi.h>

#include <fstream>
#include <iterator>

namespace {

const char SECOND_SAVER[] = "Reef";  // shares the test saver's library
const char UNINSTALL_LIST[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const char SHARED_COUNTS[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
const DWORD NOTHING_TO_REMOVE = static_cast<DWORD>(-2204);

std::string sharedLibrary() { return sharedSaverFolder() + SHARED_LIBRARY; }

// The count of users the shared library has; 0 without one.
DWORD sharedLibraryUsers() {
  DWORD count = 0, size = sizeof count;
  if (SHGetValueA(HKEY_LOCAL_MACHINE, SHARED_COUNTS, sharedLibrary().c_str(), nullptr, &count, &size) !=
      ERROR_SUCCESS)
    return 0;
  return count;
}

DWORD entryNumber(const std::string &saverName, const char *name) {
  DWORD value = 0, size = sizeof value;
  const std::string key = std::string(UNINSTALL_LIST) + "\\" + saverName;
  SHGetValueA(HKEY_LOCAL_MACHINE, key.c_str(), name, nullptr, &value, &size);
  return value;
}

std::string entryText(const std::string &saverName, const char *name) {
  char text[MAX_PATH] = "";
  DWORD size = sizeof text;
  const std::string key = std::string(UNINSTALL_LIST) + "\\" + saverName;
  return SHGetValueA(HKEY_LOCAL_MACHINE, key.c_str(), name, nullptr, text, &size) == ERROR_SUCCESS ? text
                                                                                                   : "";
}

// The test saver under another name: a second saver with the same library.
void asSecondSaver(std::string &manifest) {
  manifest.replace(manifest.find("\"Tide\""), 6, "\"Reef\"");
  manifest.replace(manifest.find("\"Tide.scr\""), 10, "\"Reef.scr\"");
}

void writeSecondProgram(const std::filesystem::path &folder) {
  EXPECT_TRUE(
      CopyFileA((folder / SAVER_PROGRAM).string().c_str(), (folder / "Reef.scr").string().c_str(), FALSE));
}

// Waits for the program's box with this caption, keeps its text and clicks
// the button.
std::string answerBox(DWORD program, const char *caption, const char *button) {
  HWND box = driver::waitForTopLevelWindow({caption, "#32770", program, true}, INSTALLER_TIMEOUT_MS);
  if (box == nullptr) return "<no box " + std::string(caption) + ">";
  const std::vector<std::string> texts = driver::staticTexts(box);
  EXPECT_TRUE(driver::clickButton(box, button)) << caption;
  driver::waitForWindowGone(box, 20000);
  return texts.empty() ? "" : texts.front();
}

// Runs the command line as the list of installed programs does; answer
// works its boxes. The exit code, or ~0 when it did not end.
DWORD runCommand(const std::string &commandLine, const std::function<void(DWORD)> &answer = nullptr) {
  driver::TestProgram program;
  if (!program.start(commandLine)) return ~0u;
  if (answer) answer(program.processId());
  DWORD exitCode = ~0u;
  return program.waitForExit(INSTALLER_TIMEOUT_MS, &exitCode) ? exitCode : ~0u;
}

// The test saver as a versioned package with its web addresses.
void asVersion210(std::string &manifest) {
  const std::string publisher = "\"publisher\": \"Tide Works\",";
  manifest.insert(manifest.find(publisher) + publisher.size(),
                  " \"version\": \"2.1.0\", \"homepage\": \"https://tide.test/\","
                  " \"supportUrl\": \"https://tide.test/help\",");
}

// What Wine's own list of installed programs shows, one program a line.
std::string wineProgramList() {
  const std::string listed = temporaryFolder() + "programs.txt";
  DeleteFileA(listed.c_str());
  EXPECT_EQ(runCommand("cmd.exe /c uninstaller.exe --list > \"" + listed + "\""), 0u);
  std::ifstream file(listed, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  file.close();
  DeleteFileA(listed.c_str());
  return text;
}

// What Windows does at its next start: the orders for it are carried out.
void restartWindows() { EXPECT_EQ(runCommand("wineboot.exe -r"), 0u); }

class CarriedUninstaller : public InstallerEndToEnd {
 protected:
  void SetUp() override {
    InstallerEndToEnd::SetUp();
    driver::removeInstalledSaver({SECOND_SAVER, SECOND_SAVER, {}});
    SHDeleteValueA(HKEY_LOCAL_MACHINE, SHARED_COUNTS, sharedLibrary().c_str());
    // From a machine with none of our savers: the last uninstall takes the
    // empty shared folder with it.
    RemoveDirectoryA(sharedSaverFolder().c_str());
  }
  void TearDown() override {
    driver::removeInstalledSaver({SECOND_SAVER, SECOND_SAVER, {}});
    SHDeleteValueA(HKEY_LOCAL_MACHINE, SHARED_COUNTS, sharedLibrary().c_str());
    InstallerEndToEnd::TearDown();
  }

  void install(const std::string &launcher) {
    DWORD exitCode = 99;
    ASSERT_TRUE(runLauncherToEnd(launcher, "/q", &exitCode, [](DWORD) {}));
    ASSERT_EQ(exitCode, 0u);
  }
};

TEST_F(CarriedUninstaller, QuietUninstallLeavesTheMachineAsBeforeAndASecondRunFindsNothing) {
  driver::removeWorkFoldersOfEndedRuns();
  const std::set<std::string> before = driver::prefixListing();
  install(buildLauncher("quiet", nullptr, asVersion210));
  expectInstalled();
  EXPECT_EQ(uninstallValue("DisplayIcon"), systemFolder() + SAVER_PROGRAM);
  EXPECT_EQ(uninstallValue("Publisher"), "Tide Works");
  EXPECT_EQ(uninstallValue("DisplayVersion"), "2.1.0");
  EXPECT_EQ(entryNumber(SAVER_NAME, "VersionMajor"), 2u);
  EXPECT_EQ(entryNumber(SAVER_NAME, "VersionMinor"), 1u);
  EXPECT_EQ(uninstallValue("InstallLocation"), saverFolder());
  EXPECT_EQ(uninstallValue("InstallDate").size(), 8u);
  EXPECT_EQ(uninstallValue("URLInfoAbout"), "https://tide.test/");
  EXPECT_EQ(uninstallValue("HelpLink"), "https://tide.test/help");
  EXPECT_GT(entryNumber(SAVER_NAME, "EstimatedSize"), 0u);
  EXPECT_EQ(entryNumber(SAVER_NAME, "NoModify"), 1u);
  EXPECT_EQ(entryNumber(SAVER_NAME, "NoRepair"), 1u);
  EXPECT_EQ(sharedLibraryUsers(), 1u);
  EXPECT_NE(wineProgramList().find(uninstallValue("DisplayName")), std::string::npos);
  // A copy for the second run: the first one takes the uninstaller away.
  const std::string kept = temporaryFolder() + "saverremove-kept.exe";
  ASSERT_TRUE(CopyFileA((saverFolder() + "saverremove.exe").c_str(), kept.c_str(), FALSE));

  // Run as a package manager runs it: a box would keep it from ending.
  EXPECT_EQ(uninstallValue("QuietUninstallString"), uninstallValue("UninstallString") + " /q");
  EXPECT_EQ(runCommand(uninstallValue("QuietUninstallString")), 0u);
  expectNothingInstalled();
  EXPECT_FALSE(exists(sharedLibrary()));
  restartWindows();
  EXPECT_EQ(driver::listingDifference(before, driver::prefixListing()), "");

  std::string told;
  EXPECT_EQ(runCommand("\"" + kept + "\" /n=Tide",
                       [&told](DWORD program) { told = answerBox(program, "Information", "OK"); }),
            NOTHING_TO_REMOVE);
  EXPECT_NE(told.find("nothing to remove"), std::string::npos) << told;
  EXPECT_EQ(driver::listingDifference(before, driver::prefixListing()), "");
  DeleteFileA(kept.c_str());
}

// Foreign things beside the saver's own: a file in the shared folder and an
// uninstall entry of another program. The uninstall asks, removes its own,
// says what it removed, and leaves the foreign ones (and so the shared
// folder) in place.
TEST_F(CarriedUninstaller, InteractiveUninstallAsksAndLeavesForeignThingsAlone) {
  install(buildLauncher("quiet"));
  const std::string foreignFile = sharedSaverFolder() + "Tide.txt";
  const std::string foreignEntry = std::string(UNINSTALL_LIST) + "\\Tide Deluxe";
  const std::string foreignCommand = "\"" + saverFolder() + "..\\Deluxe\\saverremove.exe\" /n=\"Deluxe\"";
  CloseHandle(CreateFileA(foreignFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  SHSetValueA(HKEY_LOCAL_MACHINE, foreignEntry.c_str(), "UninstallString", REG_SZ, foreignCommand.c_str(),
              static_cast<DWORD>(foreignCommand.size()) + 1);

  std::string question, closing;
  EXPECT_EQ(runCommand(uninstallValue("UninstallString"),
                       [&](DWORD program) {
                         question = answerBox(program, "Confirm", "&Yes");
                         closing = answerBox(program, "Information", "OK");
                       }),
            0u);
  EXPECT_EQ(question, "Remove Tide Screen Saver?");
  EXPECT_NE(closing.find(saverFolder()), std::string::npos) << closing;
  EXPECT_NE(closing.find(sharedLibrary()), std::string::npos) << closing;
  expectNothingInstalled();
  EXPECT_TRUE(exists(foreignFile));
  EXPECT_EQ(entryText("Tide Deluxe", "UninstallString"), foreignCommand);

  DeleteFileA(foreignFile.c_str());
  SHDeleteKeyA(HKEY_LOCAL_MACHINE, foreignEntry.c_str());
}

// A package that offers some languages only: its entry keeps them, and the
// uninstaller speaks no other, whatever "/lang=" asks for.
TEST_F(CarriedUninstaller, SpeaksOnlyTheLanguagesThePackageOffers) {
  install(buildLauncher("quiet", nullptr, [](std::string &manifest) {
    manifest.insert(manifest.find('{') + 1, "\"languages\": \"en,de\",");
  }));
  EXPECT_EQ(uninstallValue("Languages"), "en,de");
  std::string question;
  EXPECT_EQ(runCommand(uninstallValue("UninstallString") + " /lang=fr",
                       [&](DWORD program) { question = answerBox(program, "Confirm", "&No"); }),
            static_cast<DWORD>(STATUS_USER_ABORT));
  EXPECT_EQ(question, "Remove Tide Screen Saver?");
}

// Two savers count themselves users of one library: the first uninstall
// keeps it, the second takes it and the shared folder, empty by then.
TEST_F(CarriedUninstaller, SharedLibraryGoesWithItsLastUser) {
  install(buildLauncher("quiet"));
  install(buildLauncher("quiet", writeSecondProgram, asSecondSaver));
  install(buildLauncher("quiet", writeSecondProgram, asSecondSaver));  // once per saver, however often
  EXPECT_EQ(sharedLibraryUsers(), 2u);
  const std::string secondCommand = entryText(SECOND_SAVER, "UninstallString");
  ASSERT_NE(secondCommand, "");

  EXPECT_EQ(runCommand(uninstallValue("UninstallString") + " /q"), 0u);
  EXPECT_TRUE(exists(sharedLibrary()));
  EXPECT_EQ(sharedLibraryUsers(), 1u);
  EXPECT_TRUE(exists(sharedSaverFolder() + "Reef\\saver.dat"));

  EXPECT_EQ(runCommand(secondCommand + " /q"), 0u);
  EXPECT_FALSE(exists(sharedLibrary()));
  EXPECT_EQ(sharedLibraryUsers(), 0u);
  EXPECT_FALSE(exists(sharedSaverFolder()));
  EXPECT_EQ(entryText(SECOND_SAVER, "UninstallString"), "");
}

// Any program of the user can write a per-user entry. This one runs Tide's
// uninstall and lists the library Reef counts itself a user of, once more
// beside Tide's own entry. The uninstall, elevated, takes off Tide's one
// user and leaves Reef's use of the library, and the library, alone.
TEST_F(CarriedUninstaller, APerUserEntryListingAnotherSaversLibraryRemovesNothingOfIt) {
  install(buildLauncher("quiet"));
  install(buildLauncher("quiet", writeSecondProgram, asSecondSaver));
  ASSERT_EQ(sharedLibraryUsers(), 2u);
  const std::string crafted = std::string(UNINSTALL_LIST) + "\\Tide Again";
  const std::string command = uninstallValue("UninstallString");
  const std::string listed = sharedLibrary() + '\0';  // a one-name list
  ASSERT_EQ(SHSetValueA(HKEY_CURRENT_USER, crafted.c_str(), "UninstallString", REG_SZ, command.c_str(),
                        static_cast<DWORD>(command.size()) + 1),
            ERROR_SUCCESS);
  ASSERT_EQ(SHSetValueA(HKEY_CURRENT_USER, crafted.c_str(), "SharedLibraries", REG_MULTI_SZ, listed.c_str(),
                        static_cast<DWORD>(listed.size()) + 1),
            ERROR_SUCCESS);

  EXPECT_EQ(runCommand(command + " /q"), 0u);
  SHDeleteKeyA(HKEY_CURRENT_USER, crafted.c_str());
  EXPECT_EQ(sharedLibraryUsers(), 1u);
  EXPECT_TRUE(exists(sharedLibrary()));
  EXPECT_TRUE(exists(sharedSaverFolder() + "Reef\\saver.dat"));
  EXPECT_NE(entryText(SECOND_SAVER, "UninstallString"), "");
}

// A library that a standard user dropped beside the installed uninstaller is
// not loaded when the entry's command runs it. The build starts these tests
// with Wine told to search version.dll as Windows does, the program's
// folder first; the stand-in records its loading in the record file.
TEST_F(CarriedUninstaller, ALibraryPlantedBesideTheUninstallerIsNeverLoaded) {
  install(buildLauncher("quiet"));
  const std::string record = temporaryFolder() + "planted-record.txt";
  DeleteFileA(record.c_str());
  ASSERT_TRUE(CopyFileA(driver::windowsPathOf(PLANTED_LIBRARY).c_str(),
                        (saverFolder() + "version.dll").c_str(), FALSE));
  SetEnvironmentVariableA("FAKE_INSTALLER_RECORD", record.c_str());
  // Wine's own user32 maps the planted file at the start (see the stand-in),
  // so the uninstall finds it busy: the status is no measure here.
  runCommand(uninstallValue("UninstallString") + " /q");
  SetEnvironmentVariableA("FAKE_INSTALLER_RECORD", nullptr);
  std::ifstream recorded(record, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(recorded), std::istreambuf_iterator<char>()), "");
  recorded.close();
  DeleteFileA(record.c_str());
}

}  // namespace
