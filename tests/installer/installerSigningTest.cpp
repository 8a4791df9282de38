// Signed installers under Wine: a Setup.exe signed by "saverpack sign", or
// layer by layer as a maker's pipeline would, installs; the installer copy
// the launcher writes carries a signature that verifies; a changed byte is
// still refused. Certificates and signatures are made on the host.
#include <cstring>
#include <filesystem>

#include <shlobj.h>

#include "common/statusCodes.h"
#include "installerFixture.h"
#include "package/integrityRecord.h"

namespace fs = std::filesystem;

namespace {

const DWORD HOST_TIMEOUT_MS = 120000;

// The host path of a path of this test, through Wine's own mapping.
std::string hostPathOf(const fs::path &path) {
  typedef char *(__cdecl * UnixName)(const WCHAR *);
  const auto unixName = reinterpret_cast<UnixName>(
      reinterpret_cast<void *>(GetProcAddress(GetModuleHandleA("kernel32"), "wine_get_unix_file_name")));
  if (unixName == nullptr) return std::string();
  char *name = unixName(path.wstring().c_str());
  std::string result = name != nullptr ? name : "";
  HeapFree(GetProcessHeap(), 0, name);
  return result;
}

// Runs signHost.sh with the words on the host; true when it succeeded.
// Wine starts host programs but gives no handle to wait on, so the script
// leaves its status in a file.
bool runOnHost(const fs::path &scratch, const std::vector<std::string> &words, std::string &log) {
  static int runs = 0;
  const fs::path done = scratch / ("host" + std::to_string(++runs) + ".done");
  std::string commandLine =
      "sh \"" SIGN_HOST_SCRIPT "\" \"" + hostPathOf(done) + "\" \"" + hostPathOf(scratch) + "\"";
  for (const std::string &word : words) commandLine += " \"" + word + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA("Z:\\bin\\sh", commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    log = "the host shell did not start: " + std::to_string(GetLastError());
    return false;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  for (DWORD start = GetTickCount(); !exists(done.string()) && GetTickCount() - start < HOST_TIMEOUT_MS;)
    Sleep(50);
  const std::vector<uint8_t> status = exists(done.string()) ? readBytes(done) : std::vector<uint8_t>();
  const std::vector<uint8_t> output =
      exists(done.string() + ".log") ? readBytes(done.string() + ".log") : std::vector<uint8_t>();
  log.assign(output.begin(), output.end());
  return !status.empty() && status.front() == '0';
}

}  // namespace

class InstallerSigning : public InstallerEndToEnd {
 protected:
  // The launcher file of manifest, signed by saverpack on the host.
  std::string signedLauncher(const std::string &manifest) {
    const std::string launcher = buildLauncher(manifest);
    std::string signedFile = (fs::path(launcher).parent_path() / "Signed.exe").string();
    std::string log;
    EXPECT_TRUE(runOnHost(fs::path(launcher).parent_path(),
                          {"sign", NATIVE_SAVERPACK, hostPathOf(launcher), hostPathOf(signedFile)}, log))
        << log;
    return signedFile;
  }

  void expectQuietInstall(const std::string &launcher, const char *what) {
    DWORD exitCode = 99;
    ASSERT_TRUE(runLauncherToEnd(launcher, "/q", &exitCode, [](DWORD) {})) << what;
    EXPECT_EQ(exitCode, 0u) << what;
    expectInstalled();
    removeInstallation();
  }
};

TEST_F(InstallerSigning, SignedSetupInstallsQuietlyAndThroughTheWindow) {
  const std::string launcher = signedLauncher("picture");
  expectQuietInstall(launcher, "quiet");

  // The copy the launcher writes is the installer file whole, its signature
  // intact: caught while the window shows.
  const std::set<std::string> foldersBefore = workFolders();
  driver::TestProgram launcherProgram, installer;
  HWND form = startInteractive(launcher, launcherProgram, installer);
  ASSERT_NE(form, nullptr);
  const fs::path caught = fs::path(launcher).parent_path() / "caught.exe";
  for (const std::string &folder : workFolders()) {
    if (foldersBefore.contains(folder)) continue;  // an earlier run's leftovers
    const std::string copy = folder + "\\Signed.exe";
    if (exists(copy)) CopyFileA(copy.c_str(), caught.string().c_str(), FALSE);
  }
  ASSERT_TRUE(exists(caught.string()));
  std::string log;
  EXPECT_TRUE(runOnHost(caught.parent_path(), {"verify", hostPathOf(caught)}, log)) << log;

  HWND question = pressInstall(form, installer);
  ASSERT_NE(question, nullptr);
  declineControlPanel(question, installer, launcherProgram);
  expectInstalled();
  EXPECT_EQ(workFolders(), foldersBefore);
}

TEST_F(InstallerSigning, SignedSetupWithAChangedByteIsRefused) {
  const std::string launcher = signedLauncher("quiet");
  const std::vector<uint8_t> built = readBytes(launcher);
  const fs::path programs = fs::path(launcher).parent_path() / "bin";
  const size_t installerAt = fs::file_size(programs / "saverstart.exe");
  const size_t packageAt = installerAt + fs::file_size(programs / "saversetup.exe");
  const struct {
    const char *what;
    size_t at;
  } flips[] = {{"installer program", installerAt + 0x400},
               {"package", packageAt + sizeof(InstallerHeader) + 100}};
  for (const auto &flip : flips) {
    std::vector<uint8_t> damaged = built;
    damaged.at(flip.at) ^= 0x10;
    writeBytes(launcher, damaged);
    std::vector<std::string> messages;
    DWORD exitCode = 99;
    ASSERT_TRUE(runLauncherToEnd(launcher, "/q", &exitCode, [&](DWORD installerId) {
      if (installerId == 0) return;
      for (HWND box : driver::findTopLevelWindows({"Error", "#32770", installerId, true})) {
        const std::vector<std::string> texts = driver::staticTexts(box);
        messages.push_back(texts.empty() ? "" : texts.front());
        driver::clickButton(box, driver::buttonCaptions(box).front());
      }
    }));
    EXPECT_EQ(exitCode, static_cast<DWORD>(STATUS_PACKAGE_DAMAGED)) << flip.what;
    ASSERT_FALSE(messages.empty()) << flip.what;
    EXPECT_EQ(messages.front().rfind("The installer file is damaged", 0), 0u)
        << flip.what << ": " << messages.front();
    expectNothingInstalled();
  }
}

TEST_F(InstallerSigning, LayersSignedByTheMakersOwnPipelineInstall) {
  const std::string launcher = buildLauncher("quiet");
  const std::vector<uint8_t> built = readBytes(launcher);
  const fs::path folder = fs::path(launcher).parent_path();
  const auto installerAt = static_cast<std::ptrdiff_t>(fs::file_size(folder / "bin" / "saverstart.exe"));
  writeBytes(folder / "image.exe", std::vector<uint8_t>(built.begin(), built.begin() + installerAt));
  writeBytes(folder / "layer.exe", std::vector<uint8_t>(built.begin() + installerAt, built.end()));
  const std::string signedFile = (folder / "Pipeline.exe").string();
  std::string log;
  ASSERT_TRUE(runOnHost(folder,
                        {"layers", hostPathOf(folder / "image.exe"), hostPathOf(folder / "layer.exe"),
                         hostPathOf(signedFile)},
                        log))
      << log;
  expectQuietInstall(signedFile, "layer by layer");
}
