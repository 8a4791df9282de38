// driver_screenshot FILE.png: saves a screenshot with the driver and prints
// the screen's width and height, for checkScreenshot.sh to compare.
#include "testDriver.h"

#include <cstdio>

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: driver_screenshot FILE.png\n");
    return 2;
  }
  if (!driver::saveScreenshot(argv[1])) {
    std::fprintf(stderr, "driver_screenshot: no screenshot saved\n");
    return 1;
  }
  std::printf("%d %d\n", GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN));
  return 0;
}
