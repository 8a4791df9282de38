// The language of the control-panel window titles, chosen from the name of
// the system's default language.
#ifndef SAVER_LAUNCHER_LANGUAGE_SELECTION_H
#define SAVER_LAUNCHER_LANGUAGE_SELECTION_H

#include <cstdint>

enum LanguageIndex : uint8_t {
  LANGUAGE_ENGLISH = 0,
  LANGUAGE_CATALAN = 1,
  LANGUAGE_SPANISH = 2,
  LANGUAGE_FRENCH = 3,
  LANGUAGE_GERMAN = 4,
  LANGUAGE_DUTCH = 5,
  LANGUAGE_JAPANESE = 6,
  LANGUAGE_PORTUGUESE = 7,
};

// Searches the language name (as the system words it, e.g. "German
// (Austria)") for the known language words in a fixed order; the first word
// found decides, and a name without any of them gives English.
uint8_t languageIndexForName(const char *languageName);

// String ids of the two titles; English (0) has none, its titles are
// program constants.
unsigned firstTitleStringId(uint8_t languageIndex);
unsigned secondTitleStringId(uint8_t languageIndex);

#endif
