#include "tools/saverpack/westernText.h"

#include <algorithm>
#include <cstdint>

namespace {

// 0x80..0x9F; the five bytes the code page leaves undefined stay C1 controls,
// as Windows converts them.
constexpr uint16_t WESTERN_0X80[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                       0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                       0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                       0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void appendUtf8(uint16_t letter, std::string &out) {
  if (letter < 0x80) {
    out += static_cast<char>(letter);
  } else if (letter < 0x800) {
    out += static_cast<char>(0xC0 | (letter >> 6));
    out += static_cast<char>(0x80 | (letter & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (letter >> 12));
    out += static_cast<char>(0x80 | ((letter >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (letter & 0x3F));
  }
}

}  // namespace

std::string utf8OfWestern(const std::string &bytes) {
  std::string text;
  for (const char c : bytes) {
    const auto byte = static_cast<uint8_t>(c);
    appendUtf8(byte >= 0x80 && byte < 0xA0 ? WESTERN_0X80[byte - 0x80] : byte, text);
  }
  return text;
}

bool isAscii(const std::string &bytes) {
  return std::ranges::all_of(bytes, [](char c) { return static_cast<uint8_t>(c) < 0x80; });
}
