// A minimal PNG writer for screenshots: 8-bit RGB, one zlib stream, no
// filtering. Portable, so the native tests can check it too.
#ifndef SAVER_TESTS_DRIVER_PNG_WRITER_H
#define SAVER_TESTS_DRIVER_PNG_WRITER_H

#include <cstdint>
#include <string>
#include <vector>

namespace driver {

// Rows from top to bottom, three bytes (red, green, blue) per pixel.
struct RgbImage {
  uint32_t width = 0;
  uint32_t height = 0;
  std::vector<uint8_t> pixels;
};

// False, and no file left behind, for an empty or inconsistent image or when
// the file cannot be written.
bool writePng(const std::string &path, const RgbImage &image);

}  // namespace driver

#endif
