#include "common/displayScale.h"

#include <cstdint>

int scaledToDpi(int designPixels, int dpi) {
  if (dpi <= 0) return designPixels;
  const int64_t product = static_cast<int64_t>(designPixels) * dpi;
  const int64_t half = DESIGN_DPI / 2;
  return static_cast<int>(product >= 0 ? (product + half) / DESIGN_DPI : (product - half) / DESIGN_DPI);
}
