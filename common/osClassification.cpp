#include "common/osClassification.h"

namespace {

bool isVersion(const WindowsVersion &v, uint32_t platform, uint32_t major, uint32_t minor) {
  return v.platformId == platform && v.major == major && v.minor == minor;
}

bool isNt4OrOlder(const WindowsVersion &v) { return v.platformId == PLATFORM_WINDOWS_NT && v.major <= 4; }

// Windows 98 Second Edition reports " A " as its service-pack text.
bool isSecondEdition(const WindowsVersion &v) {
  return v.servicePack.size() > 1 && v.servicePack[1] == 'A';
}

}  // namespace

int32_t operatingSystemCode(bool underWow64, const std::optional<WindowsVersion> &version) {
  if (underWow64) return OS_64BIT_WINDOWS;
  if (!version) return OS_UNKNOWN;
  const WindowsVersion &v = *version;
  if (isVersion(v, PLATFORM_WINDOWS_9X, 4, 0)) return OS_WINDOWS_95;
  if (isVersion(v, PLATFORM_WINDOWS_9X, 4, 10))
    return isSecondEdition(v) ? OS_WINDOWS_98_SE : OS_WINDOWS_98;
  if (isVersion(v, PLATFORM_WINDOWS_9X, 4, 90)) return OS_WINDOWS_ME;
  if (isNt4OrOlder(v)) return OS_WINDOWS_NT;
  if (isVersion(v, PLATFORM_WINDOWS_NT, 5, 0)) return OS_WINDOWS_2000;
  if (isVersion(v, PLATFORM_WINDOWS_NT, 5, 1)) return OS_WINDOWS_XP;
  return OS_UNKNOWN;
}

WindowsVersionFlags windowsVersionFlagsOf(const std::optional<WindowsVersion> &version) {
  WindowsVersionFlags flags{};
  if (!version) return flags;
  const WindowsVersion &v = *version;
  flags.windows95 = isVersion(v, PLATFORM_WINDOWS_9X, 4, 0);
  flags.windows98 = isVersion(v, PLATFORM_WINDOWS_9X, 4, 10);
  flags.windowsME = isVersion(v, PLATFORM_WINDOWS_9X, 4, 90);
  flags.windowsNT = isNt4OrOlder(v);
  flags.windows2000 = isVersion(v, PLATFORM_WINDOWS_NT, 5, 0);
  flags.windowsXP = isVersion(v, PLATFORM_WINDOWS_NT, 5, 1);
  return flags;
}
