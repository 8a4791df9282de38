#include "examples/sample/slideRules.h"

#include <cmath>
#include <cstdlib>

SlideRect fitPicture(int pictureWidth, int pictureHeight, int areaWidth, int areaHeight) {
  if (pictureWidth <= 0 || pictureHeight <= 0 || areaWidth <= 0 || areaHeight <= 0) return {0, 0, 0, 0};
  // Compare the proportions in 64 bits: width * height of large pictures
  // would overflow an int.
  int width = areaWidth;
  int height = static_cast<int>(int64_t(areaWidth) * pictureHeight / pictureWidth);
  if (int64_t(pictureWidth) * areaHeight < int64_t(areaWidth) * pictureHeight) {
    height = areaHeight;
    width = static_cast<int>(int64_t(areaHeight) * pictureWidth / pictureHeight);
  }
  return {(areaWidth - width) / 2, (areaHeight - height) / 2, width, height};
}

bool isPictureFileName(const std::string &name) {
  const size_t dot = name.rfind('.');
  if (dot == std::string::npos) return false;
  std::string extension = name.substr(dot);
  for (char &c : extension) c = c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
  return extension == ".bmp" || extension == ".jpg" || extension == ".jpeg";
}

bool movedBeyondThreshold(int firstX, int firstY, int x, int y) {
  return std::abs(x - firstX) > MOUSE_MOVE_THRESHOLD || std::abs(y - firstY) > MOUSE_MOVE_THRESHOLD;
}

uint32_t auroraColour(int x, int width, int band, uint32_t step) {
  const double position = width > 0 ? double(x) / width : 0.0;
  const double phase = step * 0.05 + band * 2.1;
  // Brightness: a slow wave along the screen, different for each band.
  const double light = 0.55 + 0.45 * std::sin(position * 6.2832 * (1 + band) + phase);
  const double green = 60 + 180 * light;
  const double blue = 80 + 120 * (1 - light) + 40 * band;
  const double red = 30 + 90 * light * (band == 2 ? 1.0 : 0.3);
  auto channel = [](double value) { return static_cast<uint32_t>(value > 255 ? 255 : value); };
  return channel(red) | channel(green) << 8 | channel(blue) << 16;
}
