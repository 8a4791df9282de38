// "/qn" and "/log=" under Wine, as a deployment tool runs Setup.exe: no
// window of the launcher or the installer on the screen at any moment, the
// exit code, and a log that tells what was placed or why nothing was.
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/statusCodes.h"
#include "hostLink.h"
#include "installerFixture.h"
#include "package/dataStructures_shared.h"

namespace {

std::string lowerCase(std::string text) {
  for (char &c : text) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  return text;
}

uint64_t sizeOf(const std::string &path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return UINT64_MAX;
  return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::vector<std::string> linesOf(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// The launcher is known by its hidden main window.
DWORD launcherProcess() {
  HWND window = driver::findTopLevelWindow({"", "TSenderMainForm", 0, false});
  return window != nullptr ? driver::processIdOfWindow(window) : 0;
}

}  // namespace

class SilentInstall : public InstallerEndToEnd {
 protected:
  // A name with a space, so that the path must stay one parameter on its
  // way from the launcher to the installer.
  void SetUp() override {
    InstallerEndToEnd::SetUp();
    log = temporaryFolder() + "silent setup.log";
    DeleteFileA(log.c_str());
  }
  void TearDown() override {
    DeleteFileA(log.c_str());
    InstallerEndToEnd::TearDown();
  }

  // Runs the launcher with "/qn" and the log to its end; every window of
  // either program seen visible meanwhile, even off the screen, is noted
  // in shown by its class and title. The installer's exit code.
  DWORD runSilently(const std::string &launcher) {
    DWORD exitCode = 99;
    EXPECT_TRUE(runLauncherToEnd(launcher, "/qn \"/log=" + log + "\"", &exitCode, [this](DWORD installer) {
      const DWORD ours[] = {installer, launcherProcess()};
      for (HWND window = GetTopWindow(nullptr); window != nullptr;
           window = GetNextWindow(window, GW_HWNDNEXT)) {
        const DWORD process = driver::processIdOfWindow(window);
        if (process != 0 && (process == ours[0] || process == ours[1]) && IsWindowVisible(window))
          shown.insert(driver::windowClassName(window) + " \"" + driver::windowText(window) + "\"");
      }
    }));
    return exitCode;
  }

  // Every line is stamped and names its program; the last one is the
  // launcher's exit code, after the installer's.
  std::string expectLogEndsWith(DWORD exitCode) {
    const std::vector<std::string> lines = linesOf(log);
    EXPECT_GE(lines.size(), 4u);
    if (lines.size() < 4) return "";
    const std::string code = "exit code " + std::to_string(static_cast<int32_t>(exitCode));
    std::string text;
    for (const std::string &line : lines) {
      EXPECT_TRUE(line.size() > 21 && line[10] == 'T' && line[19] == 'Z' &&
                  (line.compare(21, 12, "saversetup: ") == 0 || line.compare(21, 12, "saverstart: ") == 0))
          << line;
      text += line + "\n";
    }
    EXPECT_NE(lines.front().find("saverstart: command line: /qn /log="), std::string::npos) << text;
    EXPECT_NE(text.find("saversetup: command line: /qn /log=" + log + " /l="), std::string::npos) << text;
    EXPECT_NE(text.find("saversetup: " + code + "\n"), std::string::npos) << text;
    EXPECT_NE(lines.back().find("saverstart: " + code), std::string::npos) << text;
    return text;
  }

  std::string log;
  std::set<std::string> shown;
};

// A package that would show its picture and its licence, and ask about the
// control panel at the end.
TEST_F(SilentInstall, InstallsWithoutAnyWindowAndLogsEachFilePlaced) {
  const std::string launcher = buildLauncher("license");
  EXPECT_EQ(runSilently(launcher), 0u);
  EXPECT_TRUE(shown.empty()) << *shown.begin();
  expectInstalled();

  const std::string text = lowerCase(expectLogEndsWith(0));
  std::vector<std::string> placed = {systemFolder() + SAVER_PROGRAM, sharedSaverFolder() + SHARED_LIBRARY,
                                     saverFolder() + NOTES_FILE,     saverFolder() + "saver.dat",
                                     saverFolder() + "license.rtf",  saverFolder() + "saverremove.exe"};
  for (const std::string &member : MEMBER_PATHS) placed.push_back(saverFolder() + member);
  for (const std::string &file : placed) {
    if (!exists(file)) continue;  // an empty member is not written, so not placed
    const std::string line = "placed " + file + " (" + std::to_string(sizeOf(file)) + " bytes)";
    EXPECT_NE(text.find(lowerCase(line)), std::string::npos) << line << "\n" << text;
  }
  EXPECT_NE(text.find(lowerCase("saverstart: registry HKCU\\Control Panel\\Desktop: SCRNSAVE.EXE = ")),
            std::string::npos)
      << text;
}

// The entry table is covered by the package's check: one flipped byte in it
// ends the start-up with the damaged package's status, told only in the log.
TEST_F(SilentInstall, DamagedPackageEndsWithItsStatusAndTheLogSaysWhy) {
  const std::string launcher = buildLauncher("license");
  const std::filesystem::path programs = std::filesystem::path(launcher).parent_path() / "bin";
  const auto headerAt = std::filesystem::file_size(programs / "saverstart.exe") +
                        std::filesystem::file_size(programs / "saversetup.exe");
  {
    std::fstream file(launcher, std::ios::binary | std::ios::in | std::ios::out);
    const std::streamoff entryNine = 9 * static_cast<std::streamoff>(sizeof(PackageEntry));
    const std::streamoff at = static_cast<std::streamoff>(headerAt + offsetof(InstallerHeader, entries) +
                                                          offsetof(PackageEntry, expandedSize)) +
                              entryNine;
    file.seekg(at);
    const char flipped = static_cast<char>(file.get() ^ 0x10);
    file.seekp(at);
    file.put(flipped);
  }
  EXPECT_EQ(runSilently(launcher), static_cast<DWORD>(STATUS_PACKAGE_DAMAGED));
  EXPECT_TRUE(shown.empty()) << *shown.begin();
  expectNothingInstalled();

  const std::string text = expectLogEndsWith(static_cast<DWORD>(STATUS_PACKAGE_DAMAGED));
  EXPECT_NE(text.find("saversetup: failed with status -36: The installer file is damaged"),
            std::string::npos)
      << text;
  EXPECT_EQ(text.find("placed "), std::string::npos) << text;
}

// The deployer's log path leads through a folder that another user made a
// link to a file of theirs choosing: the installer runs elevated, so it
// appends to nothing there and leaves no file behind, and installs all the
// same.
TEST_F(SilentInstall, LogReachedThroughALinkedFolderIsNotWritten) {
  const std::string launcher = buildLauncher("license");
  const std::string outside = temporaryFolder() + "log-outside";
  const std::string linked = temporaryFolder() + "log-linked";
  ASSERT_TRUE(CreateDirectoryA(outside.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
  ASSERT_TRUE(driver::makeHostLink(outside, linked));
  // A fresh start: a file left by an earlier run would pass for one made now.
  DeleteFileA((outside + "\\new.log").c_str());
  std::ofstream(outside + "\\precious.txt", std::ios::trunc) << "kept";
  for (const char *name : {"precious.txt", "new.log"}) {
    SCOPED_TRACE(name);
    log = linked + "\\" + name;
    EXPECT_EQ(runSilently(launcher), 0u);
    expectInstalled();
    removeInstallation();
  }
  EXPECT_EQ(linesOf(outside + "\\precious.txt"), std::vector<std::string>{"kept"});
  EXPECT_FALSE(exists(outside + "\\new.log"));
  driver::removeHostLink(linked);
  DeleteFileA((outside + "\\precious.txt").c_str());
  DeleteFileA((outside + "\\new.log").c_str());
  RemoveDirectoryA(outside.c_str());
}
