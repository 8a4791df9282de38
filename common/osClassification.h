// Classification of a Windows version into the operating-system code and the
// six family flags. Pure rules; the Windows layer supplies the values.
#ifndef SAVER_COMMON_OS_CLASSIFICATION_H
#define SAVER_COMMON_OS_CLASSIFICATION_H

#include <cstdint>
#include <optional>
#include <string>

constexpr int32_t OS_UNKNOWN = -1;
constexpr int32_t OS_WINDOWS_95 = 0;
constexpr int32_t OS_WINDOWS_98 = 1;
constexpr int32_t OS_WINDOWS_98_SE = 2;
constexpr int32_t OS_WINDOWS_ME = 3;
constexpr int32_t OS_WINDOWS_NT = 4;
constexpr int32_t OS_WINDOWS_2000 = 5;
constexpr int32_t OS_WINDOWS_XP = 6;
constexpr int32_t OS_64BIT_WINDOWS = 7;

constexpr uint32_t PLATFORM_WINDOWS_9X = 1;  // VER_PLATFORM_WIN32_WINDOWS
constexpr uint32_t PLATFORM_WINDOWS_NT = 2;  // VER_PLATFORM_WIN32_NT

// What the system's version query reports.
struct WindowsVersion {
  uint32_t platformId;
  uint32_t major;
  uint32_t minor;
  std::string servicePack;  // szCSDVersion
};

struct WindowsVersionFlags {
  bool windows95;
  bool windows98;  // either edition
  bool windowsME;
  bool windowsNT;  // NT 4 and older
  bool windows2000;
  bool windowsXP;
};

// version is empty when the query failed.
int32_t operatingSystemCode(bool underWow64, const std::optional<WindowsVersion> &version);
WindowsVersionFlags windowsVersionFlagsOf(const std::optional<WindowsVersion> &version);

#endif
