// Memory and time of a big install, under Wine: a quiet installation
// through the launcher of a small package and of a big one (one member of
// about 1.4 GB, stored plain), each with the installer's peak memory, and
// the big one's time beside copying the same bytes. The packages are
// built on the host (tools/bench-big-install.sh), which passes their folder
// as the one argument. Prints one table; exits 1 when a run fails.
#include <windows.h>
// After windows.h, which it needs.
#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "testDriver.h"

namespace {

const DWORD TIMEOUT_MS = 1800000;
const DWORD POLL_MS = 20;
const double MIB = 1024.0 * 1024.0;
const int ROUNDS = 3;

LARGE_INTEGER now() {
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return counter;
}

double secondsSince(LARGE_INTEGER start) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return double(now().QuadPart - start.QuadPart) / double(frequency.QuadPart);
}

// The process the launcher started: the installer.
HANDLE openChildOf(DWORD parentId) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return nullptr;
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  HANDLE child = nullptr;
  for (BOOL more = Process32First(snapshot, &entry); more && child == nullptr;
       more = Process32Next(snapshot, &entry))
    if (entry.th32ParentProcessID == parentId)
      child = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | SYNCHRONIZE, FALSE,
                          entry.th32ProcessID);
  CloseHandle(snapshot);
  return child;
}

struct InstallRun {
  DWORD exitCode = 1;
  double seconds = -1;                          // from the launcher's start to its end
  double installerSeconds = -1;                 // from the installer's start (as first seen) to its end
  size_t peakWorkingSet = 0, peakPagefile = 0;  // the installer's high-water marks
};

// The installer's marks are peaks, so the last reading before it ends holds
// them; reading every few milliseconds keeps that reading close to the end.
void readPeaks(HANDLE installer, InstallRun &run) {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(installer, &counters, sizeof counters)) return;
  if (counters.PeakWorkingSetSize > run.peakWorkingSet) run.peakWorkingSet = counters.PeakWorkingSetSize;
  if (counters.PeakPagefileUsage > run.peakPagefile) run.peakPagefile = counters.PeakPagefileUsage;
}

bool installQuietly(const std::string &setup, const std::string &folder, InstallRun &run) {
  std::string line = "\"" + setup + "\" /q";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION launcher = {};
  const LARGE_INTEGER start = now();
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                      &launcher))
    return false;
  HANDLE installer = nullptr;
  LARGE_INTEGER installerStart = {};
  for (DWORD waited = 0; WaitForSingleObject(launcher.hProcess, POLL_MS) == WAIT_TIMEOUT;
       waited += POLL_MS) {
    if (installer == nullptr && (installer = openChildOf(launcher.dwProcessId)) != nullptr)
      installerStart = now();
    if (installer != nullptr && run.installerSeconds < 0) readPeaks(installer, run);
    if (installer != nullptr && run.installerSeconds < 0 &&
        WaitForSingleObject(installer, 0) == WAIT_OBJECT_0)
      run.installerSeconds = secondsSince(installerStart);
    if (waited > TIMEOUT_MS) TerminateProcess(launcher.hProcess, 1);
  }
  run.seconds = secondsSince(start);
  GetExitCodeProcess(launcher.hProcess, &run.exitCode);
  // An installer that ended just before its launcher is seen ending here.
  if (installer != nullptr && run.installerSeconds < 0) run.installerSeconds = secondsSince(installerStart);
  if (installer != nullptr) CloseHandle(installer);
  CloseHandle(launcher.hThread);
  CloseHandle(launcher.hProcess);
  return run.exitCode == 0 && run.peakWorkingSet > 0;
}

double secondsToCopy(const std::string &from, const std::string &to) {
  const LARGE_INTEGER start = now();
  const bool copied = CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
  const double seconds = secondsSince(start);
  DeleteFileA(to.c_str());
  return copied ? seconds : -1;
}

void removeInstallation() { driver::removeInstalledSaver({"Bench", "Bench", {"benchfx.dll"}}); }

// The median of an odd number of figures.
double median(std::vector<double> figures) {
  std::sort(figures.begin(), figures.end());
  return figures[figures.size() / 2];
}

// The bytes an install through the launcher must move, copied as plainly as
// Windows can: the package file, as the launcher copies its installer out,
// then the member, which the installer so meets on a disk still writing the
// first copy. Seconds of each, or -1.
struct CopyRun {
  double package = -1, member = -1;
};

CopyRun copyLikeTheInstall(const std::string &folder) {
  CopyRun run;
  const std::string packageCopy = folder + "\\package-copy.exe";
  const LARGE_INTEGER start = now();
  if (CopyFileA((folder + "\\BigSetup.exe").c_str(), packageCopy.c_str(), FALSE))
    run.package = secondsSince(start);
  run.member = secondsToCopy(folder + "\\big\\movie.bin", folder + "\\movie-copy.bin");
  DeleteFileA(packageCopy.c_str());
  return run;
}

void printRun(const char *name, const InstallRun &run) {
  std::printf(
      "%-34s %8.3f s (installer %8.3f s)  exit %ld  peak working set %7.1f MiB, pagefile %7.1f MiB\n", name,
      run.seconds, run.installerSeconds, static_cast<long>(static_cast<int32_t>(run.exitCode)),
      run.peakWorkingSet / MIB, run.peakPagefile / MIB);
}

}  // namespace

// The big install and the copies take turns, ROUNDS times, so that both
// meet the machine as it drifts; medians are compared.
int main(int argc, char **argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: bench_big_install FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  InstallRun small, big;
  removeInstallation();
  bool done = installQuietly(folder + "\\SmallSetup.exe", folder, small);
  printRun("quiet install, small package", small);
  std::vector<double> installs, installers, packageCopies, memberCopies;
  for (int round = 0; round < ROUNDS && done; ++round) {
    removeInstallation();
    big = InstallRun();
    done = installQuietly(folder + "\\BigSetup.exe", folder, big);
    // A failed run is shown too: its memory tells how far it got.
    printRun("quiet install, big package", big);
    removeInstallation();
    const CopyRun copy = copyLikeTheInstall(folder);
    std::printf("%-34s %8.3f s, then the member %8.3f s\n", "copying the package", copy.package,
                copy.member);
    done = done && copy.package > 0 && copy.member > 0;
    installs.push_back(big.seconds);
    installers.push_back(big.installerSeconds);
    packageCopies.push_back(copy.package);
    memberCopies.push_back(copy.member);
  }
  if (!done) return 1;
  const double install = median(installs), installer = median(installers);
  const double packageCopy = median(packageCopies), memberCopy = median(memberCopies);
  std::printf(
      "medians of %d: install %.3f s, installer %.3f s, package copy %.3f s, member copy %.3f s\n"
      "peak working set big - small %.1f MiB, peak pagefile big - small %.1f MiB,\n"
      "install / both copies %.2f, installer / member copy %.2f\n",
      ROUNDS, install, installer, packageCopy, memberCopy,
      (double(big.peakWorkingSet) - double(small.peakWorkingSet)) / MIB,
      (double(big.peakPagefile) - double(small.peakPagefile)) / MIB, install / (packageCopy + memberCopy),
      installer / memberCopy);
  return 0;
}
