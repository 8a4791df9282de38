#include "launcher/languageSelection.h"

#include <cstring>

#include "common/controlPanelTitles.h"

namespace {

struct LanguageWord {
  const char *word;
  uint8_t index;
};

// The order matters: a name holding two of the words takes the earlier one.
// "Portugese" is the long-standing spelling of this table; the system itself
// writes "Portuguese", which is accepted at the same place so that Portuguese
// systems reach their own titles.
const LanguageWord searchOrder[] = {
    {"English", LANGUAGE_ENGLISH},      {"Dutch", LANGUAGE_DUTCH},
    {"Spanish", LANGUAGE_SPANISH},      {"Portugese", LANGUAGE_PORTUGUESE},
    {"Portuguese", LANGUAGE_PORTUGUESE}, {"French", LANGUAGE_FRENCH},
    {"German", LANGUAGE_GERMAN},        {"Catalan", LANGUAGE_CATALAN},
    {"Japanese", LANGUAGE_JAPANESE},
};

}  // namespace

uint8_t languageIndexForName(const char *languageName) {
  for (const LanguageWord &entry : searchOrder) {
    if (std::strstr(languageName, entry.word) != nullptr) return entry.index;
  }
  return LANGUAGE_ENGLISH;
}

unsigned firstTitleStringId(uint8_t languageIndex) {
  return IDS_FIRST_TITLE_BASE + languageIndex;
}

unsigned secondTitleStringId(uint8_t languageIndex) {
  return IDS_SECOND_TITLE_BASE + languageIndex;
}
