#include "hostLink.h"

#include <windows.h>

#include <cctype>

namespace driver {

namespace {

// Wine's own export: the host path of a Windows path.
std::string hostPathOf(const std::string &path) {
  typedef char *(CDECL * UnixNameEntry)(LPCWSTR);
  const UnixNameEntry unixName = reinterpret_cast<UnixNameEntry>(reinterpret_cast<void *>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  wchar_t wide[MAX_PATH] = L"";
  if (unixName == nullptr || !MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH)) return "";
  char *host = unixName(wide);
  if (host == nullptr) return "";
  std::string result = host;
  HeapFree(GetProcessHeap(), 0, host);
  return result;
}

const DWORD HOST_TIMEOUT_MS = 20000;

// Wine starts a host program named by its Z: path but gives no handle to
// wait on: done is polled until it holds.
bool runHostProgram(std::string commandLine, const std::function<bool()> &done) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process))
    return false;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  for (const DWORD start = GetTickCount(); !done() && GetTickCount() - start < HOST_TIMEOUT_MS;) Sleep(50);
  return done();
}

// The size of the volume folder lies on, as Windows reads it.
unsigned long long volumeBytesOf(const std::string &folder) {
  ULARGE_INTEGER total = {};
  if (!GetDiskFreeSpaceExA(folder.c_str(), nullptr, &total, nullptr)) return 0;
  return total.QuadPart;
}

// Where a drive's volume is mounted on the host, and its device link.
std::string hostMountOf(char letter) { return std::string("/tmp/saver-test-drive-") + letter; }
std::string deviceLinkOf(char letter) {
  char prefix[MAX_PATH] = "";
  GetEnvironmentVariableA("WINEPREFIX", prefix, MAX_PATH);
  return std::string(prefix) + "/dosdevices/" + static_cast<char>(tolower(letter)) + ":";
}

}  // namespace

bool mountHostDrive(char letter, unsigned megabytes) {
  const std::string root = std::string(1, letter) + ":\\", mount = hostMountOf(letter);
  const unsigned long long bytes = static_cast<unsigned long long>(megabytes) << 20;
  return runHostProgram("Z:\\bin\\sh -c \"mkdir -p " + mount +
                            " && mount -t tmpfs -o size=" + std::to_string(megabytes) + "m tmpfs " + mount +
                            " && ln -sfn " + mount + " '" + deviceLinkOf(letter) + "'\"",
                        [&root, bytes] { return volumeBytesOf(root) == bytes; });
}

bool unmountHostDrive(char letter) {
  const std::string root = std::string(1, letter) + ":\\", mount = hostMountOf(letter);
  // Lazily: Wine may still hold a handle on it for a moment.
  return runHostProgram("Z:\\bin\\sh -c \"rm -f '" + deviceLinkOf(letter) + "'; umount -l " + mount +
                            "; rmdir " + mount + "\"",
                        [&root] { return volumeBytesOf(root) == 0; });
}

bool fillHostVolume(const std::string &folder) {
  const std::string filler = hostPathOf(folder) + "/filler.bin";
  if (filler.size() == std::string("/filler.bin").size()) return false;
  return runHostProgram("Z:\\bin\\sh -c \"head -c 4G /dev/zero > '" + filler + "' 2>/dev/null\"",
                        [&folder] {
                          ULARGE_INTEGER freeBytes = {};
                          return GetDiskFreeSpaceExA(folder.c_str(), &freeBytes, nullptr, nullptr) &&
                                 freeBytes.QuadPart < 4096;
                        });
}

bool makeHostLink(const std::string &target, const std::string &link) {
  const std::string hostTarget = hostPathOf(target), hostLink = hostPathOf(link);
  if (hostTarget.empty() || hostLink.empty()) return false;
  return runHostProgram("Z:\\bin\\ln -s \"" + hostTarget + "\" \"" + hostLink + "\"", [&link] {
    const DWORD attributes = GetFileAttributesA(link.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
  });
}

bool removeHostLink(const std::string &link) {
  const std::string hostLink = hostPathOf(link);
  const DWORD attributes = GetFileAttributesA(link.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return true;
  if (hostLink.empty() || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return false;
  return runHostProgram("Z:\\bin\\rm -f \"" + hostLink + "\"",
                        [&link] { return GetFileAttributesA(link.c_str()) == INVALID_FILE_ATTRIBUTES; });
}

bool pressHostKeys(const std::string &keys, const std::function<bool()> &done) {
  return runHostProgram("Z:\\usr\\bin\\xdotool key --delay 50 " + keys, done);
}

}  // namespace driver
