// How long the user waits, under Wine: from starting the launcher until the
// installer's window shows, beside a hello-world window program and beside
// the same window started by a hidden-window program through the shell (the
// floor of any two program starts); and a quiet installation of a 64 MB
// package of 1000 members, beside copying the same bytes. Prints one table
// and its ratios; run it through the build tree's wine-run.
#include <shlobj.h>
#include <shlwapi.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "packFixture.h"
#include "testDriver.h"
#include "tools/saverpack/installerFile.h"
#include "tools/saverpack/manifest.h"

namespace {

const int ROUNDS = 5;
const int MEMBER_COUNT = 1000;
const size_t MEMBER_SIZE = 64 * 1024;
const DWORD TIMEOUT_MS = 300000;

double secondsSince(LARGE_INTEGER start) {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return double(now.QuadPart - start.QuadPart) / double(frequency.QuadPart);
}

LARGE_INTEGER now() {
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return counter;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

bool startProgram(const std::string &commandLine, const std::string &folder, PROCESS_INFORMATION &started) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  std::string line = commandLine;
  return CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &started) != 0;
}

HWND waitForVisibleWindow(const char *windowClass) {
  for (DWORD start = GetTickCount(); GetTickCount() - start < TIMEOUT_MS; Sleep(5)) {
    HWND window = FindWindowA(windowClass, nullptr);
    if (window != nullptr && IsWindowVisible(window)) return window;
  }
  return nullptr;
}

// Seconds from the start of the program until a window of the class shows,
// after which the window is closed and the program awaited.
double secondsUntilWindow(const std::string &commandLine, const std::string &folder,
                          const char *windowClass) {
  const LARGE_INTEGER start = now();
  PROCESS_INFORMATION started = {};
  if (!startProgram(commandLine, folder, started)) return -1;
  HWND window = waitForVisibleWindow(windowClass);
  const double seconds = window != nullptr ? secondsSince(start) : -1;
  if (window != nullptr) PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  if (WaitForSingleObject(started.hProcess, TIMEOUT_MS) != WAIT_OBJECT_0)
    TerminateProcess(started.hProcess, 1);
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
  return seconds;
}

double secondsToRun(const std::string &commandLine, const std::string &folder) {
  const LARGE_INTEGER start = now();
  PROCESS_INFORMATION started = {};
  if (!startProgram(commandLine, folder, started)) return -1;
  const bool ended = WaitForSingleObject(started.hProcess, TIMEOUT_MS) == WAIT_OBJECT_0;
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
  return ended ? secondsSince(start) : -1;
}

bool buildLauncher(const std::filesystem::path &manifest, const std::string &output) {
  BuildPlan plan;
  std::string error;
  std::vector<uint8_t> bytes;
  if (loadBuildPlan(manifest.string(), plan, error) && buildInstallerFile(plan, bytes, error) &&
      writeWholeFile(output, bytes, error))
    return true;
  std::fprintf(stderr, "cannot build %s: %s\n", output.c_str(), error.c_str());
  return false;
}

void copyProgram(const char *unixPath, const std::filesystem::path &target) {
  std::filesystem::create_directories(target.parent_path());
  std::filesystem::copy_file(driver::windowsPathOf(unixPath), target,
                             std::filesystem::copy_options::overwrite_existing);
}

const char MANIFEST_START[] =
    "{\"saverName\": \"Bench\", \"uninstall\": \"saver\", \"launcher\": \"bin/saverstart.exe\", \"installer\": \"bin/saversetup.exe\","
    " \"codecLibrary\": \"bin/impborl.dll\", \"entries\": ["
    "{\"index\": 6, \"file\": \"Bench.scr\", \"destKind\": 2},"
    "{\"index\": 7, \"file\": \"installer.swf\", \"destKind\": 7},"
    "{\"index\": 9, \"file\": \"benchfx.dat\", \"destKind\": 3},"
    "{\"index\": 10, \"file\": \"notes.txt\", \"destKind\": 1}";

// A picture package for the window, with a small data file, and a quiet one
// whose data file holds MEMBER_COUNT compressible members in ten sub-folders.
bool writePackages(const std::filesystem::path &folder, const std::string &windowSetup,
                   const std::string &quietSetup) {
  copyProgram(SAVERSTART_EXE, folder / "bin" / "saverstart.exe");
  copyProgram(SAVERSETUP_EXE, folder / "bin" / "saversetup.exe");
  copyProgram(IMPBORL_DLL, folder / "bin" / "impborl.dll");
  writeBytes(folder / "splash.bmp", bitmapFile(96, 54));
  writeBytes(folder / "Bench.scr", compressibleBytes(30000));
  for (const char *name : {"installer.swf", "benchfx.dat", "notes.txt"})
    writeBytes(folder / name, compressibleBytes(100));
  writeBytes(folder / "few" / "one.txt", compressibleBytes(100));
  const std::vector<uint8_t> member = compressibleBytes(MEMBER_SIZE);
  for (int i = 0; i < MEMBER_COUNT; ++i)
    writeBytes(folder / "many" / ("part" + std::to_string(i % 10)) / ("m" + std::to_string(i) + ".bin"),
               member);
  const std::string windowManifest =
      std::string(MANIFEST_START) +
      ", {\"index\": 3, \"file\": \"splash.bmp\", \"destKind\": 7}], \"installerType\": 1,"
      " \"dataFile\": {\"name\": \"bench.dat\", \"members\": \"few\"}}";
  const std::string quietManifest =
      std::string(MANIFEST_START) +
      "], \"installerType\": 4, \"dataFile\": {\"name\": \"bench.dat\", \"members\": \"many\", \"compressMembers\": true}}";
  writeBytes(folder / "window.json", std::vector<uint8_t>(windowManifest.begin(), windowManifest.end()));
  writeBytes(folder / "quiet.json", std::vector<uint8_t>(quietManifest.begin(), quietManifest.end()));
  return buildLauncher(folder / "window.json", windowSetup) &&
         buildLauncher(folder / "quiet.json", quietSetup);
}

// What a run leaves: the saver folder, its program and the uninstall entry.
void removeInstallation() { driver::removeInstalledSaver({"Bench", "Bench", {"benchfx.dll"}}); }

double secondsToCopyTree(const std::filesystem::path &from, const std::filesystem::path &to) {
  std::error_code ignored;
  std::filesystem::remove_all(to, ignored);
  const LARGE_INTEGER start = now();
  std::filesystem::copy(from, to, std::filesystem::copy_options::recursive);
  return secondsSince(start);
}

// The median seconds of each row, over ROUNDS rounds.
struct Medians {
  double hello, twoStarts, window, install, copy;
};

std::string quoted(const std::string &path) { return "\"" + path + "\""; }

// False when a run failed or timed out.
bool timeRounds(const std::filesystem::path &folder, const std::string &windowSetup,
                const std::string &quietSetup, Medians &medians) {
  const std::string hello = quoted((folder / "hello.exe").string());
  std::string twoStarts = quoted((folder / "hellolauncher.exe").string());
  twoStarts += ' ';
  twoStarts += hello;
  const std::string window = quoted(windowSetup);
  std::string quiet = quoted(quietSetup);
  quiet += " /q";
  std::vector<double> times[5];
  for (int round = 0; round < ROUNDS; ++round) {
    times[0].push_back(secondsUntilWindow(hello, folder.string(), "THelloWindow"));
    times[1].push_back(secondsUntilWindow(twoStarts, folder.string(), "THelloWindow"));
    times[2].push_back(secondsUntilWindow(window, folder.string(), "TInstallerForm"));
    removeInstallation();
    times[3].push_back(secondsToRun(quiet, folder.string()));
    removeInstallation();
    times[4].push_back(secondsToCopyTree(folder / "many", folder / "copy"));
  }
  for (const std::vector<double> &row : times)
    if (*std::min_element(row.begin(), row.end()) < 0) return false;
  medians = {median(times[0]), median(times[1]), median(times[2]), median(times[3]), median(times[4])};
  return true;
}

void printTable(const Medians &medians) {
  const double megabytes = double(MEMBER_COUNT) * MEMBER_SIZE / (1024 * 1024);
  std::printf("median of %d rounds, in seconds\n", ROUNDS);
  std::printf("%-52s %8.3f\n", "hello-world window shown", medians.hello);
  std::printf("%-52s %8.3f\n", "hidden window -> shell -> hello-world window shown", medians.twoStarts);
  std::printf("%-52s %8.3f\n", "launcher started -> installer window shown", medians.window);
  std::printf("%-52s %8.3f  (%.0f MiB, %d members)\n", "quiet install through the launcher",
              medians.install, megabytes, MEMBER_COUNT);
  std::printf("%-52s %8.3f\n", "copying the same member bytes", medians.copy);
  std::printf(
      "window / hello %.2f, window / two starts %.2f, two starts / hello %.2f, install / copy %.2f\n",
      medians.window / medians.hello, medians.window / medians.twoStarts, medians.twoStarts / medians.hello,
      medians.install / medians.copy);
}

}  // namespace

int main() {
  ScratchFolder scratch;
  const std::filesystem::path &folder = scratch.path();
  const std::string windowSetup = (folder / "WindowSetup.exe").string();
  const std::string quietSetup = (folder / "QuietSetup.exe").string();
  if (!writePackages(folder, windowSetup, quietSetup)) return 1;
  copyProgram(HELLO_WINDOW_EXE, folder / "hello.exe");
  copyProgram(HELLO_LAUNCHER_EXE, folder / "hellolauncher.exe");
  Medians medians;
  if (!timeRounds(folder, windowSetup, quietSetup, medians)) {
    std::fprintf(stderr, "a run failed or timed out\n");
    return 1;
  }
  printTable(medians);
  return 0;
}
