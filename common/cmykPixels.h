// CMYK pixels as print tools write them into JPEG files, turned into the
// blue-green-red bytes of a Windows bitmap.
#ifndef SAVER_COMMON_CMYK_PIXELS_H
#define SAVER_COMMON_CMYK_PIXELS_H

#include <stddef.h>
#include <stdint.h>

// inverted: the file stores 255 - ink, as Adobe's tools do (their APP14
// marker says so); otherwise each byte is the ink itself. Each colour is
// what the ink leaves of white: (255 - ink) * (255 - black) / 255, rounded.
inline void cmykRowToBgr(const uint8_t *cmyk, uint8_t *bgr, size_t pixels, bool inverted) {
  const unsigned flip = inverted ? 0 : 255;
  for (size_t i = 0; i < pixels; ++i, cmyk += 4, bgr += 3) {
    const unsigned white = cmyk[3] ^ flip;
    for (unsigned channel = 0; channel < 3; ++channel) {
      const unsigned left = (cmyk[2 - channel] ^ flip) * white;
      bgr[channel] = static_cast<uint8_t>((left + 127) / 255);
    }
  }
}

#endif
