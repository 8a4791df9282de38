#include "examples/sample/sampleSettings.h"

#include "package/dataStructures_shared.h"

#include <cstring>

static_assert(TITLE_OFFSET + TITLE_FIELD <= sizeof(SaverSettings::saverFields1), "fields of the saver");

SampleSettings sampleSettingsOf(const std::vector<uint8_t> &record) {
  SampleSettings settings;
  if (record.size() != sizeof(SaverSettings)) return settings;
  SaverSettings fields;
  std::memcpy(&fields, record.data(), sizeof fields);
  settings.fromFile = true;
  settings.memberCount = fields.memberCount;

  uint32_t seconds = 0;
  std::memcpy(&seconds, fields.saverFields1 + SLIDE_SECONDS_OFFSET, sizeof seconds);
  if (seconds >= 1 && seconds <= MAX_SLIDE_SECONDS) settings.slideSeconds = seconds;

  const uint8_t *title = fields.saverFields1 + TITLE_OFFSET;
  for (size_t i = 0; i < TITLE_FIELD && title[i] >= 0x20 && title[i] < 0x7F; ++i)
    settings.title += static_cast<char>(title[i]);
  return settings;
}
