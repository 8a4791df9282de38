// What the sample saver keeps in its "saver.dat": the settings record the
// installer writes whole. The installer reads only the member count; the
// sample adds its slide time and its title in the fields left to the saver.
// Portable.
#ifndef SAVER_EXAMPLES_SAMPLE_SETTINGS_H
#define SAVER_EXAMPLES_SAMPLE_SETTINGS_H

#include <cstdint>
#include <string>
#include <vector>

const uint32_t DEFAULT_SLIDE_SECONDS = 5;
const uint32_t MAX_SLIDE_SECONDS = 60;

// Offsets in the record: u32 slide seconds, then the title, zero-terminated
// in its 64 bytes.
const size_t SLIDE_SECONDS_OFFSET = 0;
const size_t TITLE_OFFSET = 4;
const size_t TITLE_FIELD = 64;

struct SampleSettings {
  uint32_t slideSeconds = DEFAULT_SLIDE_SECONDS;
  std::string title;        // "" when the record has none
  int32_t memberCount = 0;  // files the install placed from the data file
  bool fromFile = false;    // false: the defaults, the file was missing or not a record
};

// The settings in the bytes of "saver.dat". Anything but a whole record gives
// the defaults; a slide time outside 1..60 seconds gives the default time, and
// a title is kept only up to its first byte that is no printable character.
SampleSettings sampleSettingsOf(const std::vector<uint8_t> &record);

#endif
