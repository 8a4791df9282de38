// saversetup under Wine when an installation cannot go the normal way: a
// damaged package, "Cancel", a movie that cannot be played, a saver program
// in use, and the closing and clicking that must change nothing meanwhile.
#include <cstring>
#include <filesystem>
#include <fstream>

#include "codec/memoryCodec.h"
#include "common/statusCodes.h"
#include "installerFixture.h"
#include "launcherBytes.h"

#include <shlobj.h>
#include "package/dataFileFormat.h"
#include "package/integrityRecord.h"
#include "package/propertyRecord.h"
#include "tests/flash/swfBuilder.h"

namespace {

const char WRITING_FILES[] = "Writing screen saver files...";

bool startsWith(const std::string &text, const std::string &prefix) { return text.rfind(prefix, 0) == 0; }

// Answers every box of the caption the installer shows with its only
// button, once, and keeps the message of each.
void answerBoxes(DWORD installer, const char *caption, std::set<HWND> &answered,
                 std::vector<std::string> &messages) {
  for (HWND box : driver::findTopLevelWindows({caption, "#32770", installer, true})) {
    if (!answered.insert(box).second) continue;
    const std::vector<std::string> texts = driver::staticTexts(box);
    messages.push_back(texts.empty() ? "" : texts.front());
    if (startsWith(messages.back(), "Installer file is corrupted. "))
      driver::saveScreenshot("installer-failed-corrupted.png");
    if (startsWith(messages.back(), "The installer file is damaged"))
      driver::saveScreenshot("installer-damaged.png");
    const std::vector<std::string> buttons = driver::buttonCaptions(box);
    if (!buttons.empty()) driver::clickButton(box, buttons.front());
  }
}

// Polls the form until a child shows text; false after the timeout.
bool waitForText(HWND form, const std::string &text) {
  for (DWORD start = GetTickCount(); GetTickCount() - start < INSTALLER_TIMEOUT_MS; Sleep(10))
    if (control(form, text) != nullptr) return true;
  return false;
}

// Makes the package header name a carried movie player of a version the
// installer does not know, a header that fails its checks.
void corruptPackageHeader(const std::string &launcher) {
  const std::filesystem::path programs = std::filesystem::path(launcher).parent_path() / "bin";
  const auto headerStart = std::filesystem::file_size(programs / "saverstart.exe") +
                           std::filesystem::file_size(programs / "saversetup.exe");
  std::fstream file(launcher, std::ios::binary | std::ios::in | std::ios::out);
  file.seekp(static_cast<std::streamoff>(headerStart + 3));
  const char carriesPlayerOfUnknownVersion[] = {1, 127};
  file.write(carriesPlayerOfUnknownVersion, sizeof carriesPlayerOfUnknownVersion);
}

}  // namespace

class InstallerFailure : public InstallerEndToEnd {
 protected:
  // Runs the launcher of a package whose movie is not played: the installation
  // runs at once in the preparing window, which is on the screen and says it
  // succeeded; declining the control panel ends both programs with everything
  // installed and no work folder left.
  void expectInstalledInThePreparingWindow(const std::string &launcher) {
    const std::set<std::string> foldersBefore = workFolders();
    driver::TestProgram launcherProgram;
    ASSERT_TRUE(launcherProgram.start("\"" + launcher + "\"",
                                      std::filesystem::path(launcher).parent_path().string()));
    // The control-panel question comes once the installation is done.
    HWND question = driver::waitForTopLevelWindow({"Confirm", "#32770", 0, true}, INSTALLER_TIMEOUT_MS);
    ASSERT_NE(question, nullptr);
    HWND preparing =
        driver::findTopLevelWindow({"", "TpreparingInstallWnd", driver::processIdOfWindow(question), true});
    ASSERT_NE(preparing, nullptr);
    EXPECT_NE(control(preparing, "Installation Successful."), nullptr);
    EXPECT_TRUE(visibleOnScreen(preparing));
    driver::TestProgram installer;
    ASSERT_TRUE(installer.attach(driver::processIdOfWindow(question)));
    ASSERT_TRUE(driver::clickButton(question, "No"));
    expectBothEnd(installer, launcherProgram);
    expectInstalled();
    EXPECT_EQ(workFolders(), foldersBefore);
  }
};

class InstallerIntegrity : public InstallerEndToEnd {
 protected:
  // Runs the launcher with "/q" to its end, answering every error box: the
  // installer's exit code, and the messages in messages.
  DWORD runQuietly(const std::string &launcher, std::vector<std::string> &messages,
                   const char *caption = "Error") {
    std::set<HWND> answered;
    DWORD exitCode = 99;
    EXPECT_TRUE(runLauncherToEnd(launcher, "/q", &exitCode, [&](DWORD installer) {
      if (installer != 0) answerBoxes(installer, caption, answered, messages);
    }));
    return exitCode;
  }

  void expectRefusedAtStartUp(const std::string &launcher, const std::string &what) {
    const std::set<std::string> foldersBefore = workFolders();
    std::vector<std::string> messages;
    EXPECT_EQ(runQuietly(launcher, messages), static_cast<DWORD>(STATUS_PACKAGE_DAMAGED)) << what;
    ASSERT_EQ(messages.size(), 1u) << what;
    EXPECT_TRUE(startsWith(messages.front(), "The installer file is damaged"))
        << what << ": " << messages.front();
    expectNothingInstalled();
    EXPECT_EQ(workFolders(), foldersBefore) << what;
  }
};

TEST_F(InstallerIntegrity, FlippedByteIsRefusedAtStartUp) {
  const std::string launcher = buildLauncher("quiet");
  const LauncherBytes built(launcher);
  const struct {
    const char *what;
    size_t at;
  } flips[] = {
      {"installer program (the text of its DOS stub)", built.installerAt + 0x60},
      {"entry table (entry 9's expanded size)",
       built.headerAt + offsetof(InstallerHeader, entries) + 9 * 280 + 276},
      {"entry 7", built.entryAt(7) + 1000},
      {"member 2", built.memberHeaderAt(2) + sizeof(DataMemberHeader) + 100},
  };
  for (const auto &flip : flips) {
    LauncherBytes damaged = built;
    damaged.bytes.at(flip.at) ^= 0x10;
    writeBytes(launcher, damaged.bytes);
    expectRefusedAtStartUp(launcher, flip.what);
  }
}

TEST_F(InstallerIntegrity, CutDownloadIsRefusedAtStartUp) {
  const std::string launcher = buildLauncher("quiet");
  LauncherBytes cut(launcher);
  cut.bytes.resize(cut.bytes.size() - 1000);
  writeBytes(launcher, cut.bytes);
  expectRefusedAtStartUp(launcher, "cut download");
}

// A package as packers made it before the record: no record, no tags.
TEST_F(InstallerIntegrity, PackageWithoutRecordInstallsAsBefore) {
  registerMoviePlayer();  // such a package looks for it
  const std::string launcher = buildLauncher("quiet");
  LauncherBytes old(launcher);
  old.removePackageRecord();
  for (int index = 0; index < PACKAGE_ENTRY_COUNT; ++index)
    std::memset(&old.bytes[old.headerAt + offsetof(InstallerHeader, entries) +
                           index * sizeof(PackageEntry) + offsetof(PackageEntry, reserved)],
                0, sizeof(PackageEntry::reserved));
  for (int member = 1; member <= static_cast<int>(MEMBER_PATHS.size()); ++member)
    std::memset(&old.bytes[old.memberHeaderAt(member) + offsetof(DataMemberHeader, reserved2)], 0,
                sizeof(DataMemberHeader::reserved2));
  writeBytes(launcher, old.bytes);
  std::vector<std::string> messages;
  EXPECT_EQ(runQuietly(launcher, messages), 0u);
  EXPECT_TRUE(messages.empty()) << messages.front();
  expectInstalled(Uninstaller::saversOwn);
}

// A property record lies behind the entries, where no installer looks for
// one that does not know it (entry 0 is never extracted), and the package
// CRC covers it.
TEST_F(InstallerIntegrity, PackageWithAPropertyRecordInstallsAsBefore) {
  const std::string launcher = buildLauncher("quiet");
  LauncherBytes withRecord(launcher);
  const uint32_t programSize = static_cast<uint32_t>(withRecord.headerAt - withRecord.installerAt);
  ASSERT_TRUE(addPropertyRecord(withRecord.bytes, withRecord.installerAt, programSize,
                                propertyRecordBytes({{40, "a newer packer's property"}})));
  LauncherBytes damaged = withRecord;
  damaged.bytes.back() ^= 0x10;
  writeBytes(launcher, damaged.bytes);
  expectRefusedAtStartUp(launcher, "a byte of the property record");

  writeBytes(launcher, withRecord.bytes);
  std::vector<std::string> messages;
  EXPECT_EQ(runQuietly(launcher, messages), 0u);
  EXPECT_TRUE(messages.empty()) << messages.front();
  expectInstalled();
}

// With no player registered, a package that needs one, or does not say, is
// refused at start-up as before; a picture package says "none" by default.
TEST_F(InstallerIntegrity, PackageThatLooksForTheMoviePlayerIsToldToGetIt) {
  for (const MoviePlayerNeed need : {MoviePlayerNeed::required, MoviePlayerNeed::notStated}) {
    SCOPED_TRACE(need == MoviePlayerNeed::required ? "required" : "not stated");
    const std::string launcher = buildLauncher("quiet");
    LauncherBytes package(launcher);
    package.setMoviePlayer(need);
    writeBytes(launcher, package.bytes);
    std::vector<std::string> messages;
    EXPECT_EQ(runQuietly(launcher, messages, "Information"), static_cast<DWORD>(FLASH_PLAYER_NOT_FOUND));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(startsWith(messages.front(), "This screen saver requires the latest")) << messages.front();
    expectNothingInstalled();
  }
}

// Without the package record a damaged member still fails its own check as
// it is expanded: the byte chosen keeps the member's size, so only its CRC
// can tell.
TEST_F(InstallerIntegrity, DamagedMemberFailsTheInstallAndIsCleanedUp) {
  registerMoviePlayer();
  const std::string launcher = buildLauncher("quiet");
  LauncherBytes damaged(launcher);
  damaged.removePackageRecord();
  // Member 1 implodes well; the random ones are stored plain.
  const DataMemberHeader member = damaged.memberHeader(1);
  ASSERT_NE(member.compressed, 0);
  const size_t storedAt = damaged.memberHeaderAt(1) + sizeof(DataMemberHeader);
  const std::vector<uint8_t> stored(&damaged.bytes[storedAt], &damaged.bytes[storedAt] + member.storedSize);
  std::vector<uint8_t> original, expanded;
  dcl::explodeBuffer(stored.data(), stored.size(), original);
  size_t flipAt = 16;
  for (; flipAt < stored.size(); ++flipAt) {
    std::vector<uint8_t> flipped = stored;
    flipped[flipAt] ^= 0x10;
    dcl::explodeBuffer(flipped.data(), flipped.size(), expanded);
    if (expanded.size() == original.size() && expanded != original) break;
  }
  ASSERT_LT(flipAt, stored.size());
  damaged.bytes[storedAt + flipAt] ^= 0x10;
  writeBytes(launcher, damaged.bytes);
  const std::set<std::string> foldersBefore = workFolders();
  std::vector<std::string> messages;
  EXPECT_EQ(runQuietly(launcher, messages), static_cast<DWORD>(STATUS_EXPANDED_CRC_MISMATCH));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages.front().find("does not match the checksum"), std::string::npos) << messages.front();
  expectNothingInstalled();
  EXPECT_EQ(workFolders(), foldersBefore);
}

TEST_F(InstallerFailure, CorruptedPackageEndsStartUpWithTheCorruptionMessage) {
  const std::string launcher = buildLauncher("picture");
  corruptPackageHeader(launcher);
  const std::set<std::string> foldersBefore = workFolders();
  std::set<HWND> answered;
  std::vector<std::string> messages;
  DWORD exitCode = 0;
  ASSERT_TRUE(runLauncherToEnd(launcher, "", &exitCode, [&](DWORD installer) {
    if (installer != 0) answerBoxes(installer, "Error", answered, messages);
  }));
  // The header reading names the package copy, then the start-up ends.
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_TRUE(startsWith(messages[0], "Installation Error: ")) << messages[0];
  EXPECT_NE(messages[0].find("temp.dat\r\n\r\nProblem with file "), std::string::npos) << messages[0];
  EXPECT_EQ(messages[1],
            "Installer file is corrupted. Lumavane Error: " + std::to_string(STATUS_INVALID_HEADER) + ". ");
  expectNothingInstalled();
  EXPECT_EQ(workFolders(), foldersBefore);
}

TEST_F(InstallerFailure, CancelDuringExtractionRemovesWhatWasPlacedAndEnds) {
  const std::string launcher = buildLauncher("picture");
  const std::set<std::string> foldersBefore = workFolders();
  driver::TestProgram launcherProgram, installer;
  HWND form = startInteractive(launcher, launcherProgram, installer);
  ASSERT_NE(form, nullptr);

  ASSERT_TRUE(driver::clickButton(form, "Install"));
  ASSERT_TRUE(waitForText(form, WRITING_FILES));
  ASSERT_TRUE(driver::clickButton(form, "Cancel"));
  ASSERT_TRUE(waitForText(form, "Installation Aborted. Cleaning up files..."));
  driver::saveScreenshot("installer-aborted.png");
  // The abort ended with nothing failed, so the program ends by itself.
  expectBothEnd(installer, launcherProgram);
  expectNothingInstalled();
  EXPECT_EQ(workFolders(), foldersBefore);
}

// "Cancel" while a long member is being written stops it within a block:
// the member is never placed (the log names no such file), nothing stays,
// and the run ends as after any other "Cancel".
TEST_F(InstallerFailure, CancelInsideALongMemberStopsItAndRemovesWhatWasPlaced) {
  const size_t length = size_t{128} << 20;
  const std::string launcher = buildLauncher(
      "picture",
      [length](const std::filesystem::path &folder) {
        writeBytes(folder / "members" / "long.bin", randomBytes(length, 11));
      },
      [](std::string &manifest) {
        const std::string compressed = "\"compressMembers\": true";
        manifest.replace(manifest.find(compressed), compressed.size(), "\"compressMembers\": false");
      });
  const std::set<std::string> foldersBefore = workFolders();
  const std::string log = temporaryFolder() + "cancel-long-member.log";
  DeleteFileA(log.c_str());
  driver::TestProgram launcherProgram, installer;
  ASSERT_TRUE(launcherProgram.start("\"" + launcher + "\" \"/log=" + log + "\"",
                                    std::filesystem::path(launcher).parent_path().string()));
  HWND form = driver::waitForTopLevelWindow({"", "TInstallerForm", 0, true}, INSTALLER_TIMEOUT_MS);
  ASSERT_NE(form, nullptr);
  ASSERT_TRUE(installer.attach(driver::processIdOfWindow(form)));

  ASSERT_TRUE(driver::clickButton(form, "Install"));
  const std::string member = saverFolder() + "long.bin";
  for (DWORD start = GetTickCount(); !exists(member) && GetTickCount() - start < INSTALLER_TIMEOUT_MS;)
    Sleep(1);
  ASSERT_TRUE(exists(member));
  ASSERT_TRUE(driver::clickButton(form, "Cancel"));
  expectBothEnd(installer, launcherProgram);
  expectNothingInstalled();
  EXPECT_EQ(workFolders(), foldersBefore);
  std::ifstream in(log, std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  EXPECT_NE(text.find("install ended with status 0, cancelled"), std::string::npos) << text;
  EXPECT_EQ(text.find("long.bin"), std::string::npos) << text;
  DeleteFileA(log.c_str());
}

// A movie the reader refuses (a picture's signature) or gives up on (a
// compressed movie cut short) cannot be played: the installation runs in the
// preparing window.
TEST_F(InstallerFailure, UnplayableMovieInstallsInThePreparingWindow) {
  registerMoviePlayer();
  const std::vector<uint8_t> cutCompressedMovie = {'C', 'W', 'S', 9, 0, 0x10, 0, 0, 0x78, 0x9C, 0x01};
  for (const bool compressed : {false, true}) {
    SCOPED_TRACE(compressed ? "cut compressed movie" : "not a movie");
    const std::string launcher = buildLauncher("unplayableMovie", [&](const std::filesystem::path &folder) {
      if (compressed) writeBytes(folder / "splash.bmp", cutCompressedMovie);
    });
    expectInstalledInThePreparingWindow(launcher);
    removeInstallation();
  }
}

// The movie of a package that needs no player is never played, sound as it
// is: with no player registered, an attempt would probe for minutes. It
// installs at once in the preparing window.
TEST_F(InstallerFailure, MovieOfAPackageWithoutPlayerInstallsInThePreparingWindow) {
  const std::string launcher = buildLauncher("unplayableMovie", [](const std::filesystem::path &folder) {
    writeBytes(folder / "splash.bmp", fwsMovie(9, {backgroundColorTag(), endTag()}));
  });
  LauncherBytes package(launcher);
  package.setMoviePlayer(MoviePlayerNeed::none);
  writeBytes(launcher, package.bytes);
  expectInstalledInThePreparingWindow(launcher);
}

// The package was read, so a failure in the preparing window is told as a
// failed installation, never as a damaged installer file.
TEST_F(InstallerFailure, FailureInThePreparingWindowIsToldAsAFailedInstallation) {
  registerMoviePlayer();
  const std::string launcher = buildLauncher("unplayableMovie");
  CreateDirectoryA(sharedSaverFolder().c_str(), nullptr);
  CreateDirectoryA(saverFolder().c_str(), nullptr);
  HANDLE held = CreateFileA((saverFolder() + MEMBER_PATHS.front()).c_str(), GENERIC_WRITE, 0, nullptr,
                            CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  std::set<HWND> answered;
  std::vector<std::string> messages;
  DWORD exitCode = 99;
  const bool ended = runLauncherToEnd(launcher, "", &exitCode, [&](DWORD installer) {
    if (installer != 0) answerBoxes(installer, "Error", answered, messages);
  });
  CloseHandle(held);
  ASSERT_TRUE(ended);
  ASSERT_FALSE(messages.empty());
  EXPECT_TRUE(startsWith(messages.back(), "Install failed. Error: ")) << messages.back();
  EXPECT_FALSE(exists(systemFolder() + SAVER_PROGRAM));
  EXPECT_EQ(uninstallValue("DisplayName"), "");
}

TEST_F(InstallerFailure, CloseBoxAndRightClickChangeNothing) {
  const std::string launcher = buildLauncher("picture");
  driver::TestProgram launcherProgram, installer;
  HWND form = startInteractive(launcher, launcherProgram, installer);
  ASSERT_NE(form, nullptr);
  // A right click in the ready window: no menu, no other window, still ready.
  const std::vector<HWND> shownBefore = driver::findTopLevelWindows({"", "", installer.processId(), true});
  ASSERT_TRUE(driver::postMessageTo(form, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(100, 100)));
  ASSERT_TRUE(driver::postMessageTo(form, WM_RBUTTONUP, 0, MAKELPARAM(100, 100)));
  Sleep(1000);
  EXPECT_EQ(driver::findTopLevelWindows({"", "", installer.processId(), true}), shownBefore);
  HWND install = control(form, "Install");
  EXPECT_TRUE(install != nullptr && IsWindowEnabled(install));

  // The close box, the task-bar entry and the end of the session while
  // installing: the installation goes on to its end.
  HWND taskBarEntry = driver::findTopLevelWindow({"", "TApplication", installer.processId(), false});
  ASSERT_NE(taskBarEntry, nullptr);
  ASSERT_TRUE(driver::clickButton(form, "Install"));
  ASSERT_TRUE(waitForText(form, WRITING_FILES));
  driver::saveScreenshot("installer-installing.png");
  ASSERT_TRUE(driver::postMessageTo(form, WM_SYSCOMMAND, SC_CLOSE));
  ASSERT_TRUE(driver::postMessageTo(taskBarEntry, WM_SYSCOMMAND, SC_CLOSE));
  ASSERT_TRUE(driver::postMessageTo(form, WM_ENDSESSION, TRUE));
  ASSERT_TRUE(answerDialog(installer.processId(), "Confirm", "No"));
  expectBothEnd(installer, launcherProgram);
  expectInstalled();
}

TEST_F(InstallerFailure, BusySaverProgramStaysAndTheRestInstalls) {
  const std::string launcher = buildLauncher("picture");
  // An older copy whose program file some other program holds open.
  CreateDirectoryA(sharedSaverFolder().c_str(), nullptr);
  CreateDirectoryA(saverFolder().c_str(), nullptr);
  const std::string program = systemFolder() + SAVER_PROGRAM;
  HANDLE held = CreateFileA(program.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  driver::TestProgram launcherProgram, installer;
  HWND form = startInteractive(launcher, launcherProgram, installer);
  const bool installed = form != nullptr && driver::clickButton(form, "Install") &&
                         answerDialog(installer.processId(), "Confirm", "OK") &&
                         answerDialog(installer.processId(), "Confirm", "No") &&
                         installer.waitForExit(INSTALLER_TIMEOUT_MS, nullptr);
  CloseHandle(held);
  ASSERT_TRUE(installed);
  EXPECT_TRUE(launcherProgram.waitForExit(INSTALLER_TIMEOUT_MS, nullptr));
  // The held program is the older one, untouched; everything else is new.
  WIN32_FILE_ATTRIBUTE_DATA attributes;
  ASSERT_TRUE(GetFileAttributesExA(program.c_str(), GetFileExInfoStandard, &attributes));
  EXPECT_EQ(attributes.nFileSizeLow, 0u);
  EXPECT_TRUE(exists(saverFolder() + "saver.dat"));
  EXPECT_EQ(uninstallValue("DisplayName"), "Tide Screen Saver");
}

// A member file that another program holds open cannot be written: the
// installation fails with the step's own message, removes everything it
// placed and leaves only the held file of the older copy.
TEST_F(InstallerFailure, UnwritableSaverFolderFailsAndRemovesWhatWasPlaced) {
  const std::string launcher = buildLauncher("picture");
  CreateDirectoryA(sharedSaverFolder().c_str(), nullptr);
  CreateDirectoryA(saverFolder().c_str(), nullptr);
  const std::string heldMember = saverFolder() + MEMBER_PATHS.front();
  HANDLE held = CreateFileA(heldMember.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  driver::TestProgram launcherProgram, installer;
  HWND form = startInteractive(launcher, launcherProgram, installer);
  std::set<HWND> answered;
  std::vector<std::string> messages;
  const bool started = form != nullptr && driver::clickButton(form, "Install") &&
                       answerDialog(installer.processId(), "Confirm", "OK");
  std::string statusLine;
  for (DWORD start = GetTickCount(); started && GetTickCount() - start < INSTALLER_TIMEOUT_MS; Sleep(50)) {
    answerBoxes(installer.processId(), "Error", answered, messages);
    for (const driver::DialogControl &each : driver::dialogControls(form))
      if (startsWith(each.text, "Install failed. Error: ")) statusLine = each.text;
    if (!statusLine.empty()) break;
  }
  driver::saveScreenshot("installer-failed.png");
  const bool closed = !statusLine.empty() && driver::postMessageTo(form, WM_SYSCOMMAND, SC_CLOSE) &&
                      installer.waitForExit(INSTALLER_TIMEOUT_MS, nullptr);
  CloseHandle(held);
  ASSERT_TRUE(closed) << statusLine;
  EXPECT_FALSE(messages.empty());
  EXPECT_TRUE(launcherProgram.waitForExit(INSTALLER_TIMEOUT_MS, nullptr));
  EXPECT_FALSE(exists(systemFolder() + SAVER_PROGRAM));
  EXPECT_EQ(uninstallValue("DisplayName"), "");
  for (size_t member = 1; member < MEMBER_PATHS.size(); ++member)
    EXPECT_FALSE(exists(saverFolder() + MEMBER_PATHS[member])) << MEMBER_PATHS[member];
  EXPECT_FALSE(exists(saverFolder() + "saver.dat"));
}

// The installer reads its package through the one handle that checked it.
// Another program that, once the window waits, swaps temp.dat for a valid
// package of other bytes, or overwrites the installer copy it links to,
// changes nothing: what the check saw is what is installed.
TEST_F(InstallerEndToEnd, PackageSwappedAfterTheCheckIsNotInstalled) {
  // The same saver with other notes: a valid package, as an attacker makes one.
  const std::vector<uint8_t> otherLauncher =
      readBytes(buildLauncher("picture", [](const std::filesystem::path &folder) {
        writeBytes(folder / NOTES_FILE, std::vector<uint8_t>(5000, 'X'));
      }));
  const std::string launcher = buildLauncher("picture");
  const std::set<std::string> foldersBefore = workFolders();
  driver::TestProgram launcherProgram, installer;
  HWND form = startInteractive(launcher, launcherProgram, installer);
  ASSERT_NE(form, nullptr);

  // The installer's work folder holds temp.dat, the launcher's the installer copy.
  std::string packageCopy, installerCopy;
  for (const std::string &folder : workFolders()) {
    if (foldersBefore.contains(folder)) continue;
    if (exists(folder + "\\temp.dat")) packageCopy = folder + "\\temp.dat";
    if (exists(folder + "\\pictureSetup.exe")) installerCopy = folder + "\\pictureSetup.exe";
  }
  ASSERT_FALSE(packageCopy.empty());
  ASSERT_FALSE(installerCopy.empty());
  const size_t launcherPart = readBytes(launcher).size() - readBytes(installerCopy).size();
  const std::vector<uint8_t> otherInstaller(
      otherLauncher.begin() + static_cast<std::ptrdiff_t>(launcherPart), otherLauncher.end());

  EXPECT_FALSE(MoveFileExA(packageCopy.c_str(), (packageCopy + ".old").c_str(), MOVEFILE_REPLACE_EXISTING));
  EXPECT_FALSE(DeleteFileA(packageCopy.c_str()));
  HANDLE written = CreateFileA(installerCopy.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_EQ(written, INVALID_HANDLE_VALUE) << "the installer file is not writable while it runs";
  if (written != INVALID_HANDLE_VALUE) CloseHandle(written);
  // Whatever could be swapped is swapped.
  if (!exists(packageCopy)) writeBytes(packageCopy, otherInstaller);

  HWND question = pressInstall(form, installer);
  ASSERT_NE(question, nullptr);
  declineControlPanel(question, installer, launcherProgram);
  expectInstalled();
}
