#include "sampleData.h"

#include <string.h>

namespace sample {
namespace {

// A small linear congruential generator: the same bytes on every platform.
struct Generator {
  uint32_t state;
  uint32_t next() {
    state = state * 1103515245u + 12345u;
    return state >> 8;
  }
  uint32_t below(uint32_t limit) { return next() % limit; }
};

const char *const WORDS[] = {
    "the",  "screen",  "saver",   "installs", "into",    "a",        "folder", "and",     "plays",
    "its",  "movie",   "when",    "idle",     "of",      "settings", "with",   "package", "file",
    "data", "license", "Windows", "control",  "panel",   "version",  "player", "is",      "to",
    "for",  "on",      "system",  "user",     "account", "not",      "can",    "be",      "read"};

}  // namespace

std::vector<uint8_t> text(size_t size, uint32_t seed) {
  Generator generator{seed};
  std::vector<uint8_t> out;
  out.reserve(size + 16);
  size_t lineLength = 0;
  while (out.size() < size) {
    const char *word = WORDS[generator.below(sizeof WORDS / sizeof WORDS[0])];
    out.insert(out.end(), word, word + strlen(word));
    lineLength += strlen(word) + 1;
    if (generator.below(12) == 0) out.push_back(',');
    if (lineLength > 60) {
      out.push_back('.');
      out.push_back('\r');
      out.push_back('\n');
      lineLength = 0;
    } else {
      out.push_back(' ');
    }
  }
  out.resize(size);
  return out;
}

std::vector<uint8_t> executableLike(size_t size, uint32_t seed) {
  Generator generator{seed};
  static const uint8_t INSTRUCTIONS[][6] = {{0x55, 0x8B, 0xEC, 0x83, 0xEC, 0x10},
                                            {0x8B, 0x45, 0x08, 0x50, 0xE8, 0x00},
                                            {0x5D, 0xC3, 0x90, 0x90, 0xCC, 0xCC},
                                            {0xFF, 0x15, 0x00, 0x10, 0x40, 0x00}};
  std::vector<uint8_t> out;
  out.reserve(size + 16);
  while (out.size() < size) {
    switch (generator.below(4)) {
      case 0: {
        const uint8_t *group = INSTRUCTIONS[generator.below(4)];
        out.insert(out.end(), group, group + 6);
        break;
      }
      case 1:  // little-endian table entry
        for (uint32_t value = 0x401000 + generator.below(4096) * 4, i = 0; i < 4; ++i, value >>= 8)
          out.push_back(static_cast<uint8_t>(value));
        break;
      case 2:  // padding
        out.insert(out.end(), generator.below(24), 0);
        break;
      default:
        out.push_back(static_cast<uint8_t>(generator.next()));
    }
  }
  out.resize(size);
  return out;
}

std::vector<uint8_t> random(size_t size, uint32_t seed) {
  Generator generator{seed};
  std::vector<uint8_t> out(size);
  for (uint8_t &byte : out) byte = static_cast<uint8_t>(generator.next());
  return out;
}

}  // namespace sample
