#include "launcher/languageDetection.h"

#include <windows.h>

#include "common/logFile.h"
#include "common/controlPanelTitles.h"
#include "launcher/languageSelection.h"

uint8_t detectLanguageIndex() {
  char languageName[256] = "";
  VerLanguageNameA(GetSystemDefaultLangID(), languageName, sizeof languageName);
  logLine(std::string("language: ") + languageName);
  return languageIndexForName(languageName);
}

static std::string loadTitle(unsigned stringId) {
  char title[256] = "";
  LoadStringA(GetModuleHandleA(nullptr), stringId, title, sizeof title);
  return title;
}

ControlPanelTitles loadControlPanelTitles(uint8_t languageIndex) {
  if (languageIndex == LANGUAGE_ENGLISH) return {ENGLISH_FIRST_TITLE, ENGLISH_SECOND_TITLE};
  return {loadTitle(firstTitleStringId(languageIndex)), loadTitle(secondTitleStringId(languageIndex))};
}
