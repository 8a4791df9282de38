// saversetup under Wine over an installed version of its saver: an upgrade,
// a refused and a forced downgrade, and upgrades that fail, are cancelled or
// are ended by force, after which the installed version is there whole,
// its shared library included.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "common/statusCodes.h"
#include "installerFixture.h"
#include "hostLink.h"
#include "launcherBytes.h"

#include <shlwapi.h>

namespace {

// Big enough that placing it takes several of the watch's 50 ms polls.
const uint32_t BIG_MEMBER_BYTES = 256u << 20;

// Every file of the installation by content, and the entry's values.
using Installation = std::map<std::string, std::string>;

std::string contentOf(const std::filesystem::path &path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<uint8_t> bytesOf(const std::string &text) {
  return std::vector<uint8_t>(text.begin(), text.end());
}

bool hasUserEntry() {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tide", 0,
                    KEY_READ, &key) != ERROR_SUCCESS)
    return false;
  RegCloseKey(key);
  return true;
}

// The users the shared library is counted for.
DWORD libraryUsers() {
  DWORD count = 0, size = sizeof count;
  SHGetValueA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs",
              (sharedSaverFolder() + SHARED_LIBRARY).c_str(), nullptr, &count, &size);
  return count;
}

}  // namespace

class InstallerUpgrade : public InstallerEndToEnd {
 protected:
  void SetUp() override {
    InstallerEndToEnd::SetUp();
    foldersBefore_ = workFolders();
  }
  // An installer ended by force leaves its work folder; the prefix is shared.
  void TearDown() override {
    for (const std::string &folder : keepFolders()) std::filesystem::remove_all(folder);
    for (const std::string &folder : workFolders())
      if (!foldersBefore_.contains(folder)) std::filesystem::remove_all(folder);
    InstallerEndToEnd::TearDown();
  }

  // The quiet test package stating version, with a program, notes and a
  // member of their own; bigMemberBytes adds a member of random bytes that
  // is placed last.
  std::string buildVersion(const std::string &version, uint32_t bigMemberBytes = 0,
                           const std::string &manifest = "quiet") {
    const std::string launcher = buildLauncher(
        manifest,
        [&](const std::filesystem::path &folder) {
          writeBytes(folder / SAVER_PROGRAM, bytesOf("program " + version + std::string(30000, 'p')));
          writeBytes(folder / NOTES_FILE, bytesOf("notes of " + version));
          writeBytes(folder / "tidefx.dat", bytesOf("library of " + version));
          writeBytes(folder / "members" / "pictures" / "deep" / "b.txt", bytesOf("member of " + version));
          if (bigMemberBytes != 0)
            writeBytes(folder / "members" / "zz-big.bin", randomBytes(bigMemberBytes, 5));
        },
        [&](std::string &manifest) {
          const std::string name = "\"saverName\": \"Tide\",";
          manifest.replace(manifest.find(name), name.size(), name + " \"version\": \"" + version + "\",");
        });
    // Each version keeps its own file; the installer copy takes its name.
    std::string named = (std::filesystem::path(launcher).parent_path() / (version + "Setup.exe")).string();
    std::filesystem::copy_file(launcher, named, std::filesystem::copy_options::overwrite_existing);
    return named;
  }

  static Installation installation() {
    Installation files;
    std::error_code missing;
    for (const auto &item : std::filesystem::recursive_directory_iterator(saverFolder(), missing))
      if (item.is_regular_file()) files[item.path().string()] = contentOf(item.path());
    for (const std::string &file : {systemFolder() + SAVER_PROGRAM, sysnativeFolder() + SAVER_PROGRAM,
                                    sharedSaverFolder() + SHARED_LIBRARY})
      if (file != SAVER_PROGRAM && exists(file)) files[file] = contentOf(file);
    for (const char *value : {"DisplayName", "DisplayVersion", "UninstallString", "SharedLibraries"})
      files[std::string("entry ") + value] = uninstallValue(value);
    return files;
  }

  std::set<std::string> foldersBefore_;

  static std::vector<std::string> keepFolders() {
    std::vector<std::string> folders;
    std::error_code missing;
    for (const auto &item : std::filesystem::directory_iterator(sharedSaverFolder(), missing))
      if (item.path().filename().string().rfind("QRK", 0) == 0) folders.push_back(item.path().string());
    return folders;
  }

  // A watch for runQuietly: ends the installer by force while it places the
  // big member, the last.
  bool endedHalfWay = false;
  const std::function<void(DWORD)> endWhenHalfPlaced = [this](DWORD installer) {
    if (endedHalfWay || !exists(saverFolder() + "zz-big.bin") || exists(saverFolder() + "saver.dat"))
      return;
    HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, installer);
    endedHalfWay = process != nullptr && TerminateProcess(process, 1);
    if (process != nullptr) CloseHandle(process);
  };

  // Runs the launcher with parameters to its end, answering each error box
  // and keeping its message: the installer's exit code.
  DWORD runQuietly(const std::string &launcher, const std::string &parameters,
                   std::vector<std::string> &messages, const std::function<void(DWORD)> &watch = nullptr) {
    std::set<HWND> answered;
    DWORD exitCode = 99;
    EXPECT_TRUE(runLauncherToEnd(launcher, parameters, &exitCode, [&](DWORD installer) {
      if (installer == 0) return;
      if (watch) watch(installer);
      for (HWND box : driver::findTopLevelWindows({"Error", "#32770", installer, true})) {
        if (!answered.insert(box).second) continue;
        const std::vector<std::string> texts = driver::staticTexts(box);
        messages.push_back(texts.empty() ? "" : texts.front());
        const std::vector<std::string> buttons = driver::buttonCaptions(box);
        if (!buttons.empty()) driver::clickButton(box, buttons.front());
      }
    }));
    return exitCode;
  }

  // Installs version quietly, with nothing to say, and returns what it placed.
  Installation installVersion(const std::string &version) {
    std::vector<std::string> messages;
    EXPECT_EQ(runQuietly(buildVersion(version), "/q", messages), 0u) << version;
    EXPECT_TRUE(messages.empty()) << messages.front();
    expectInstalled();
    EXPECT_EQ(uninstallValue("DisplayVersion"), version);
    return installation();
  }

  // The downgrade is refused with its box and code; what is installed stays.
  void expectDowngradeRefused(const std::string &launcher, const std::string &installed) {
    std::vector<std::string> messages;
    EXPECT_EQ(runQuietly(launcher, "/q", messages), static_cast<DWORD>(STATUS_DOWNGRADE_REFUSED));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages.front().find("version " + installed + " is installed"), std::string::npos)
        << messages.front();
    EXPECT_NE(messages.front().find("/force"), std::string::npos) << messages.front();
  }
};

TEST_F(InstallerUpgrade, NewerVersionReplacesTheOlderAndAnOlderOneOnlyWithForce) {
  installVersion("2.1.0");
  const DWORD users = libraryUsers();
  const Installation upgraded = installVersion("2.2.0");
  EXPECT_FALSE(hasUserEntry());
  EXPECT_EQ(libraryUsers(), users) << "the same saver counted twice";

  const std::string older = buildVersion("2.0.0");
  expectDowngradeRefused(older, "2.2.0");
  EXPECT_EQ(installation(), upgraded);

  std::vector<std::string> messages;
  EXPECT_EQ(runQuietly(older, "/q /force", messages), 0u);
  EXPECT_TRUE(messages.empty()) << messages.front();
  expectInstalled();
  EXPECT_EQ(uninstallValue("DisplayVersion"), "2.0.0");
  EXPECT_EQ(libraryUsers(), users);
  EXPECT_TRUE(keepFolders().empty());
}

// The installer is ended while it places the new version's members; the
// next installer of the saver, even one that then refuses to install, first
// puts the installed version back whole.
TEST_F(InstallerUpgrade, UpgradeEndedByForceIsRolledBackByTheNextRun) {
  const Installation installed = installVersion("2.1.0");
  const std::string newer = buildVersion("2.2.0", BIG_MEMBER_BYTES);
  std::vector<std::string> messages;
  runQuietly(newer, "/q", messages, endWhenHalfPlaced);
  ASSERT_TRUE(endedHalfWay) << "the install was never seen half way";
  ASSERT_EQ(keepFolders().size(), 1u);
  EXPECT_NE(installation(), installed);

  expectDowngradeRefused(buildVersion("2.0.0"), "2.1.0");
  EXPECT_EQ(installation(), installed);
  EXPECT_TRUE(keepFolders().empty());
}

// A first install ended by force while it places members leaves no entry
// naming files that are not there; the same Setup.exe run again installs
// whole and takes away the work folder the ended run left.
TEST_F(InstallerUpgrade, FirstInstallEndedByForceIsCompletedByTheNextRun) {
  const std::string setup = buildVersion("2.1.0", BIG_MEMBER_BYTES);
  std::vector<std::string> messages;
  runQuietly(setup, "/q", messages, endWhenHalfPlaced);
  ASSERT_TRUE(endedHalfWay) << "the install was never seen half way";
  EXPECT_EQ(uninstallValue("DisplayName"), "");
  EXPECT_GT(workFolders().size(), foldersBefore_.size());

  EXPECT_EQ(runQuietly(setup, "/q", messages), 0u);
  EXPECT_TRUE(messages.empty()) << messages.front();
  EXPECT_EQ(uninstallValue("DisplayVersion"), "2.1.0");
  EXPECT_EQ(std::filesystem::file_size(saverFolder() + "zz-big.bin"), BIG_MEMBER_BYTES);
  EXPECT_TRUE(exists(saverFolder() + "saver.dat"));
  EXPECT_TRUE(exists(systemFolder() + SAVER_PROGRAM));
  EXPECT_EQ(workFolders(), foldersBefore_);
}

// A member whose bytes fail their checksum ends the upgrade after the
// installed version was moved aside and the new one partly placed.
TEST_F(InstallerUpgrade, FailedUpgradeLeavesTheInstalledVersion) {
  const Installation installed = installVersion("2.1.0");
  const std::string newer = buildVersion("2.2.0");
  LauncherBytes damaged(newer);
  // The first member stored as it is (random bytes), past the first.
  int member = 2;
  while (member < 8 &&
         (damaged.memberHeader(member).compressed != 0 || damaged.memberHeader(member).expandedSize < 16))
    ++member;
  ASSERT_LT(member, 8);
  const size_t storedAt = damaged.memberHeaderAt(member) + sizeof(DataMemberHeader);
  damaged.bytes.at(storedAt + 2) ^= 0x10;
  // Sound as a whole, so that only the member's own checksum can tell.
  damaged.resealPackage();
  writeBytes(newer, damaged.bytes);

  std::vector<std::string> messages;
  EXPECT_EQ(runQuietly(newer, "/q", messages), static_cast<DWORD>(STATUS_EXPANDED_CRC_MISMATCH));
  EXPECT_EQ(messages.size(), 1u);
  EXPECT_EQ(installation(), installed);
  EXPECT_TRUE(keepFolders().empty());
}

// A shared library that another program holds open without sharing is busy,
// as for a fresh install: the upgrade leaves it as it is and succeeds.
TEST_F(InstallerUpgrade, BusySharedLibraryStaysAndTheUpgradeGoesOn) {
  installVersion("2.1.0");
  const std::string library = sharedSaverFolder() + SHARED_LIBRARY;
  HANDLE held = CreateFileA(library.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  std::vector<std::string> messages;
  const DWORD exitCode = runQuietly(buildVersion("2.2.0"), "/q", messages);
  CloseHandle(held);
  EXPECT_EQ(exitCode, 0u);
  EXPECT_TRUE(messages.empty()) << messages.front();
  EXPECT_EQ(uninstallValue("DisplayVersion"), "2.2.0");
  EXPECT_EQ(contentOf(library), "library of 2.1.0");
  EXPECT_TRUE(keepFolders().empty());
}

// Asked in the window, the upgrade names both versions; "Cancel" while the
// new files are written puts the installed version back.
TEST_F(InstallerUpgrade, CancelledUpgradeLeavesTheInstalledVersion) {
  const Installation installed = installVersion("2.1.0");
  const std::string newer = buildVersion("2.2.0", 0, "picture");
  driver::TestProgram launcherProgram, installer;
  HWND form = startInteractive(newer, launcherProgram, installer);
  ASSERT_NE(form, nullptr);
  ASSERT_TRUE(driver::clickButton(form, "Install"));
  HWND question = driver::waitForTopLevelWindow({"Confirm", "#32770", installer.processId(), true},
                                                INSTALLER_TIMEOUT_MS);
  ASSERT_NE(question, nullptr);
  const std::vector<std::string> texts = driver::staticTexts(question);
  ASSERT_FALSE(texts.empty());
  EXPECT_NE(texts.front().find("version 2.1.0 is installed"), std::string::npos) << texts.front();
  EXPECT_NE(texts.front().find("version 2.2.0?"), std::string::npos) << texts.front();
  ASSERT_TRUE(driver::clickButton(question, "OK"));
  bool writing = false;
  for (DWORD start = GetTickCount(); !writing && GetTickCount() - start < INSTALLER_TIMEOUT_MS; Sleep(10))
    writing = control(form, "Writing screen saver files...") != nullptr;
  ASSERT_TRUE(writing);
  ASSERT_TRUE(driver::clickButton(form, "Cancel"));
  expectBothEnd(installer, launcherProgram);
  EXPECT_EQ(installation(), installed);
  EXPECT_TRUE(keepFolders().empty());
}

namespace {

// A movie-sized member, more than a small drive holds.
const uint32_t VIDEO_MEMBER_BYTES = 100u << 20;

// A small second disk that holds the machine's program data while it lives,
// as on a machine whose data volume is nearly full: the shell's folder for
// it points there, and back afterwards.
class ProgramDataDrive {
 public:
  explicit ProgramDataDrive(unsigned megabytes) : mounted_(driver::mountHostDrive(LETTER, megabytes)) {
    if (!mounted_ || RegOpenKeyExA(HKEY_LOCAL_MACHINE, SHELL_FOLDERS, 0, KEY_READ | KEY_WRITE, &key_) != 0)
      return;
    DWORD size = sizeof original_;
    RegQueryValueExA(key_, VALUE, nullptr, &type_, reinterpret_cast<BYTE *>(original_), &size);
    const char folder[] = "S:\\ProgramData";
    CreateDirectoryA(folder, nullptr);
    RegSetValueExA(key_, VALUE, 0, REG_SZ, reinterpret_cast<const BYTE *>(folder), sizeof folder);
  }
  ~ProgramDataDrive() {
    if (key_ != nullptr) {
      RegSetValueExA(key_, VALUE, 0, type_, reinterpret_cast<const BYTE *>(original_),
                     static_cast<DWORD>(strlen(original_)) + 1);
      RegCloseKey(key_);
    }
    if (mounted_) {
      EXPECT_TRUE(driver::unmountHostDrive(LETTER));
    }
  }
  ProgramDataDrive(const ProgramDataDrive &) = delete;
  ProgramDataDrive &operator=(const ProgramDataDrive &) = delete;
  bool mounted() const { return mounted_; }

 private:
  static constexpr char LETTER = 'S';
  static constexpr const char *SHELL_FOLDERS =
      "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
  static constexpr const char *VALUE = "Common AppData";
  bool mounted_;
  HKEY key_ = nullptr;
  DWORD type_ = REG_EXPAND_SZ;
  char original_[MAX_PATH] = "%ProgramData%";
};

// The one message of a refusal for want of space, and the folder it names.
void expectSpaceMessage(const std::vector<std::string> &messages, const std::string &folder) {
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages.front().find(" MB in " + folder), std::string::npos) << messages.front();
  EXPECT_NE(messages.front().find("free"), std::string::npos) << messages.front();
}

}  // namespace

// A 100 MB member on a drive with less free: refused before anything is
// written, whether the package's copies already find no room (64 MB) or
// only the members would not fit (160 MB), with the space needed and where.
TEST_F(InstallerUpgrade, PackageLargerThanItsDriveIsRefusedBeforeWriting) {
  const std::string setup = buildVersion("2.1.0", VIDEO_MEMBER_BYTES);
  for (const unsigned megabytes : {64u, 160u}) {
    ProgramDataDrive drive(megabytes);
    if (!drive.mounted()) GTEST_SKIP() << "only root mounts a drive";
    ASSERT_EQ(sharedSaverFolder(), "S:\\ProgramData\\Lumavane\\");
    std::vector<std::string> messages;
    EXPECT_EQ(runQuietly(setup, "/q", messages), static_cast<DWORD>(STATUS_DISK_FULL)) << megabytes;
    expectSpaceMessage(messages, megabytes == 64 ? sharedSaverFolder() + "QRP" : saverFolder());
    expectNothingInstalled();
  }
}

// The drive fills while the upgrade waits at its question, as when another
// program writes meanwhile: the upgrade fails with the same message and the
// installed version is there whole.
TEST_F(InstallerUpgrade, DriveFilledDuringTheUpgradeLeavesTheInstalledVersion) {
  ProgramDataDrive drive(400);
  if (!drive.mounted()) GTEST_SKIP() << "only root mounts a drive";
  const Installation installed = installVersion("2.1.0");
  const std::string newer = buildVersion("2.2.0", VIDEO_MEMBER_BYTES, "picture");
  driver::TestProgram launcherProgram, installer;
  HWND form = startInteractive(newer, launcherProgram, installer);
  ASSERT_NE(form, nullptr);
  HWND question = pressInstall(form, installer);
  ASSERT_NE(question, nullptr);
  ASSERT_TRUE(driver::fillHostVolume("S:\\ProgramData"));
  ASSERT_TRUE(driver::clickButton(question, "OK"));
  HWND box =
      driver::waitForTopLevelWindow({"Error", "#32770", installer.processId(), true}, INSTALLER_TIMEOUT_MS);
  ASSERT_NE(box, nullptr);
  const std::vector<std::string> texts = driver::staticTexts(box);
  expectSpaceMessage({texts.empty() ? "" : texts.front()}, saverFolder());
  ASSERT_TRUE(driver::clickButton(box, driver::buttonCaptions(box).front()));
  bool ended = false;
  for (DWORD start = GetTickCount(); !ended && GetTickCount() - start < INSTALLER_TIMEOUT_MS; Sleep(50))
    ended = control(form, "Install failed. Error: -2208") != nullptr;
  ASSERT_TRUE(ended);
  ASSERT_TRUE(driver::postMessageTo(form, WM_SYSCOMMAND, SC_CLOSE));
  EXPECT_TRUE(installer.waitForExit(INSTALLER_TIMEOUT_MS, nullptr));
  EXPECT_TRUE(launcherProgram.waitForExit(INSTALLER_TIMEOUT_MS, nullptr));
  EXPECT_EQ(installation(), installed);
  EXPECT_TRUE(keepFolders().empty());
}
