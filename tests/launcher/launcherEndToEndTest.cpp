// saverstart under Wine, end to end: a launcher file made of saverstart.exe
// and the fake installer, started for real, its effects checked afterwards.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <tlhelp32.h>

#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>

#include "common/statusCodes.h"
#include "testDriver.h"

namespace {

const DWORD PROGRAM_TIMEOUT_MS = 60000;

std::string fileBytes(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool exists(const std::string &path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string lumavaneFolder() {
  char localAppData[MAX_PATH] = "";
  SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, localAppData);
  return std::string(localAppData) + "\\Lumavane\\";
}

// The numbered work folders that exist now.
std::set<std::string> workFolders() {
  std::set<std::string> folders;
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA((lumavaneFolder() + "QRP*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return folders;
  do folders.insert(entry.cFileName);
  while (FindNextFileA(search, &entry));
  FindClose(search);
  return folders;
}

std::string systemFolder() {
  char folder[MAX_PATH] = "";
  GetSystemDirectoryA(folder, sizeof folder);
  return std::string(folder) + "\\";
}

std::string activeSaverInSystemIni() {
  char value[MAX_PATH] = "";
  GetPrivateProfileStringA("boot", "SCRNSAVE.EXE", "", value, sizeof value, "system.ini");
  return value;
}

// The value, or "<absent>" when the key or value does not exist.
std::string activeSaverInRegistry() {
  char value[MAX_PATH] = "";
  DWORD size = sizeof value;
  if (SHGetValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "SCRNSAVE.EXE", nullptr, value, &size) !=
      ERROR_SUCCESS)
    return "<absent>";
  return value;
}

void setEnvironment(const char *name, const std::string &value) {
  SetEnvironmentVariableA(name, value.empty() ? nullptr : value.c_str());
}

// The full path of the common controls library that the process has mapped,
// in lower case; "" when it has none.
std::string commonControlsLoadedBy(DWORD processId) {
  HANDLE modules = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId);
  if (modules == INVALID_HANDLE_VALUE) return "<not listed>";
  MODULEENTRY32 module = {};
  module.dwSize = sizeof module;
  std::string found;
  for (BOOL more = Module32First(modules, &module); more; more = Module32Next(modules, &module))
    if (lstrcmpiA(module.szModule, "comctl32.dll") == 0) found = CharLowerA(module.szExePath);
  CloseHandle(modules);
  return found;
}

// The lines of the launcher's trace box, cdMemo.
std::vector<std::string> traceBoxLines(HWND launcherWindow) {
  HWND cdMemo = FindWindowExA(launcherWindow, nullptr, "Edit", nullptr);
  std::istringstream text(driver::windowText(cdMemo));
  std::vector<std::string> lines;
  for (std::string line; std::getline(text, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

class LauncherEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    scratch_ = std::string(temp) + "launcher-e2e-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name() + "\\";
    CreateDirectoryA(scratch_.c_str(), nullptr);
    recordFile_ = scratch_ + "record.txt";
    // The scratch folder outlives a run; an earlier run's files would speak for this one.
    DeleteFileA(recordFile_.c_str());
    DeleteFileA((scratch_ + "end").c_str());
    setEnvironment("FAKE_INSTALLER_RECORD", recordFile_);
    setEnvironment("FAKE_INSTALLER_COMMANDS", "");
    setEnvironment("FAKE_INSTALLER_CLOSE", "");
    setEnvironment("FAKE_INSTALLER_LINGER_MS", "");
    setEnvironment("FAKE_INSTALLER_END_FILE", "");
    setEnvironment("FAKE_INSTALLER_LATE_COMMANDS", "");
  }

  // A launcher file: saverstart.exe with the fake installer appended, or
  // with the given bytes.
  std::string makeLauncher(const std::string &fileName) {
    return makeLauncherCarrying(fileName, fileBytes(driver::windowsPathOf(FAKE_INSTALLER_EXE)));
  }

  std::string makeLauncherCarrying(const std::string &fileName, const std::string &appended) {
    std::string launcher = scratch_ + fileName;
    std::ofstream out(launcher, std::ios::binary | std::ios::trunc);
    out << fileBytes(driver::windowsPathOf(SAVERSTART_EXE)) << appended;
    return launcher;
  }

  // Reads each of the launcher's error boxes, checks its caption and single
  // button, and clicks it away; then waits for the launcher's end.
  std::vector<std::string> clickThroughErrorBoxes(driver::TestProgram &program, int boxes) {
    std::vector<std::string> texts;
    for (int box = 0; box < boxes; ++box) {
      HWND dialog =
          driver::waitForTopLevelWindow({"Error", "#32770", program.processId(), true}, PROGRAM_TIMEOUT_MS);
      if (dialog == nullptr) break;
      EXPECT_EQ(driver::buttonCaptions(dialog), std::vector<std::string>{"&Abort"});
      // Drawn with the same controls as the installer's boxes.
      EXPECT_NE(commonControlsLoadedBy(program.processId()).find("common-controls"), std::string::npos);
      std::vector<std::string> statics = driver::staticTexts(dialog);
      texts.push_back(statics.empty() ? std::string() : statics.front());
      EXPECT_TRUE(driver::clickButton(dialog, "Abort"));
      EXPECT_TRUE(driver::waitForWindowGone(dialog, 10000));
    }
    EXPECT_TRUE(program.waitForExit(PROGRAM_TIMEOUT_MS, &exitCode_));
    return texts;
  }

  // Starts the launcher and waits for its end; false on timeout.
  bool runLauncher(const std::string &launcher, const std::string &parameters, DWORD *exitCode) {
    driver::TestProgram program;
    if (!program.start("\"" + launcher + "\" " + parameters, scratch_)) return false;
    return program.waitForExit(PROGRAM_TIMEOUT_MS, exitCode);
  }

  // The fake installer's record: every value of every key, in order.
  std::multimap<std::string, std::string> record() {
    std::multimap<std::string, std::string> values;
    std::istringstream lines(fileBytes(recordFile_));
    for (std::string line; std::getline(lines, line);) {
      size_t equals = line.find('=');
      if (equals != std::string::npos) values.emplace(line.substr(0, equals), line.substr(equals + 1));
    }
    return values;
  }

  std::string recorded(const std::string &key) {
    auto values = record();
    auto found = values.find(key);
    return found == values.end() ? std::string() : found->second;
  }

  // Waits until the fake installer has finished its work.
  bool waitForInstallerDone() {
    for (int wait = 0; wait < 600; ++wait) {
      if (recorded("done") == "1") return true;
      Sleep(100);
    }
    return false;
  }

  // Starts a launcher whose installer runs on without telling it to close
  // until letInstallerEnd, and returns its hidden main window once the
  // installer is done.
  HWND startWaitingLauncher(driver::TestProgram &launcher) {
    setEnvironment("FAKE_INSTALLER_CLOSE", "none");
    setEnvironment("FAKE_INSTALLER_END_FILE", scratch_ + "end");
    if (!launcher.start("\"" + makeLauncher("Setup.exe") + "\"", scratch_) || !waitForInstallerDone())
      return nullptr;
    return driver::findTopLevelWindow({"N", "TSenderMainForm", launcher.processId(), false});
  }

  DWORD exitCode_ = 99;  // the launcher's, after clickThroughErrorBoxes

  void letInstallerEnd() { std::ofstream(scratch_ + "end") << "end"; }

  std::string scratch_;
  std::string recordFile_;
};

TEST_F(LauncherEndToEnd, StartsTheCopyInItsWorkFolderAndRemovesItAfterTheCloseMessage) {
  std::string launcher = makeLauncher("My Setup.exe");
  DWORD exitCode = 99;
  ASSERT_TRUE(runLauncher(launcher, "/x /quiet", &exitCode));
  EXPECT_EQ(exitCode, 0u);

  std::string workFolder = recorded("folder");
  EXPECT_EQ(workFolder.rfind(lumavaneFolder() + "QRP", 0), 0u) << workFolder;
  EXPECT_EQ(recorded("program"), workFolder + "\\My Setup.exe");
  std::string commandLine = recorded("commandLine");
  size_t handleAt = commandLine.rfind(" /l=");
  ASSERT_NE(handleAt, std::string::npos) << commandLine;
  EXPECT_EQ(commandLine.find(" /q"), std::string::npos) << commandLine;
  EXPECT_GT(std::stoul(commandLine.substr(handleAt + 4)), 0ul);
  EXPECT_EQ(recorded("show"), std::to_string(SW_SHOWNORMAL));

  // WM_Close_Launcher ended it: the copy and its folder are gone, the
  // product folder stays.
  EXPECT_FALSE(exists(workFolder));
  EXPECT_TRUE(exists(lumavaneFolder()));
}

// The close message comes while the installer is still ending, and a running
// program's file cannot be deleted: the copy goes once the installer has ended.
TEST_F(LauncherEndToEnd, ACopyStillEndingAfterTheCloseMessageIsRemovedOnceItHasEnded) {
  setEnvironment("FAKE_INSTALLER_LINGER_MS", "1500");
  DWORD exitCode = 99;
  ASSERT_TRUE(runLauncher(makeLauncher("Setup.exe"), "", &exitCode));
  EXPECT_EQ(exitCode, 0u);
  EXPECT_EQ(recorded("done"), "1") << "the launcher ended before its installer";
  EXPECT_FALSE(exists(recorded("folder")));
}

TEST_F(LauncherEndToEnd, QuietSwitchBehindAnotherParameterStartsTheInstallerMinimised) {
  std::string launcher = makeLauncher("Setup.exe");
  for (const char *quiet : {"/q", "/Q"}) {
    DeleteFileA(recordFile_.c_str());
    DWORD exitCode = 99;
    ASSERT_TRUE(runLauncher(launcher, std::string("/x ") + quiet + " /y", &exitCode));
    std::string commandLine = recorded("commandLine");
    EXPECT_NE(commandLine.find("Setup.exe\" /q /l="), std::string::npos) << commandLine;
    EXPECT_EQ(recorded("show"), std::to_string(SW_MINIMIZE));
  }
}

TEST_F(LauncherEndToEnd, MakeActiveSaverWritesTheShortPathOfAnExistingSaver) {
  const std::string saverName = "Lumavane Test Saver.scr";
  const std::string saverPath = systemFolder() + saverName;
  std::ofstream(saverPath, std::ios::binary) << "saver";
  char shortPath[MAX_PATH] = "";
  GetShortPathNameA(saverPath.c_str(), shortPath, sizeof shortPath);
  ASSERT_EQ(std::string(shortPath).find(' '), std::string::npos) << shortPath;

  setEnvironment("FAKE_INSTALLER_COMMANDS", "makeActiveSaver-" + saverName);
  DWORD exitCode = 99;
  ASSERT_TRUE(runLauncher(makeLauncher("Setup.exe"), "", &exitCode));
  DeleteFileA(saverPath.c_str());
  EXPECT_EQ(recorded("reply"), "0");
  EXPECT_EQ(activeSaverInSystemIni(), shortPath);
  EXPECT_EQ(activeSaverInRegistry(), shortPath);

  // A missing file is written in its long form.
  DeleteFileA(recordFile_.c_str());
  setEnvironment("FAKE_INSTALLER_COMMANDS", "makeActiveSaver-No Such Saver.scr");
  ASSERT_TRUE(runLauncher(makeLauncher("Setup.exe"), "", &exitCode));
  EXPECT_EQ(activeSaverInSystemIni(), systemFolder() + "No Such Saver.scr");
  EXPECT_EQ(activeSaverInRegistry(), systemFolder() + "No Such Saver.scr");
}

TEST_F(LauncherEndToEnd, MakeActiveSaverRefusesNamesOutsideTheSystemFolder) {
  setEnvironment("FAKE_INSTALLER_COMMANDS",
                 "makeActiveSaver-safe.scr|makeActiveSaver-..\\evil.scr|"
                 "makeActiveSaver-C:\\evil.scr|makeActiveSaver-");
  DWORD exitCode = 99;
  ASSERT_TRUE(runLauncher(makeLauncher("Setup.exe"), "", &exitCode));
  auto values = record();
  auto replies = values.equal_range("reply");
  EXPECT_EQ(std::distance(replies.first, replies.second), 4);
  for (auto reply = replies.first; reply != replies.second; ++reply) EXPECT_EQ(reply->second, "0");
  EXPECT_EQ(activeSaverInSystemIni(), systemFolder() + "safe.scr");
  EXPECT_EQ(activeSaverInRegistry(), systemFolder() + "safe.scr");
}

// Wine's user32 recreates "Control Panel\Desktop" in every new GUI process,
// so the key is made unwritable instead of removed: the launcher then cannot
// open it for writing either.
TEST_F(LauncherEndToEnd, WithoutAWritableDesktopKeyOnlySystemIniIsWritten) {
  HKEY desktop;
  ASSERT_EQ(
      RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, READ_CONTROL | WRITE_DAC, &desktop),
      ERROR_SUCCESS);
  DWORD securitySize = 0;
  RegGetKeySecurity(desktop, DACL_SECURITY_INFORMATION, nullptr, &securitySize);
  std::vector<char> previousSecurity(securitySize);
  ASSERT_EQ(RegGetKeySecurity(desktop, DACL_SECURITY_INFORMATION, previousSecurity.data(), &securitySize),
            ERROR_SUCCESS);
  ACL noAccess;
  InitializeAcl(&noAccess, sizeof noAccess, ACL_REVISION);
  SECURITY_DESCRIPTOR locked;
  InitializeSecurityDescriptor(&locked, SECURITY_DESCRIPTOR_REVISION);
  SetSecurityDescriptorDacl(&locked, TRUE, &noAccess, FALSE);
  const std::string registryBefore = activeSaverInRegistry();
  ASSERT_EQ(RegSetKeySecurity(desktop, DACL_SECURITY_INFORMATION, &locked), ERROR_SUCCESS);

  setEnvironment("FAKE_INSTALLER_COMMANDS", "makeActiveSaver-keyless.scr");
  DWORD exitCode = 99;
  bool ended = runLauncher(makeLauncher("Setup.exe"), "", &exitCode);
  RegSetKeySecurity(desktop, DACL_SECURITY_INFORMATION, previousSecurity.data());
  RegCloseKey(desktop);

  ASSERT_TRUE(ended);
  EXPECT_EQ(recorded("reply"), "0");
  EXPECT_EQ(activeSaverInSystemIni(), systemFolder() + "keyless.scr");
  EXPECT_EQ(activeSaverInRegistry(), registryBefore);
  EXPECT_NE(activeSaverInRegistry(), systemFolder() + "keyless.scr");
}

TEST_F(LauncherEndToEnd, AnUnwritableSystemIniIsReportedAndStopsTheCommand) {
  char windowsFolder[MAX_PATH] = "";
  GetWindowsDirectoryA(windowsFolder, sizeof windowsFolder);
  const std::string systemIni = std::string(windowsFolder) + "\\system.ini";
  const std::string savedIni = systemIni + ".saved by launcher test";
  const std::string iniBefore = activeSaverInSystemIni(), registryBefore = activeSaverInRegistry();
  // A folder in its place: the tests run with root rights under Wine, which
  // a read-only attribute does not stop.
  ASSERT_TRUE(MoveFileA(systemIni.c_str(), savedIni.c_str()));
  ASSERT_TRUE(CreateDirectoryA(systemIni.c_str(), nullptr));

  setEnvironment("FAKE_INSTALLER_COMMANDS", "makeActiveSaver-unwritten.scr");
  driver::TestProgram program;
  bool started = program.start("\"" + makeLauncher("Setup.exe") + "\"", scratch_);
  std::vector<std::string> texts;
  if (started) texts = clickThroughErrorBoxes(program, 1);
  RemoveDirectoryA(systemIni.c_str());
  MoveFileA(savedIni.c_str(), systemIni.c_str());

  ASSERT_TRUE(started);
  EXPECT_EQ(texts, std::vector<std::string>{"Unable to write to system.ini"});
  EXPECT_EQ(recorded("reply"), "0");
  EXPECT_EQ(activeSaverInSystemIni(), iniBefore);
  EXPECT_EQ(activeSaverInRegistry(), registryBefore);
}

// desk.cpl is a stand-in that records how rundll32 opened it. The launcher's
// reply comes after its window searches, whether a window was found or not.
TEST_F(LauncherEndToEnd, OpenScreenSaverControlPanelRunsTheDisplayPanelOnItsSaverPage) {
  const std::string panel = systemFolder() + "desk.cpl";
  ASSERT_TRUE(CopyFileA(driver::windowsPathOf(FAKE_DISPLAY_PANEL).c_str(), panel.c_str(), FALSE));
  setEnvironment("FAKE_INSTALLER_COMMANDS", "openScreenSaverControlPanel");
  DWORD exitCode = 99;
  bool ended = runLauncher(makeLauncher("Setup.exe"), "", &exitCode);
  std::string opened;
  for (int wait = 0; wait < 300 && opened.empty(); ++wait, Sleep(100)) opened = recorded("controlPanel");
  DeleteFileA(panel.c_str());

  ASSERT_TRUE(ended);
  EXPECT_EQ(recorded("reply"), "0");
  EXPECT_EQ(opened, "parameters 1");
}

TEST_F(LauncherEndToEnd, TracesEveryCommandTwiceAndIgnoresTheUnknownOnes) {
  setEnvironment("FAKE_INSTALLER_COMMANDS", "no such command|close|openScreenSaverControlPanel ");
  driver::TestProgram launcher;
  HWND form = startWaitingLauncher(launcher);
  ASSERT_NE(form, nullptr);
  EXPECT_FALSE(IsWindowVisible(form));
  // Hidden, it needs no common controls: only its boxes load them.
  EXPECT_EQ(commonControlsLoadedBy(launcher.processId()), "");
  RECT bounds;
  GetWindowRect(form, &bounds);
  EXPECT_EQ(bounds.right - bounds.left, 412);
  EXPECT_EQ(bounds.bottom - bounds.top, 222);
  EXPECT_NE(recorded("commandLine").find("/l=" + std::to_string(reinterpret_cast<uintptr_t>(form))),
            std::string::npos);

  std::vector<std::string> lines = traceBoxLines(form);
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_EQ(lines[0], "cdMemo");
  EXPECT_EQ(lines[1],
            "subLaunchParams: " + recorded("commandLine").substr(recorded("commandLine").rfind("/l=")));
  EXPECT_EQ(lines[2].rfind("installer sublaunched: ", 0), 0u);
  const char *received[] = {"no such command", "close", "openScreenSaverControlPanel "};
  for (int command = 0; command < 3; ++command) {
    const std::string &from = lines[3 + 2 * command], &what = lines[4 + 2 * command];
    EXPECT_EQ(from.rfind("WM_CopyData from: ", 0), 0u) << from;
    std::string expected = std::string("Received MESSSAGE \"") + received[command] + "\" at ";
    EXPECT_EQ(what.rfind(expected, 0), 0u) << what;
  }

  letInstallerEnd();
  DWORD exitCode = 99;
  EXPECT_TRUE(launcher.waitForExit(PROGRAM_TIMEOUT_MS, &exitCode));
  EXPECT_FALSE(exists(recorded("folder")));
}

// Another program names its own window, or none, as the sender: the
// launcher traces and ignores its commands and close message, and still
// carries out its installer's, which come after them.
TEST_F(LauncherEndToEnd, CommandsAndTheCloseMessageOfAnotherProgramChangeNothing) {
  const std::string panel = systemFolder() + "desk.cpl";
  ASSERT_TRUE(CopyFileA(driver::windowsPathOf(FAKE_DISPLAY_PANEL).c_str(), panel.c_str(), FALSE));
  const std::string iniBefore = activeSaverInSystemIni(), registryBefore = activeSaverInRegistry();
  setEnvironment("FAKE_INSTALLER_LATE_COMMANDS", "makeActiveSaver-own.scr");
  driver::TestProgram launcher;
  HWND form = startWaitingLauncher(launcher);
  ASSERT_NE(form, nullptr);
  HWND stranger = CreateWindowExA(0, "STATIC", "stranger", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
  LRESULT reply = -1;
  for (HWND sender : {stranger, HWND(nullptr)}) {
    for (const char *command : {"makeActiveSaver-evil.scr", "openScreenSaverControlPanel", "Close"}) {
      EXPECT_TRUE(driver::sendCopyDataText(form, sender, command, 5000, &reply));
      EXPECT_EQ(traceBoxLines(form).back().rfind("ignored: sent by process ", 0), 0u) << command;
    }
  }
  EXPECT_TRUE(driver::postMessageTo(form, 0x0501));
  DWORD exitCode = 99;
  EXPECT_FALSE(launcher.waitForExit(1000, &exitCode)) << "a stranger's close message ended the launcher";
  EXPECT_EQ(traceBoxLines(form).back(), "closing when the installer ends");
  EXPECT_EQ(activeSaverInSystemIni(), iniBefore);
  EXPECT_EQ(activeSaverInRegistry(), registryBefore);
  DestroyWindow(stranger);

  letInstallerEnd();
  EXPECT_TRUE(launcher.waitForExit(PROGRAM_TIMEOUT_MS, &exitCode));
  DeleteFileA(panel.c_str());
  EXPECT_EQ(exitCode, 0u);
  EXPECT_EQ(recorded("controlPanel"), "");
  EXPECT_EQ(activeSaverInSystemIni(), systemFolder() + "own.scr");
  EXPECT_FALSE(exists(recorded("folder")));
}

TEST_F(LauncherEndToEnd, WhileWaitingNoDataIsAnEmptyCommandAndASecondLauncherGetsTheNextFolder) {
  driver::TestProgram launcher;
  HWND form = startWaitingLauncher(launcher);
  ASSERT_NE(form, nullptr);
  LRESULT reply = -1;
  EXPECT_TRUE(driver::sendCopyData(form, nullptr, 0, nullptr, 64, 5000, &reply));
  EXPECT_EQ(reply, 0);
  std::vector<std::string> lines = traceBoxLines(form);
  ASSERT_GE(lines.size(), 2u);
  const std::string &received = lines[lines.size() - 2];
  EXPECT_EQ(received.rfind("Received MESSSAGE \"\" at ", 0), 0u) << received;

  // A second launcher meanwhile gets the next free numbered work folder.
  std::string firstFolder = recorded("folder");
  std::set<std::string> taken = workFolders();
  int next = 1;
  while (taken.contains("QRP" + std::to_string(next))) ++next;
  DeleteFileA(recordFile_.c_str());
  setEnvironment("FAKE_INSTALLER_CLOSE", "");
  setEnvironment("FAKE_INSTALLER_END_FILE", "");
  DWORD exitCode = 99;
  ASSERT_TRUE(runLauncher(makeLauncher("Second.exe"), "", &exitCode));
  EXPECT_EQ(recorded("folder"), lumavaneFolder() + "QRP" + std::to_string(next));
  EXPECT_TRUE(exists(firstFolder + "\\Setup.exe"));

  letInstallerEnd();
  EXPECT_TRUE(driver::postMessageTo(form, 0x0501));
  EXPECT_TRUE(launcher.waitForExit(PROGRAM_TIMEOUT_MS, &exitCode));
  EXPECT_FALSE(exists(firstFolder));
}

// An installer that crashes or is ended from the task manager sends no close
// message: the launcher ends with it, with its exit code, and leaves no copy.
TEST_F(LauncherEndToEnd, EndsWithAnInstallerEndedByForceAndTakesItsExitCode) {
  driver::TestProgram launcher;
  ASSERT_NE(startWaitingLauncher(launcher), nullptr);
  const std::string workFolder = recorded("folder");
  HANDLE installer = OpenProcess(PROCESS_TERMINATE, FALSE, std::stoul(recorded("pid")));
  ASSERT_NE(installer, nullptr);
  EXPECT_TRUE(TerminateProcess(installer, 1234));
  CloseHandle(installer);

  DWORD exitCode = 99;
  ASSERT_TRUE(launcher.waitForExit(5000, &exitCode)) << "the launcher outlived its installer";
  EXPECT_EQ(exitCode, 1234u);
  EXPECT_FALSE(exists(workFolder));
}

// A launcher and its installer both ended by force leave their work folder;
// the next launcher removes it, but not a folder without a run's lock (an
// older launcher's, maybe still at work).
TEST_F(LauncherEndToEnd, WorkFolderOfALauncherEndedByForceGoesWithTheNextRun) {
  const std::string foreign = lumavaneFolder() + "QRP999";
  ASSERT_TRUE(CreateDirectoryA(foreign.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
  driver::TestProgram launcher;
  ASSERT_NE(startWaitingLauncher(launcher), nullptr);
  const std::string ended = recorded("folder");
  driver::TestProgram installer;
  ASSERT_TRUE(installer.attach(std::stoul(recorded("pid"))));
  launcher.terminate();
  installer.terminate();
  ASSERT_TRUE(exists(ended + "\\Setup.exe"));

  DWORD exitCode = 99;
  setEnvironment("FAKE_INSTALLER_CLOSE", "");
  setEnvironment("FAKE_INSTALLER_END_FILE", "");
  ASSERT_TRUE(runLauncher(makeLauncher("Again.exe"), "", &exitCode));
  EXPECT_EQ(exitCode, 0u);
  EXPECT_FALSE(exists(ended));
  EXPECT_TRUE(exists(foreign));
  RemoveDirectoryA(foreign.c_str());
}

TEST_F(LauncherEndToEnd, NothingAppendedShowsBothErrorsAndRemovesTheWorkFolder) {
  driver::TestProgram program;
  ASSERT_TRUE(program.start("\"" + makeLauncherCarrying("Empty.exe", "") + "\"", scratch_));
  std::vector<std::string> texts = clickThroughErrorBoxes(program, 2);
  ASSERT_EQ(texts.size(), 2u);

  const std::string &problem = texts[0];
  const std::string lead = "Installation Error: ";
  size_t separator = problem.find("\r\n\r\n");
  ASSERT_NE(separator, std::string::npos) << problem;
  std::string copy = problem.substr(lead.size(), separator - lead.size());
  EXPECT_EQ(problem, lead + copy + "\r\n\r\nProblem with file " + copy + ". ");
  EXPECT_EQ(copy.rfind(lumavaneFolder() + "QRP", 0), 0u) << copy;
  EXPECT_EQ(copy.substr(copy.rfind('\\')), "\\Empty.exe");
  EXPECT_EQ(texts[1], "Installer file is corrupted. Error: -7. ");
  EXPECT_FALSE(exists(copy.substr(0, copy.rfind('\\'))));
  EXPECT_EQ(static_cast<int32_t>(exitCode_), STATUS_NOTHING_APPENDED);
}

// Without a working installer nobody would ever ask the launcher to close:
// it reports the shell's failure and ends, leaving nothing behind.
TEST_F(LauncherEndToEnd, AnInstallerThatCannotStartIsReportedAndRemoved) {
  std::set<std::string> foldersBefore = workFolders();
  driver::TestProgram program;
  ASSERT_TRUE(
      program.start("\"" + makeLauncherCarrying("Broken.exe", "no program at all") + "\"", scratch_));
  std::vector<std::string> texts = clickThroughErrorBoxes(program, 1);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].rfind("The installer could not be started. Error: ", 0), 0u) << texts[0];
  EXPECT_EQ(workFolders(), foldersBefore);
  EXPECT_EQ(static_cast<int32_t>(exitCode_), STATUS_INSTALLER_NOT_STARTED);
}

}  // namespace
