// The screenshot PNG writer, checked against ImageMagick's decoder.
#include "pngWriter.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

namespace {

using driver::RgbImage;

std::string temporaryFile(const char *name) { return ::testing::TempDir() + name; }

bool fileExists(const std::string &path) { return std::ifstream(path).good(); }

std::string commandOutput(const std::string &command) {
  std::string output;
  FILE *pipe = popen(command.c_str(), "r");
  if (!pipe) return output;
  char buffer[4096];
  size_t count;
  while ((count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, count);
  pclose(pipe);
  return output;
}

// Every pixel different, so that a swapped channel or row shows.
RgbImage gradient(uint32_t width, uint32_t height) {
  RgbImage image;
  image.width = width;
  image.height = height;
  for (uint32_t y = 0; y < height; ++y)
    for (uint32_t x = 0; x < width; ++x)
      image.pixels.insert(image.pixels.end(), {uint8_t(x * 7), uint8_t(y * 13), uint8_t((x + y) * 3 + 1)});
  return image;
}

TEST(PngWriter, ImageMagickDecodesTheSamePixels) {
  for (const RgbImage &image : {gradient(1, 1), gradient(37, 5), gradient(640, 480)}) {
    const std::string path = temporaryFile("driver-png-writer.png");
    ASSERT_TRUE(driver::writePng(path, image));
    EXPECT_EQ(commandOutput("identify -regard-warnings -format '%m %w %h' " + path),
              "PNG " + std::to_string(image.width) + " " + std::to_string(image.height));
    const std::string decoded = commandOutput("convert -regard-warnings " + path + " rgb:-");
    EXPECT_TRUE(decoded == std::string(image.pixels.begin(), image.pixels.end()))
        << image.width << "x" << image.height << ": decoded " << decoded.size() << " bytes";
    std::remove(path.c_str());
  }
}

TEST(PngWriter, RefusesInconsistentImagesAndLeavesNoFile) {
  const std::string path = temporaryFile("driver-png-refused.png");
  std::remove(path.c_str());
  RgbImage empty;
  EXPECT_FALSE(driver::writePng(path, empty));
  RgbImage short_ = gradient(4, 4);
  short_.pixels.pop_back();
  EXPECT_FALSE(driver::writePng(path, short_));
  RgbImage overflowing = gradient(2, 2);
  overflowing.width = 0x80000000u;  // larger than PNG allows
  EXPECT_FALSE(driver::writePng(path, overflowing));
  EXPECT_FALSE(fileExists(path));

  EXPECT_FALSE(driver::writePng(temporaryFile("no-such-folder/shot.png"), gradient(2, 2)));
}

}  // namespace
