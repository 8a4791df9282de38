#include "common/QRX_OSUtils.h"

#include <windows.h>

#include "common/logFile.h"

static_assert(sizeof(OSVERSIONINFOA) == 148, "the version query's structure");

namespace {

// Empty when the system cannot tell its version.
std::optional<WindowsVersion> queryWindowsVersion() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
  if (!GetVersionExA(&info)) return std::nullopt;
  return WindowsVersion{info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion, info.szCSDVersion};
}

}  // namespace

bool isRunningUnderWow64() {
  // Looked up at run time: systems older than XP SP2 lack it and are 32-bit.
  using IsWow64ProcessFunction = BOOL(WINAPI *)(HANDLE, PBOOL);
  const auto isWow64Process = reinterpret_cast<IsWow64ProcessFunction>(
      reinterpret_cast<void *>(GetProcAddress(GetModuleHandleA("kernel32"), "IsWow64Process")));
  if (isWow64Process == nullptr) return false;
  BOOL underWow64 = FALSE;
  if (!isWow64Process(GetCurrentProcess(), &underWow64)) {
    // Nobody could act on this fault; the program goes on as on 32-bit Windows.
    logLine("Bad process handle");
    return false;
  }
  return underWow64 != FALSE;
}

namespace {

enum class Elevation { unknown, limited, elevated };

Elevation processElevation() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return Elevation::unknown;
  TOKEN_ELEVATION elevation{};
  DWORD size = 0;
  const bool known =
      GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size) != FALSE;
  CloseHandle(token);
  if (!known) return Elevation::unknown;
  return elevation.TokenIsElevated != 0 ? Elevation::elevated : Elevation::limited;
}

}  // namespace

bool isProcessElevated() { return processElevation() == Elevation::elevated; }

bool mayBeElevated() { return processElevation() == Elevation::limited; }

int32_t GetOperatingSystem() {
  TraceScope trace("GetOperatingSystem");
  const bool underWow64 = isRunningUnderWow64();
  const int32_t code = operatingSystemCode(underWow64, underWow64 ? std::nullopt : queryWindowsVersion());
  return trace.result(code);
}

WindowsVersionFlags getWindowsVersionFlags() { return windowsVersionFlagsOf(queryWindowsVersion()); }
