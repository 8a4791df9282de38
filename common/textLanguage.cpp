#include "common/textLanguage.h"

#include <algorithm>

namespace {

const uint16_t PRIMARY_LANGUAGE_MASK = 0x3FF;

char lowerCase(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameCode(const std::string &a, const char *b) {
  size_t at = 0;
  for (; at < a.size() && b[at] != '\0'; ++at)
    if (lowerCase(a[at]) != lowerCase(b[at])) return false;
  return at == a.size() && b[at] == '\0';
}

std::string trimmed(const std::string &text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

bool isOffered(const TextLanguage &language, const std::string &offered) {
  if (offered.empty() || language.languageId == ENGLISH_LANGUAGE_ID) return true;
  std::vector<std::string> codes;
  std::string unknown;
  readLanguageList(offered, codes, unknown);
  return std::ranges::any_of(codes, [&](const std::string &code) { return sameCode(code, language.code); });
}

// Portuguese speaks Brazil's, Chinese the simplified script; every other
// language its default sublanguage. A constant table: a function's static
// would bring the thread-safe initialisation into the programs.
const TextLanguage LANGUAGES[] = {{"en", ENGLISH_LANGUAGE_ID},
                                  {"de", 0x0407},
                                  {"fr", 0x040C},
                                  {"es", 0x040A},
                                  {"ca", 0x0403},
                                  {"nl", 0x0413},
                                  {"pt", 0x0416},
                                  {"it", 0x0410},
                                  {"pl", 0x0415},
                                  {"ru", 0x0419},
                                  {"ja", 0x0411},
                                  {"zh", 0x0804}};

}  // namespace

std::span<const TextLanguage> textLanguages() { return LANGUAGES; }

const TextLanguage *textLanguageForCode(const std::string &code) {
  for (const TextLanguage &language : textLanguages())
    if (sameCode(code, language.code)) return &language;
  return nullptr;
}

bool languageSwitchCode(const std::string &parameter, std::string &code) {
  const std::string name = LANGUAGE_SWITCH;
  if (parameter.size() < name.size() || !sameCode(parameter.substr(0, name.size()), LANGUAGE_SWITCH))
    return false;
  code = parameter.substr(name.size());
  return true;
}

bool readLanguageList(const std::string &list, std::vector<std::string> &codes, std::string &unknownCode) {
  codes.clear();
  size_t start = 0;
  for (;;) {
    const size_t comma = list.find(',', start);
    const std::string code =
        trimmed(list.substr(start, comma == std::string::npos ? comma : comma - start));
    if (textLanguageForCode(code) == nullptr) {
      unknownCode = code;
      return false;
    }
    codes.push_back(code);
    if (comma == std::string::npos) return true;
    start = comma + 1;
  }
}

uint16_t chooseTextLanguage(const std::string &requestedCode, uint16_t userLanguageId,
                            const std::string &offered) {
  const TextLanguage *requested = textLanguageForCode(requestedCode);
  if (requested != nullptr && isOffered(*requested, offered)) return requested->languageId;
  for (const TextLanguage &language : textLanguages())
    if ((language.languageId & PRIMARY_LANGUAGE_MASK) == (userLanguageId & PRIMARY_LANGUAGE_MASK) &&
        isOffered(language, offered))
      return language.languageId;
  return ENGLISH_LANGUAGE_ID;
}
