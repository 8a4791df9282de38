#include "common/cmykPixels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

namespace {

using Cmyk = std::array<uint8_t, 4>;
using Bgr = std::array<uint8_t, 3>;

Bgr converted(const Cmyk &pixel, bool inverted) {
  Bgr out{};
  cmykRowToBgr(pixel.data(), out.data(), 1, inverted);
  return out;
}

Cmyk invertedInk(const Cmyk &ink) {
  return {uint8_t(255 - ink[0]), uint8_t(255 - ink[1]), uint8_t(255 - ink[2]), uint8_t(255 - ink[3])};
}

TEST(CmykPixels, InkBecomesWhatItLeavesOfWhiteInBothStorings) {
  const struct {
    Cmyk ink;
    Bgr expected;
  } rows[] = {
      {{0, 0, 0, 0}, {255, 255, 255}},       // no ink: white
      {{0, 0, 0, 255}, {0, 0, 0}},           // full black
      {{255, 0, 0, 0}, {255, 255, 0}},       // cyan takes the red
      {{0, 255, 255, 0}, {0, 0, 255}},       // magenta and yellow make red
      {{0, 0, 255, 128}, {0, 127, 127}},     // yellow under half black
      {{51, 102, 153, 0}, {102, 153, 204}},  // each channel on its own
  };
  for (const auto &row : rows) {
    EXPECT_EQ(converted(row.ink, false), row.expected);
    EXPECT_EQ(converted(invertedInk(row.ink), true), row.expected);
  }
}

TEST(CmykPixels, AWholeRowIsConvertedPixelByPixel) {
  const uint8_t cmyk[] = {0, 0, 0, 0, 255, 0, 0, 0, 0, 0, 0, 255};
  uint8_t bgr[9] = {};
  cmykRowToBgr(cmyk, bgr, 3, false);
  const uint8_t expected[] = {255, 255, 255, 255, 255, 0, 0, 0, 0};
  EXPECT_TRUE(std::equal(bgr, bgr + 9, expected));
}

}  // namespace
