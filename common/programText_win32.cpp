#include "common/programTexts.h"

#include "common/textLanguage.h"
#include "common/unicodeText.h"

namespace {

uint16_t chosenLanguage = ENGLISH_LANGUAGE_ID;

std::string tableText(unsigned id, uint16_t languageId) {
  return stringTableText(GetModuleHandleW(nullptr), id, languageId);
}

}  // namespace

std::string englishProgramText(unsigned id) { return tableText(id, ENGLISH_LANGUAGE_ID); }

void setTextLanguage(uint16_t languageId) { chosenLanguage = languageId; }

void speakUserLanguage(const std::string &requestedCode, const std::string &offered) {
  setTextLanguage(chooseTextLanguage(requestedCode, GetUserDefaultUILanguage(), offered));
}

std::string programText(unsigned id) {
  std::string text = tableText(id, chosenLanguage);
  if (text.empty() && chosenLanguage != ENGLISH_LANGUAGE_ID) text = tableText(id, ENGLISH_LANGUAGE_ID);
  return text;
}
