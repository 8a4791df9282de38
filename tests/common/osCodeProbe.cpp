// Prints the operating-system code and the six family flags (95, 98, ME, NT,
// 2000, XP) of the running system, for osCodes.sh.
#include <cstdio>

#include "common/QRX_OSUtils.h"

int main() {
  const WindowsVersionFlags f = getWindowsVersionFlags();
  std::printf("%d %d%d%d%d%d%d\n", static_cast<int>(GetOperatingSystem()), f.windows95, f.windows98,
              f.windowsME, f.windowsNT, f.windows2000, f.windowsXP);
  return 0;
}
