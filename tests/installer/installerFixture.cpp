#include "installerFixture.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <fstream>
#include <iterator>

#include "flashStandInSetup.h"
#include "tools/saverpack/installerFile.h"
#include "tools/saverpack/manifest.h"

const char SAVER_NAME[] = "Tide";
const char SAVER_PROGRAM[] = "Tide.scr";
const char SHARED_LIBRARY[] = "tidefx.dll";
const char NOTES_FILE[] = "notes.txt";
const std::vector<std::string> MEMBER_PATHS = {"main.swf", "pictures\\a.jpg", "pictures\\deep\\b.txt",
                                               "pictures\\empty.txt"};

namespace {

const char UNINSTALL_KEY[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tide";
const char LICENSE_RTF[] =
    "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20{\\b Licence}\\par "
    "You may use this screen saver on any number of computers.\\par}";
const size_t MEMBER_COUNT_OFFSET = 212;

std::string hostPath(const std::filesystem::path &path) { return path.string(); }

std::vector<uint8_t> bytesOf(const std::string &text) {
  return std::vector<uint8_t>(text.begin(), text.end());
}

void copyFile(const std::string &unixSource, const std::filesystem::path &target) {
  std::filesystem::create_directories(target.parent_path());
  std::filesystem::copy_file(driver::windowsPathOf(unixSource), target,
                             std::filesystem::copy_options::overwrite_existing);
}

bool readRegistryText(HKEY root, const char *key, const char *name, std::string &value) {
  char text[MAX_PATH] = "";
  DWORD size = sizeof text;
  if (SHGetValueA(root, key, name, nullptr, text, &size) != ERROR_SUCCESS) return false;
  value = text;
  return true;
}

std::string fileText(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string shortPathOf(const std::string &path) {
  char shortPath[MAX_PATH] = "";
  return GetShortPathNameA(path.c_str(), shortPath, sizeof shortPath) > 0 ? shortPath : path;
}

// The full path of the program file behind an image handle of a debug event.
std::string imagePathOf(HANDLE file) {
  using Query = DWORD(WINAPI *)(HANDLE, LPSTR, DWORD, DWORD);
  // Through a function type without parameters, which stands for any.
  static Query query = reinterpret_cast<Query>(reinterpret_cast<void (*)()>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetFinalPathNameByHandleA")));
  char path[MAX_PATH] = "";
  if (file == nullptr || query == nullptr || query(file, path, sizeof path, 0) == 0) return "";
  return path;
}

std::string fileNameOf(const std::string &path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string temporaryFolder() {
  char folder[MAX_PATH] = "";
  GetTempPathA(sizeof folder, folder);
  return folder;
}

bool exists(const std::string &path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool visibleOnScreen(HWND window) {
  RECT frame, screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}, common;
  return IsWindowVisible(window) && GetWindowRect(window, &frame) &&
         IntersectRect(&common, &frame, &screen);
}

bool answerDialog(DWORD installer, const char *caption, const char *button) {
  HWND dialog = driver::waitForTopLevelWindow({caption, "#32770", installer, true}, INSTALLER_TIMEOUT_MS);
  return dialog != nullptr && driver::clickButton(dialog, button) &&
         driver::waitForWindowGone(dialog, 20000);
}

HWND control(HWND form, const std::string &text) {
  for (const driver::DialogControl &each : driver::dialogControls(form))
    if (each.text == text) return each.window;
  return nullptr;
}

void InstallerEndToEnd::SetUp() {
  // The prefix is shared with the tests run before; unregistered already
  // is as good.
  unregisterFlashStandIn(FLASH_STANDIN_DLL);
  removeInstallation();
  scratch_ = new ScratchFolder();
}

void InstallerEndToEnd::registerMoviePlayer() { ASSERT_EQ(0, registerFlashStandIn(FLASH_STANDIN_DLL)); }

void InstallerEndToEnd::TearDown() {
  delete scratch_;
  removeInstallation();
}

std::string InstallerEndToEnd::buildLauncher(
    const std::string &manifestName, const std::function<void(const std::filesystem::path &)> &change,
    const std::function<void(std::string &)> &editManifest) {
  const std::filesystem::path folder = scratch_->path();
  copyFile(SAVERSTART_EXE, folder / "bin" / "saverstart.exe");
  copyFile(SAVERSETUP_EXE, folder / "bin" / "saversetup.exe");
  copyFile(SAVERREMOVE_EXE, folder / "bin" / "saverremove.exe");
  copyFile(IMPBORL_DLL, folder / "bin" / "impborl.dll");
  writeTidePackageFiles(folder);
  copyFile(SPLASH_JPEG, folder / "splash.jpg");
  writeBytes(folder / "license.rtf", bytesOf(LICENSE_RTF));
  if (change) change(folder);
  const std::filesystem::path manifest = folder / (manifestName + ".json");
  copyFile(std::string(INSTALLER_TEST_MANIFESTS) + "/" + manifestName + ".json", manifest);
  if (editManifest) {
    std::string text = fileText(hostPath(manifest));
    editManifest(text);
    writeBytes(manifest, bytesOf(text));
  }

  BuildPlan plan;
  std::string error;
  std::vector<uint8_t> output;
  std::string launcher = hostPath(folder / (manifestName + "Setup.exe"));
  const bool built = loadBuildPlan(hostPath(manifest), plan, error) &&
                     buildInstallerFile(plan, output, error) && writeWholeFile(launcher, output, error);
  EXPECT_TRUE(built) << error;
  return launcher;
}

namespace {

// One run of a launcher under the debug loop, shared between the loop's
// thread and the watching test thread.
struct DebuggedRun {
  std::string commandLine, folder, installerName;
  volatile LONG installer = 0;  // its process id once it has started
  DWORD installerExitCode = 0, launcherExitCode = 0;
  bool started = false, installerSeen = false, installerEnded = false, launcherEnded = false;
  size_t stillRunning = 0;
  bool installerStillRunning = false;
};

// What the debug loop knows of the processes it watches.
struct DebugLoopState {
  DWORD launcher = 0, installer = 0;
  std::set<DWORD> running, loaderBreakpointSeen, released;
};

// The installer copy has the launcher's file name, in its work folder.
// Anything else the launcher starts (Wine's desktop process, say) is let go
// as soon as it is seen.
void noteCreatedProcess(const DEBUG_EVENT &event, DebuggedRun &run, DebugLoopState &state) {
  if (event.dwProcessId == state.launcher) {
    state.running.insert(event.dwProcessId);
  } else if (state.installer == 0 &&
             fileNameOf(imagePathOf(event.u.CreateProcessInfo.hFile)) == run.installerName) {
    state.installer = event.dwProcessId;
    InterlockedExchange(&run.installer, static_cast<LONG>(state.installer));
    state.running.insert(event.dwProcessId);
  } else {
    state.released.insert(event.dwProcessId);
  }
  if (event.u.CreateProcessInfo.hFile != nullptr) CloseHandle(event.u.CreateProcessInfo.hFile);
}

// One debug event; returns how the debuggee is to go on.
DWORD handleDebugEvent(const DEBUG_EVENT &event, DebuggedRun &run, DebugLoopState &state) {
  switch (event.dwDebugEventCode) {
    case CREATE_PROCESS_DEBUG_EVENT:
      noteCreatedProcess(event, run, state);
      break;
    case LOAD_DLL_DEBUG_EVENT:
      if (event.u.LoadDll.hFile != nullptr) CloseHandle(event.u.LoadDll.hFile);
      break;
    case EXCEPTION_DEBUG_EVENT:
      // Only the loader's first breakpoint in each process is ours to pass.
      if (event.u.Exception.ExceptionRecord.ExceptionCode != EXCEPTION_BREAKPOINT ||
          !state.loaderBreakpointSeen.insert(event.dwProcessId).second)
        return DBG_EXCEPTION_NOT_HANDLED;
      break;
    case EXIT_PROCESS_DEBUG_EVENT:
      state.running.erase(event.dwProcessId);
      if (event.dwProcessId == state.installer) {
        run.installerExitCode = event.u.ExitProcess.dwExitCode;
        run.installerEnded = true;
      } else if (event.dwProcessId == state.launcher) {
        run.launcherExitCode = event.u.ExitProcess.dwExitCode;
        run.launcherEnded = true;
      }
      break;
  }
  return DBG_CONTINUE;
}

// A run that did not end leaves nothing behind.
void endStuckProcesses(const std::set<DWORD> &running) {
  for (DWORD stuck : running) {
    HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, stuck);
    if (process != nullptr) TerminateProcess(process, 1);
    if (process != nullptr) CloseHandle(process);
  }
}

// The debug loop. It has a thread of its own: debug events go to the thread
// that started the process, and a debuggee stopped at an event (loading a
// DLL while a dialog paints, say) waits for that thread, so a watcher that
// sent the debuggee's windows a message from that thread would wait forever.
DWORD WINAPI debugLauncherToEnd(void *context) {
  DebuggedRun &run = *static_cast<DebuggedRun *>(context);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started = {};
  // Processes let go of must go on running when this thread ends.
  DebugSetProcessKillOnExit(FALSE);
  if (!CreateProcessA(nullptr, run.commandLine.data(), nullptr, nullptr, FALSE, DEBUG_PROCESS, nullptr,
                      run.folder.c_str(), &startup, &started))
    return 0;
  run.started = true;
  CloseHandle(started.hThread);
  DebugLoopState state;
  state.launcher = started.dwProcessId;
  state.running = {started.dwProcessId};
  const DWORD deadline = GetTickCount() + INSTALLER_TIMEOUT_MS;
  while (!state.running.empty() && GetTickCount() < deadline) {
    DEBUG_EVENT event;
    if (!WaitForDebugEvent(&event, 50)) continue;
    ContinueDebugEvent(event.dwProcessId, event.dwThreadId, handleDebugEvent(event, run, state));
    if (state.released.contains(event.dwProcessId)) DebugActiveProcessStop(event.dwProcessId);
  }
  endStuckProcesses(state.running);
  CloseHandle(started.hProcess);
  run.installerSeen = state.installer != 0;
  run.stillRunning = state.running.size();
  run.installerStillRunning = state.running.contains(state.installer);
  return 0;
}

}  // namespace

bool InstallerEndToEnd::runLauncherToEnd(const std::string &launcher, const std::string &parameters,
                                         DWORD *installerExitCode,
                                         const std::function<void(DWORD)> &watch) {
  DebuggedRun run;
  run.commandLine = "\"" + launcher + "\" " + parameters;
  run.folder = hostPath(scratch_->path());
  run.installerName = fileNameOf(launcher);
  HANDLE loop = CreateThread(nullptr, 0, debugLauncherToEnd, &run, 0, nullptr);
  if (loop == nullptr) return false;
  do {
    watch(static_cast<DWORD>(InterlockedCompareExchange(&run.installer, 0, 0)));
  } while (WaitForSingleObject(loop, 50) == WAIT_TIMEOUT);
  CloseHandle(loop);
  if (!run.started) return false;
  if (run.installerEnded) *installerExitCode = run.installerExitCode;
  // The launcher tells scripts what its installer told it.
  if (run.installerEnded && run.launcherEnded) EXPECT_EQ(run.launcherExitCode, run.installerExitCode);
  EXPECT_TRUE(run.installerSeen) << "the installer was never started";
  EXPECT_EQ(run.stillRunning, 0u) << run.stillRunning << " processes still running, the installer "
                                  << (run.installerStillRunning ? "among them" : "ended");
  return run.stillRunning == 0;
}

HWND InstallerEndToEnd::startInteractive(const std::string &launcher, driver::TestProgram &launcherProgram,
                                         driver::TestProgram &installer) {
  if (!launcherProgram.start("\"" + launcher + "\"", hostPath(scratch_->path()))) return nullptr;
  HWND form = driver::waitForTopLevelWindow({"", "TInstallerForm", 0, true}, INSTALLER_TIMEOUT_MS);
  if (form != nullptr && !installer.attach(driver::processIdOfWindow(form))) return nullptr;
  return form;
}

void InstallerEndToEnd::expectBothEnd(driver::TestProgram &installer,
                                      driver::TestProgram &launcherProgram) {
  DWORD exitCode = 99;
  EXPECT_TRUE(installer.waitForExit(INSTALLER_TIMEOUT_MS, &exitCode));
  EXPECT_EQ(exitCode, 0u);
  EXPECT_TRUE(launcherProgram.waitForExit(INSTALLER_TIMEOUT_MS, nullptr));
}

HWND InstallerEndToEnd::pressInstall(HWND form, const driver::TestProgram &installer) {
  if (!driver::clickButton(form, "Install")) return nullptr;
  return driver::waitForTopLevelWindow({"Confirm", "#32770", installer.processId(), true},
                                       INSTALLER_TIMEOUT_MS);
}

void InstallerEndToEnd::declineControlPanel(HWND question, driver::TestProgram &installer,
                                            driver::TestProgram &launcherProgram) {
  EXPECT_TRUE(driver::clickButton(question, "No"));
  expectBothEnd(installer, launcherProgram);
}

std::string InstallerEndToEnd::saverFolder() { return sharedSaverFolder() + SAVER_NAME + "\\"; }

std::string InstallerEndToEnd::uninstallValue(const char *name) {
  std::string value;
  if (readRegistryText(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, name, value)) return value;
  readRegistryText(HKEY_CURRENT_USER, UNINSTALL_KEY, name, value);
  return value;
}

std::set<std::string> InstallerEndToEnd::workFolders() {
  std::set<std::string> folders;
  // The launcher's below the user's own folder, the installer's in the shared one.
  for (const std::string &root :
       {driver::specialFolder(CSIDL_LOCAL_APPDATA) + "Lumavane\\", sharedSaverFolder()}) {
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((root + "QRP*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) continue;
    do folders.insert(root + entry.cFileName);
    while (FindNextFileA(search, &entry));
    FindClose(search);
  }
  return folders;
}

void InstallerEndToEnd::expectInstalled(Uninstaller uninstaller) {
  for (const std::string &member : MEMBER_PATHS)
    EXPECT_EQ(fileText(saverFolder() + member),
              fileText(hostPath(scratch_->path() / "members") + "\\" + member))
        << member;
  EXPECT_TRUE(exists(saverFolder() + MEMBER_PATHS.front()));
  EXPECT_EQ(fileText(saverFolder() + NOTES_FILE), fileText(hostPath(scratch_->path() / NOTES_FILE)));
  const std::string program = fileText(hostPath(scratch_->path() / SAVER_PROGRAM));
  EXPECT_EQ(fileText(systemFolder() + SAVER_PROGRAM), program);
  if (!sysnativeFolder().empty()) {
    EXPECT_EQ(fileText(sysnativeFolder() + SAVER_PROGRAM), program);
  }
  EXPECT_EQ(fileText(sharedSaverFolder() + SHARED_LIBRARY),
            fileText(hostPath(scratch_->path() / "tidefx.dat")));

  // The record as carried, with the packer's member count: the members and
  // the uninstaller the test packages carry.
  std::vector<uint8_t> settings = tideSettingsRecord();
  const uint32_t members = static_cast<uint32_t>(MEMBER_PATHS.size() + 1);
  for (int i = 0; i < 4; ++i) settings[MEMBER_COUNT_OFFSET + i] = static_cast<uint8_t>(members >> (8 * i));
  EXPECT_EQ(fileText(saverFolder() + "saver.dat"), std::string(settings.begin(), settings.end()));

  EXPECT_EQ(uninstallValue("DisplayName"), "Tide Screen Saver");
  EXPECT_EQ(uninstallValue("UninstallString"), uninstaller == Uninstaller::carried
                                                   ? "\"" + saverFolder() + "saverremove.exe\" /n=\"Tide\""
                                                   : systemFolder() + SAVER_PROGRAM + " /u");
  const std::string activeSaver = shortPathOf(systemFolder() + SAVER_PROGRAM);
  char inSystemIni[MAX_PATH] = "";
  GetPrivateProfileStringA("boot", "SCRNSAVE.EXE", "", inSystemIni, sizeof inSystemIni, "system.ini");
  EXPECT_EQ(inSystemIni, activeSaver);
  std::string inRegistry;
  EXPECT_TRUE(readRegistryText(HKEY_CURRENT_USER, "Control Panel\\Desktop", "SCRNSAVE.EXE", inRegistry));
  EXPECT_EQ(inRegistry, activeSaver);
}

void InstallerEndToEnd::expectNothingInstalled() {
  EXPECT_FALSE(exists(saverFolder()));
  EXPECT_FALSE(exists(systemFolder() + SAVER_PROGRAM));
  if (!sysnativeFolder().empty()) {
    EXPECT_FALSE(exists(sysnativeFolder() + SAVER_PROGRAM));
  }
  EXPECT_EQ(uninstallValue("DisplayName"), "");
}

void InstallerEndToEnd::removeInstallation() {
  driver::removeInstalledSaver({SAVER_NAME, SAVER_NAME, {SHARED_LIBRARY}});
}
