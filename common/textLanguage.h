// Which language the programs speak: the one "/lang=xx" names, else the
// user's interface language, else English, and only among the languages the
// package offers (English always). Each language's texts are one string
// table of the program, stored under the language identifier below.
// Portable.
#ifndef SAVER_COMMON_TEXT_LANGUAGE_H
#define SAVER_COMMON_TEXT_LANGUAGE_H

#include <cstdint>
#include <span>
#include <string>
#include <vector>

struct TextLanguage {
  const char *code;     // as "/lang=" and the manifest's "languages" name it
  uint16_t languageId;  // the tables' language: primary | sublanguage << 10
};

// English first.
std::span<const TextLanguage> textLanguages();

const uint16_t ENGLISH_LANGUAGE_ID = 0x0409;

// The language with this code in any letter case; nullptr for none.
const TextLanguage *textLanguageForCode(const std::string &code);

// The switch that names the language, passed on by the launcher.
constexpr const char *LANGUAGE_SWITCH = "/lang=";

// The code behind LANGUAGE_SWITCH (in any letter case); false when the
// parameter is not that switch.
bool languageSwitchCode(const std::string &parameter, std::string &code);

// The codes of a comma-separated list ("en,de,fr"); false, with the first
// unknown code in unknownCode, when one is not a known language.
bool readLanguageList(const std::string &list, std::vector<std::string> &codes, std::string &unknownCode);

// The language identifier to speak. requestedCode: behind "/lang=", or "";
// userLanguageId: the user's interface language; offered: the package's
// list, "" for every language. A request for a language the package does not
// offer, or an unknown one, is passed over for the user's language.
uint16_t chooseTextLanguage(const std::string &requestedCode, uint16_t userLanguageId,
                            const std::string &offered);

#endif
